// Test harness: the library is reached as a host reaches it, through dlopen
// and dlsym by exported name; values are described by kind and content.
#ifndef MATH_N_TESTS_HARNESS_H
#define MATH_N_TESTS_HARNESS_H

#include <cstdint>
#include <string>
#include <vector>

#include "extpred.h"

namespace harness {

using EntryPoint = bool (*)(CONSTANT*);

// Returns: the entry point exported under `name`; fails the test and returns
// null when there is none.
EntryPoint entry(const std::string& name);

// Every entry point name of the library's list, in list order.
const std::vector<std::string>& entryNames();

// Returns: the index of the output argument in the name's pattern, or -1.
int outputIndex(const std::string& name);

// One argument value as a test describes it.
struct V {
  CONSTANT::TYPE kind = CONSTANT::NullConst;
  std::int32_t number = 0;
  std::string text;  // as given to the text constructor
  CONSTANT make() const;
};

inline V I(std::int32_t n) { return {CONSTANT::Integer, n, {}}; }
inline V S(std::string text) { return {CONSTANT::String, 0, std::move(text)}; }  // the string flag set
inline V Sym(std::string text) { return {CONSTANT::Symbol, 0, std::move(text)}; }
inline const V Null{};

std::vector<CONSTANT> make(const std::vector<V>& args);

}  // namespace harness

#endif
