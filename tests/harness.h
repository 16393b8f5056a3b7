// Test harness: the library is reached as a host reaches it, through dlopen
// and dlsym by exported name; rows describe argument vectors by value.
#ifndef MATH_N_TESTS_HARNESS_H
#define MATH_N_TESTS_HARNESS_H

#include <cstdint>
#include <initializer_list>
#include <optional>
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
  std::string stored() const;  // the text the value stores
  bool matches(const CONSTANT& c) const;
  std::string describe() const;
};

V I(std::int32_t n);
V S(std::string text);    // String, built with the string flag set
V Sym(std::string text);  // Symbol
inline const V Null{};

std::string describe(const CONSTANT& c);

struct Expect {
  enum What { fails, holds, gives } what;
  V value;
};
inline Expect fails() { return {Expect::fails, {}}; }
inline Expect holds() { return {Expect::holds, {}}; }
inline Expect gives(V value) { return {Expect::gives, std::move(value)}; }

struct Row {
  std::string entry;
  std::vector<V> args;
  Expect expect;
};

// Calls the row's entry point and checks its result, that the inputs are
// unchanged, that the output changed only on a true compute call, and that
// it then holds the expected value. Failures name the row.
void checkRow(const Row& row);

// Builds an argument vector of Integers (the output slot a NullConst) and
// returns what a compute call delivered, nothing on false.
std::optional<std::int32_t> compute(const std::string& entry, std::vector<std::int32_t> inputs);
// Calls a check-mode entry point on Integers.
bool check(const std::string& entry, std::vector<std::int32_t> args);

}  // namespace harness

#endif
