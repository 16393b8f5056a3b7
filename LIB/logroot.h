// Kernels of the logarithm and root predicates. Each gives exactly what its
// double formula gives when log, log10 and pow are correctly rounded and every
// operation rounds to nearest, on every platform and whatever rounding mode
// the caller has set; no mode is changed.
//
// Why integer answers suffice almost everywhere: for 32-bit inputs the exact
// logarithm or root stays at least about 2^-35 (relative) away from every
// integer unless the input is an exact power, while a correctly rounded
// evaluation is within a few ulps (2^-50) of it. So away from exact powers the
// formula truncates to the integer logarithm or root. A rough estimate with a
// proven error bound gives it when it lies clearly between two integers, exact
// integer comparison otherwise; at exact powers the last bits decide, and
// logroot_table.h holds their decisions, made once with MPFR. The bounds are
// wider than any rounding by a factor of 2^30 or more, so x87 excess
// precision, fused multiply-add and the rounding mode cannot change a result.
#ifndef MATH_N_LOGROOT_H
#define MATH_N_LOGROOT_H

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "logroot_table.h"

namespace math_n {

namespace logroot_detail {

inline constexpr std::int32_t nan_result = std::numeric_limits<std::int32_t>::min();

// Returns: log2(n) for 1 <= n < 2^31, within 1.15e-4.
// With n = 2^e (1 + t), t in [0, 1): a degree-4 fit of log2(1 + t) at
// Chebyshev nodes (the bound holds for every t of a 31-bit n, checked one by
// one in each rounding mode by tools/logroot_bounds.cpp).
inline double rough_log2(std::uint32_t n) {
  constexpr std::uint64_t fraction_bits = (std::uint64_t(1) << 52) - 1, one_bits = std::uint64_t(1023) << 52;
  std::uint64_t bits = std::bit_cast<std::uint64_t>(static_cast<double>(n));
  double t = std::bit_cast<double>((bits & fraction_bits) | one_bits) - 1;
  double exponent = static_cast<int>(bits >> 52) - 1023;
  return exponent +
         (1.1457996e-4 + t * (1.4368749 + t * (-0.67088268 + t * (0.31226948 + t * -0.078440676))));
}

// Returns: 2^v for 0 <= v < 31, within a relative 3.5e-6.
// A degree-4 fit of 2^f, f in [0, 1), at Chebyshev nodes, times 2^(v - f)
// (exact); tools/logroot_bounds.cpp checks the bound.
inline double rough_exp2(double v) {
  int whole = static_cast<int>(v);
  double f = v - whole;
  double fraction = 1.0000035 + f * (0.69297292 + f * (0.24160436 + f * (0.051744998 + f * 0.013670309)));
  return fraction * static_cast<double>(std::uint32_t(1) << whole);
}

// Returns: b^e for e >= 1, modulo 2^64 (callers keep b^e below 2^62).
inline std::uint64_t power(std::uint64_t b, int e) {
  std::uint64_t result = 1;
  for (;;) {
    if (e & 1) result *= b;
    e >>= 1;
    if (e == 0) return result;
    b *= b;  // a higher bit of e remains: b^(2^i) <= b^e
  }
}

// Returns: whether `mask` (a table of logroot_table.h) marks the exact power
// b^e < 2^31, e >= 3, as one where the formula falls one short.
inline bool falls_short(const std::uint64_t* mask, std::uint32_t b, int e) {
  std::uint32_t bit = logroot_table::first_bit[e] + b - 2;
  return mask[bit / 64] >> bit % 64 & 1;
}

// Returns: floor(sqrt(y)) for 0 <= y < 2^31. sqrt is exact to an ulp in any
// rounding mode, so one step of correction at most is needed.
inline std::int32_t integer_square_root(std::int32_t y) {
  std::int64_t s = static_cast<std::int64_t>(std::sqrt(static_cast<double>(y)));
  while (s * s > y) --s;
  while ((s + 1) * (s + 1) <= y) ++s;
  return static_cast<std::int32_t>(s);
}

}  // namespace logroot_detail

// Returns: trunc(log(y) / log(x)), empty when x < 2 or y < 1.
inline std::optional<std::int32_t> logarithm(std::int32_t x, std::int32_t y) {
  using namespace logroot_detail;
  if (x < 2 || y < 1) return std::nullopt;
  if (y < x) return 0;
  // q = log2(y) / log2(x) <= 31 with log2(x) >= 1: the rough quotient is
  // within 1.15e-4 (1 + 31) / (1 - 1.15e-4) < 2^-8 of q. Unless it is within
  // 2^-7 of the integer k, its floor is q's; otherwise q lies in [k, k + 1)
  // if x^k <= y, in (k - 1, k) if not.
  double q = rough_log2(y) / rough_log2(x);
  auto k = static_cast<std::int32_t>(q + 0.5);
  if (std::fabs(q - k) > 0x1p-7) return static_cast<std::int32_t>(q);
  std::uint64_t p = power(static_cast<std::uint32_t>(x), k);  // k < q + 1: x^k < x y < 2^62
  std::uint64_t number = static_cast<std::uint32_t>(y);
  if (p > number) return k - 1;
  // At y = x^k the quotient of the two correctly rounded logarithms is k for
  // k <= 2 (doubling is exact) and decided in advance from 3 on.
  if (p < number || k < 3) return k;
  return k - falls_short(logroot_table::logarithm_falls_short, static_cast<std::uint32_t>(x), k);
}

// Returns: trunc(log10(x)), empty when x < 1. The correctly rounded log10 of a
// power of ten is exact, so this is the number of decimal digits less one.
inline std::optional<std::int32_t> decimal_logarithm(std::int32_t x) {
  if (x < 1) return std::nullopt;
  std::int32_t digits = 0;
  for (std::int64_t power = 10; power <= x; power *= 10) ++digits;
  return digits;
}

// Returns: trunc(log(x) / log(2.0)), empty when x < 1: logNat with base 2.
inline std::optional<std::int32_t> binary_logarithm(std::int32_t x) {
  using namespace logroot_detail;
  if (x < 1) return std::nullopt;
  std::int32_t k = static_cast<std::int32_t>(std::bit_width(static_cast<std::uint32_t>(x))) - 1;
  if (k < 3 || !std::has_single_bit(static_cast<std::uint32_t>(x))) return k;
  return k - falls_short(logroot_table::logarithm_falls_short, 2, k);
}

// Returns: trunc(log(x)), empty when x < 1. The table holds, per bit width,
// where trunc(log(x)) steps: it never falls as x grows.
inline std::optional<std::int32_t> natural_logarithm(std::int32_t x) {
  if (x < 1) return std::nullopt;
  int width = std::bit_width(static_cast<std::uint32_t>(x));
  return logroot_table::natural_log_below[width] +
         (static_cast<std::uint32_t>(x) >= logroot_table::natural_log_next[width]);
}

// Returns: trunc(pow(y, 1.0 / x)), empty when x = 0.
inline std::optional<std::int32_t> root(std::int32_t x, std::int32_t y) {
  using namespace logroot_detail;
  if (x == 0) return std::nullopt;
  if (x == 1) return y;
  if (x == -1) return y == 0 ? nan_result : y == 1 || y == -1 ? y : 0;  // trunc(1 / y)
  // From here the exponent is not an integer: a negative base gives NaN,
  // zero gives 0 or infinity.
  if (y < 0) return nan_result;
  if (y == 0) return x > 0 ? 0 : nan_result;
  if (y == 1) return 1;
  if (x < 0) return 0;    // y^(1/x) lies in (0, 1), at most 2^(-2^-31) < 1 - 2^-32
  if (x >= 32) return 1;  // y^(1/x) lies in (1, 2)
  if (x == 2) return integer_square_root(y);
  // r = y^(1/x) < 1291. The rough root is within a relative 2^-14 of r
  // (1.15e-4 ln 2 / 3 from the logarithm, 3.5e-6 from exp2). Unless it is
  // within a relative 2^-13 of the integer m, its floor is r's; otherwise r
  // lies in [m, m + 1) if m^x <= y, in (m - 1, m) if not.
  double r = rough_exp2(rough_log2(y) / x);
  auto m = static_cast<std::int32_t>(r + 0.5);
  if (std::fabs(r - m) > r * 0x1p-13) return static_cast<std::int32_t>(r);
  std::uint64_t p = power(static_cast<std::uint32_t>(m), x);  // m < r + 1 <= 2r: m^x < 2^x y < 2^62
  std::uint64_t number = static_cast<std::uint32_t>(y);
  if (p > number) return m - 1;
  if (p < number) return m;
  return m - falls_short(logroot_table::root_falls_short, static_cast<std::uint32_t>(m), x);
}

// Returns: trunc(pow(x, 0.5)): the integer square root, -2147483648 below 0.
inline std::int32_t square_root(std::int32_t x) {
  if (x < 0) return logroot_detail::nan_result;
  return logroot_detail::integer_square_root(x);
}

}  // namespace math_n

#endif
