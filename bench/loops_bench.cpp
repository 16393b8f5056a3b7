// Powers, factorials, gcd, lcm, combinations and permutations: each entry
// point on a typical input and on its worst ones, and beside the worst the
// literal loop of the reference (run once: it takes seconds).
#include <cstdint>

#include "reference/loops.h"
#include "bench.h"

namespace {

constexpr std::int32_t MAX = INT32_MAX;

// Every argument vector has three values; a two-argument entry point reads two.
void Loops(benchmark::State& state, const char* name, std::int32_t x, std::int32_t y, std::int32_t z) {
  bench::call(state, name, {CONSTANT(x), CONSTANT(y), CONSTANT(z)});
}

// The inputs pass through DoNotOptimize so that the loop is not folded away.
void LiteralLoop(benchmark::State& state, std::int32_t (*loop)(std::int32_t, std::int32_t), std::int32_t x,
                 std::int32_t y) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(y);
    benchmark::DoNotOptimize(loop(x, y));
  }
}

namespace ref = reference::loops;

// clang-format off
BENCHMARK_CAPTURE(Loops, powNat_iio/typical/3^20,                 "powNat_iio", 3, 20, 0);
BENCHMARK_CAPTURE(Loops, powNat_iio/worst/3^2147483647,           "powNat_iio", 3, MAX, 0);
BENCHMARK_CAPTURE(Loops, powNat_iii/typical/3^20,                 "powNat_iii", 3, 20, -808182895);
BENCHMARK_CAPTURE(Loops, powNat_iii/worst/3^2147483647,           "powNat_iii", 3, MAX, -1431655765);
BENCHMARK_CAPTURE(LiteralLoop, powNat/3^2147483647, [](std::int32_t x, std::int32_t y) { return *ref::power(x, y); }, 3, MAX)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(Loops, factNat_io/typical/10,                   "factNat_io", 10, 0, 0);
BENCHMARK_CAPTURE(Loops, factNat_io/worst/33,                     "factNat_io", 33, 0, 0);
BENCHMARK_CAPTURE(Loops, factNat_io/worst/2147483647,             "factNat_io", MAX, 0, 0);
BENCHMARK_CAPTURE(Loops, factNat_ii/typical/10,                   "factNat_ii", 10, 3628800, 0);
BENCHMARK_CAPTURE(Loops, factNat_ii/worst/33,                     "factNat_ii", 33, INT32_MIN, 0);
BENCHMARK_CAPTURE(Loops, factNat_ii/worst/2147483647,             "factNat_ii", MAX, 0, 0);
BENCHMARK_CAPTURE(LiteralLoop, factNat/2147483647, [](std::int32_t x, std::int32_t) { return ref::factorial(x); }, MAX, 0)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(Loops, gcdNat_iio/typical/12_18,                "gcdNat_iio", 12, 18, 0);
BENCHMARK_CAPTURE(Loops, gcdNat_iio/worst/fib46_fib45,            "gcdNat_iio", 1836311903, 1134903170, 0);
BENCHMARK_CAPTURE(Loops, gcdNat_iii/typical/12_18,                "gcdNat_iii", 12, 18, 6);
BENCHMARK_CAPTURE(Loops, gcdNat_iii/worst/fib46_fib45,            "gcdNat_iii", 1836311903, 1134903170, 1);
BENCHMARK_CAPTURE(Loops, lcmNat_iio/typical/4_6,                  "lcmNat_iio", 4, 6, 0);
BENCHMARK_CAPTURE(Loops, lcmNat_iio/worst/fib46_fib45,            "lcmNat_iio", 1836311903, 1134903170, 0);
BENCHMARK_CAPTURE(Loops, lcmNat_iii/typical/4_6,                  "lcmNat_iii", 4, 6, 12);
BENCHMARK_CAPTURE(Loops, lcmNat_iii/worst/fib46_fib45,            "lcmNat_iii", 1836311903, 1134903170, 0);
BENCHMARK_CAPTURE(LiteralLoop, gcdNat/fib46_fib45, ref::divisor, 1836311903, 1134903170);

BENCHMARK_CAPTURE(Loops, combNat_iio/typical/10_3,                "combNat_iio", 10, 3, 0);
BENCHMARK_CAPTURE(Loops, combNat_iio/worst/33_16,                 "combNat_iio", 33, 16, 0);
BENCHMARK_CAPTURE(Loops, combNat_iio/worst/2147483647_1073741823, "combNat_iio", MAX, MAX / 2, 0);
BENCHMARK_CAPTURE(Loops, combNat_iii/typical/10_3,                "combNat_iii", 10, 3, 120);
BENCHMARK_CAPTURE(Loops, combNat_iii/worst/33_16,                 "combNat_iii", 33, 16, 1166803110);
BENCHMARK_CAPTURE(Loops, combNat_iii/worst/2147483647_1073741823, "combNat_iii", MAX, MAX / 2, INT32_MIN);
BENCHMARK_CAPTURE(LiteralLoop, combNat/33_16, [](std::int32_t x, std::int32_t y) { return ref::comb(x, y); }, 33, 16);
BENCHMARK_CAPTURE(LiteralLoop, combNat/2147483647_1073741823, [](std::int32_t x, std::int32_t y) { return ref::comb(x, y); }, MAX, MAX / 2)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(Loops, permNat_iio/typical/10_3,                "permNat_iio", 10, 3, 0);
BENCHMARK_CAPTURE(Loops, permNat_iio/worst/12_12,                 "permNat_iio", 12, 12, 0);
BENCHMARK_CAPTURE(Loops, permNat_iio/worst/2147483647_2147483647, "permNat_iio", MAX, MAX, 0);
BENCHMARK_CAPTURE(Loops, permNat_iii/typical/10_3,                "permNat_iii", 10, 3, 720);
BENCHMARK_CAPTURE(Loops, permNat_iii/worst/12_12,                 "permNat_iii", 12, 12, 479001600);
BENCHMARK_CAPTURE(Loops, permNat_iii/worst/2147483647_2147483647, "permNat_iii", MAX, MAX, INT32_MIN);
BENCHMARK_CAPTURE(LiteralLoop, permNat/12_12, [](std::int32_t x, std::int32_t y) { return ref::perm(x, y); }, 12, 12);
BENCHMARK_CAPTURE(LiteralLoop, permNat/2147483647_2147483647, [](std::int32_t x, std::int32_t y) { return ref::perm(x, y); }, MAX, MAX)->Iterations(1)->Unit(benchmark::kMillisecond);
// clang-format on

}  // namespace
