// The basic arithmetic and parity entry points on typical inputs.
#include "bench.h"

namespace {

void Arith(benchmark::State& state, const char* name, std::vector<int> values) {
  bench::integers(state, name, values);
}

BENCHMARK_CAPTURE(Arith, addNat_iii, "addNat_iii", {3, 4, 7});
BENCHMARK_CAPTURE(Arith, addNat_iio, "addNat_iio", {3, 4, 0});
BENCHMARK_CAPTURE(Arith, addNat_ioi, "addNat_ioi", {3, 0, 7});
BENCHMARK_CAPTURE(Arith, addNat_oii, "addNat_oii", {0, 4, 7});
BENCHMARK_CAPTURE(Arith, subNat_iii, "subNat_iii", {7, 4, 3});
BENCHMARK_CAPTURE(Arith, subNat_iio, "subNat_iio", {7, 4, 0});
BENCHMARK_CAPTURE(Arith, subNat_ioi, "subNat_ioi", {7, 0, 3});
BENCHMARK_CAPTURE(Arith, subNat_oii, "subNat_oii", {0, 4, 3});
BENCHMARK_CAPTURE(Arith, multNat_iii, "multNat_iii", {6, 7, 42});
BENCHMARK_CAPTURE(Arith, multNat_iio, "multNat_iio", {6, 7, 0});
BENCHMARK_CAPTURE(Arith, divNat_iii, "divNat_iii", {45, 7, 6});
BENCHMARK_CAPTURE(Arith, divNat_iio, "divNat_iio", {45, 7, 0});
BENCHMARK_CAPTURE(Arith, modNat_iii, "modNat_iii", {45, 7, 3});
BENCHMARK_CAPTURE(Arith, modNat_iio, "modNat_iio", {45, 7, 0});
BENCHMARK_CAPTURE(Arith, evenNat_i, "evenNat_i", {42});
BENCHMARK_CAPTURE(Arith, oddNat_i, "oddNat_i", {43});

}  // namespace
