// Logarithms and roots: the entry points on typical inputs and on exact
// powers, and the kernels beside the bare formula with the platform's maths
// functions over the same inputs.
#include <cmath>
#include <cstdint>
#include <random>

#include "bench.h"
#include "logroot.h"
#include "reference/common.h"

namespace {

void LogRoot(benchmark::State& state, const char* name, std::vector<int> values) {
  bench::integers(state, name, values);
}

// Typical inputs.
BENCHMARK_CAPTURE(LogRoot, logNat_iii, "logNat_iii", {7, 123456, 6});
BENCHMARK_CAPTURE(LogRoot, logNat_iio, "logNat_iio", {7, 123456, 0});
BENCHMARK_CAPTURE(LogRoot, log10Nat_ii, "log10Nat_ii", {123456, 5});
BENCHMARK_CAPTURE(LogRoot, log10Nat_io, "log10Nat_io", {123456, 0});
BENCHMARK_CAPTURE(LogRoot, log2Nat_ii, "log2Nat_ii", {123456, 16});
BENCHMARK_CAPTURE(LogRoot, log2Nat_io, "log2Nat_io", {123456, 0});
BENCHMARK_CAPTURE(LogRoot, lnNat_ii, "lnNat_ii", {123456, 11});
BENCHMARK_CAPTURE(LogRoot, lnNat_io, "lnNat_io", {123456, 0});
BENCHMARK_CAPTURE(LogRoot, rootNat_iii, "rootNat_iii", {3, 123456, 49});
BENCHMARK_CAPTURE(LogRoot, rootNat_iio, "rootNat_iio", {3, 123456, 0});
BENCHMARK_CAPTURE(LogRoot, sqrtNat_ii, "sqrtNat_ii", {123456, 351});
BENCHMARK_CAPTURE(LogRoot, sqrtNat_io, "sqrtNat_io", {123456, 0});
// Exact powers, where the last bits decide (a table lookup), and the integer
// nearest e^21.
BENCHMARK_CAPTURE(LogRoot, logNat_iio_10_1000, "logNat_iio", {10, 1000, 0});
BENCHMARK_CAPTURE(LogRoot, logNat_iio_2_1024, "logNat_iio", {2, 1024, 0});
BENCHMARK_CAPTURE(LogRoot, log2Nat_io_1024, "log2Nat_io", {1024, 0});
BENCHMARK_CAPTURE(LogRoot, lnNat_io_near_e21, "lnNat_io", {1318815734, 0});
BENCHMARK_CAPTURE(LogRoot, rootNat_iio_3_64, "rootNat_iio", {3, 64, 0});
BENCHMARK_CAPTURE(LogRoot, rootNat_iio_3_1000, "rootNat_iio", {3, 1000, 0});
BENCHMARK_CAPTURE(LogRoot, rootNat_iio_5_3125, "rootNat_iio", {5, 3125, 0});

// Kernel against bare formula, both over the same 4096 random inputs.
struct Inputs {
  std::vector<std::int32_t> base, number, index;
  Inputs() {
    std::mt19937 random(1);
    for (int i = 0; i < 4096; ++i) {
      base.push_back(std::int32_t(2 + random() % 100));
      number.push_back(std::int32_t(1 + (random() >> (random() % 31 + 1))));
      index.push_back(std::int32_t(2 + random() % 10));
    }
  }
};
const Inputs& inputs() {
  static const Inputs in;
  return in;
}

template <class F>
void Sweep(benchmark::State& state, F f) {
  const Inputs& in = inputs();
  std::size_t i = 0;
  for (auto _ : state) {
    auto result = f(in.base[i], in.number[i], in.index[i]);
    benchmark::DoNotOptimize(result);
    i = (i + 1) & 4095;
  }
}

using I32 = std::int32_t;
// The bare formula ends in the conversion to a 32-bit result that the
// predicates deliver.
using reference::trunc;
BENCHMARK_CAPTURE(Sweep, logNat_kernel,
                  [](I32 x, I32 y, I32) { return math_n::logarithm(x, y).value_or(-1); });
BENCHMARK_CAPTURE(Sweep, logNat_bare, [](I32 x, I32 y, I32) { return trunc(std::log(y) / std::log(x)); });
BENCHMARK_CAPTURE(Sweep, log10Nat_kernel,
                  [](I32, I32 y, I32) { return math_n::decimal_logarithm(y).value_or(-1); });
BENCHMARK_CAPTURE(Sweep, log10Nat_bare, [](I32, I32 y, I32) { return trunc(std::log10(y)); });
BENCHMARK_CAPTURE(Sweep, log2Nat_kernel,
                  [](I32, I32 y, I32) { return math_n::binary_logarithm(y).value_or(-1); });
BENCHMARK_CAPTURE(Sweep, log2Nat_bare, [](I32, I32 y, I32) {
  double two = 2.0;
  benchmark::DoNotOptimize(two);  // log(2.0) on every call, as the formula has it
  return trunc(std::log(y) / std::log(two));
});
BENCHMARK_CAPTURE(Sweep, lnNat_kernel,
                  [](I32, I32 y, I32) { return math_n::natural_logarithm(y).value_or(-1); });
BENCHMARK_CAPTURE(Sweep, lnNat_bare, [](I32, I32 y, I32) { return trunc(std::log(y)); });
BENCHMARK_CAPTURE(Sweep, rootNat_kernel, [](I32, I32 y, I32 x) { return math_n::root(x, y).value_or(-1); });
BENCHMARK_CAPTURE(Sweep, rootNat_bare, [](I32, I32 y, I32 x) { return trunc(std::pow(y, 1.0 / x)); });
BENCHMARK_CAPTURE(Sweep, sqrtNat_kernel, [](I32, I32 y, I32) { return math_n::square_root(y); });
BENCHMARK_CAPTURE(Sweep, sqrtNat_bare, [](I32, I32 y, I32) { return trunc(std::pow(y, 0.5)); });

}  // namespace
