// Checks the error bounds the logarithm and root kernels rest on, in each
// rounding mode: rough_log2 within 1.15e-4 of log2 on every mantissa of a
// 31-bit number (those of [2^30, 2^31) hold all the others), rough_exp2
// within a relative 3.5e-6 of 2^v on a grid of 2^26 points of [0, 10.5)
// (v = log2(y) / x stays below 31 / 3 < 10.5). Takes a few minutes; run it
// after changing either:
//   g++ -std=c++20 -O2 -ILIB tools/logroot_bounds.cpp -o /tmp/bounds && /tmp/bounds
#include <cfenv>
#include <cmath>
#include <cstdio>

#include "logroot.h"

int main() {
  using namespace math_n::logroot_detail;
  bool within = true;
  for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    long double log2_error = 0, exp2_error = 0;
    std::fesetround(mode);
    for (std::uint32_t n = 1u << 30; n < 0x80000000u; ++n)
      log2_error = std::fmax(log2_error, std::fabs(rough_log2(n) - std::log2(static_cast<long double>(n))));
    for (long i = 0; i < 1L << 26; ++i) {
      const double v = 10.5 * static_cast<double>(i) / static_cast<double>(1L << 26);
      exp2_error = std::fmax(exp2_error, std::fabs(rough_exp2(v) / std::exp2(static_cast<long double>(v)) - 1));
    }
    std::fesetround(FE_TONEAREST);
    std::printf("mode %d: log2 error %.3Lg, exp2 relative error %.3Lg\n", mode, log2_error, exp2_error);
    within = within && log2_error < 1.15e-4 && exp2_error < 3.5e-6;
  }
  return within ? 0 : 1;
}
