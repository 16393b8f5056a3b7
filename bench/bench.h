// Shared by the benchmark files: entry points found with dlsym, as a host
// finds them, and argument vectors built once outside the timed loop.
#ifndef MATH_N_BENCH_H
#define MATH_N_BENCH_H

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "extpred.h"

namespace bench {

using EntryPoint = bool (*)(CONSTANT*);

inline EntryPoint entry(const char* name) {
  static void* library = dlopen(MATH_N_LIBRARY, RTLD_NOW);
  void* symbol = library ? dlsym(library, name) : nullptr;
  if (!symbol) {
    std::fprintf(stderr, "no entry point %s: %s\n", name, dlerror());
    std::exit(1);
  }
  return reinterpret_cast<EntryPoint>(symbol);
}

// Times one entry point on one argument vector; the output argument is
// overwritten by every call, as a host would reuse it.
inline void call(benchmark::State& state, const char* name, std::vector<CONSTANT> argv) {
  EntryPoint f = entry(name);
  for (auto _ : state) {
    bool result = f(argv.data());
    benchmark::DoNotOptimize(result);
    benchmark::ClobberMemory();
  }
}

// Times `name` on an argument vector of Integers.
inline void integers(benchmark::State& state, const char* name, const std::vector<int>& values) {
  call(state, name, {values.begin(), values.end()});
}

}  // namespace bench

#endif
