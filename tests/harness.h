// Test harness: the library is reached as a host reaches it, through dlopen
// and dlsym by exported name; tests build values with I, S, Sym and Null.
#ifndef MATH_N_TESTS_HARNESS_H
#define MATH_N_TESTS_HARNESS_H

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "reference/common.h"

namespace harness {

using reference::EntryPoint;

// Every entry point name of the library's list, in list order.
inline const std::vector<std::string> entryNames = {
#define ENTRY_POINT(predicate, pattern, ...) #predicate "_" #pattern,
#include "entry_points.def"
#undef ENTRY_POINT
};

// Returns: the entry point exported under `name`; fails the test and returns
// null when there is none. Every name of the list is looked up once, in a
// static's initialisation (which other threads wait for); afterwards the map
// is only read.
inline EntryPoint entry(const std::string& name) {
  static const std::map<std::string, EntryPoint> exported = [] {
    std::map<std::string, EntryPoint> all;
    if (void* library = dlopen(MATH_N_LIBRARY, RTLD_NOW | RTLD_LOCAL))
      for (const std::string& each : entryNames)
        all[each] = reinterpret_cast<EntryPoint>(dlsym(library, each.c_str()));
    else
      ADD_FAILURE() << dlerror();
    return all;
  }();
  const auto found = exported.find(name);
  if (found != exported.end() && found->second) return found->second;
  ADD_FAILURE() << "no exported entry point " << name;
  return nullptr;
}

// Returns: the index of the output argument in the name's pattern, or -1.
inline int outputIndex(const std::string& name) { return int(reference::patternOf(name).find('o')); }

inline CONSTANT I(std::int32_t n) { return CONSTANT(n); }
inline CONSTANT S(const std::string& text) { return CONSTANT(text.c_str(), true); }  // the string flag set
inline CONSTANT Sym(const std::string& text) { return CONSTANT(text.c_str(), false); }
inline const CONSTANT Null;

}  // namespace harness

#endif
