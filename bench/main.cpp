// The benchmark program: every entry point on typical and worst inputs,
// beside the floors they are measured against.
#include "bench.h"

namespace {

// Floor of every call: an empty function reached through a pointer.
__attribute__((noinline)) bool emptyEntry(CONSTANT* argv) {
  benchmark::DoNotOptimize(argv);
  return true;
}

void Floor_EmptyCall(benchmark::State& state) {
  std::vector<CONSTANT> argv(3);
  bool (*volatile f)(CONSTANT*) = emptyEntry;
  for (auto _ : state) {
    bool result = f(argv.data());
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(Floor_EmptyCall);

// Floor of an Integer delivery: build a temporary and assign it.
void Floor_IntegerAssignment(benchmark::State& state) {
  CONSTANT out;
  int value = 7;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    out = CONSTANT(value);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(Floor_IntegerAssignment);

}  // namespace

BENCHMARK_MAIN();
