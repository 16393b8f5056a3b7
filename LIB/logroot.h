// Kernels of the logarithm and root predicates. Each gives exactly what its
// double formula gives when log, log10 and pow are correctly rounded and every
// operation rounds to nearest, on every platform and whatever rounding mode
// the caller has set; that mode is left as it was.
//
// Why integer answers suffice almost everywhere: for 32-bit inputs the exact
// logarithm or root stays at least about 2^-35 (relative) away from every
// integer unless the input is an exact power, while a correctly rounded
// evaluation is within a few ulps (2^-50) of it. So away from exact powers the
// formula truncates to the integer logarithm or root, computed here exactly;
// at exact powers the last bits decide, and double_double.h decides them.
#ifndef MATH_N_LOGROOT_H
#define MATH_N_LOGROOT_H

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "double_double.h"

namespace math_n {

// Returns: v truncated toward zero; -2147483648 for NaN, infinities and values
// outside the 32-bit range. Exact comparisons and a truncating conversion:
// the rounding mode plays no part.
inline std::int32_t truncate_to_int32(double v) {
  if (!(v > -2147483649.0 && v < 2147483648.0)) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

namespace logroot_detail {

inline constexpr std::int32_t nan_result = std::numeric_limits<std::int32_t>::min();

// A libm estimate this close to an integer is settled exactly; any libm worth
// the name, in any rounding mode, is a million times more accurate than that.
inline constexpr double near_integer = 0x1p-30;

// Returns: x^k, or 2^31 if that is larger (above every 32-bit y).
inline std::uint64_t saturated_power(std::uint64_t x, int k) {
  constexpr std::uint64_t cap = std::uint64_t(1) << 31;
  std::uint64_t result = 1;
  for (;;) {
    if (k & 1) result = result * x > cap ? cap : result * x;  // both <= 2^31: no overflow
    k >>= 1;
    if (k == 0) return result;
    x = x * x > cap ? cap : x * x;
  }
}

// Returns: floor(sqrt(y)) for 0 <= y < 2^31. sqrt is exact to an ulp in any
// rounding mode, so one step of correction at most is needed.
inline std::int32_t integer_square_root(std::int32_t y) {
  std::int64_t s = static_cast<std::int64_t>(std::sqrt(static_cast<double>(y)));
  while (s * s > y) --s;
  while ((s + 1) * (s + 1) <= y) ++s;
  return static_cast<std::int32_t>(s);
}

// The exact decisions below compute in double-double, which needs round to
// nearest. They run out of line, behind an opaque barrier, so that none of
// their arithmetic is moved across the mode switch around the call.
class NearestRounding {
 public:
  NearestRounding() : saved_(std::fegetround()) {
    if (saved_ != FE_TONEAREST) std::fesetround(FE_TONEAREST);
  }
  ~NearestRounding() {
    if (saved_ != FE_TONEAREST) std::fesetround(saved_);
  }
  NearestRounding(const NearestRounding&) = delete;
  NearestRounding& operator=(const NearestRounding&) = delete;

 private:
  int saved_;
};

// Returns: trunc(RN(ln x^k) / RN(ln x)): k or k - 1.
[[gnu::noinline]] inline std::int32_t exact_power_logarithm(std::int32_t x, std::int32_t k) {
  asm volatile("" ::: "memory");
  dd::Number log_x = dd::log(static_cast<std::uint32_t>(x));
  double quotient = dd::multiply(log_x, k).hi / log_x.hi;
  return quotient >= k ? k : k - 1;
}

// Returns: trunc(RN(ln x)) for x >= 1.
[[gnu::noinline]] inline std::int32_t exact_natural_logarithm(std::int32_t x) {
  asm volatile("" ::: "memory");
  return static_cast<std::int32_t>(dd::log_rounded(static_cast<std::uint32_t>(x)));
}

// Returns: trunc(RN(pow(m^x, RN(1/x)))) for 3 <= x <= 31, m >= 2, m^x < 2^31:
// m, or m - 1 when the exponent falls short of 1/x enough to round the power
// below m. With e = RN(1/x) and delta = x*e - 1, pow = m * exp(delta * ln m).
[[gnu::noinline]] inline std::int32_t exact_root(std::int32_t x, std::int32_t m) {
  asm volatile("" ::: "memory");
  double e = 1.0 / x;
  dd::Number xe = dd::two_product(x, e);
  // x*e - 1 is a small multiple of ulp(e), so this sum is exact.
  double delta = (xe.hi - 1.0) + xe.lo;
  if (delta >= 0) return m;
  dd::Number t = dd::multiply(dd::log(static_cast<std::uint32_t>(m)), delta);
  // |t| < 2^-44: exp(t) - 1 = t + t^2/2 to far beyond the precision needed.
  dd::Number growth = dd::multiply(dd::add(t, dd::multiply(t, dd::multiply(t, 0.5))), static_cast<double>(m));
  // Round to nearest goes below m exactly when the power is below the midpoint
  // between m and the double under it (a tie goes to m, whose last bit is 0).
  std::uint32_t top = std::bit_floor(static_cast<std::uint32_t>(m));
  double half_gap = std::ldexp(static_cast<double>(top), static_cast<std::uint32_t>(m) == top ? -54 : -53);
  bool below = growth.hi < -half_gap || (growth.hi == -half_gap && growth.lo < 0);
  return below ? m - 1 : m;
}

}  // namespace logroot_detail

// Returns: trunc(log(y) / log(x)), empty when x < 2 or y < 1.
inline std::optional<std::int32_t> logarithm(std::int32_t x, std::int32_t y) {
  using namespace logroot_detail;
  if (x < 2 || y < 1) return std::nullopt;
  if (y < x) return 0;
  double estimate = std::log(static_cast<double>(y)) / std::log(static_cast<double>(x));
  std::int32_t k = static_cast<std::int32_t>(estimate + 0.5);  // estimate lies in [1, 31]
  if (std::fabs(estimate - k) > near_integer) return static_cast<std::int32_t>(estimate);
  std::uint64_t power = saturated_power(static_cast<std::uint32_t>(x), k);
  if (power != static_cast<std::uint64_t>(y)) return power < static_cast<std::uint64_t>(y) ? k : k - 1;
  if (k < 2) return k;
  NearestRounding nearest;
  return exact_power_logarithm(x, k);
}

// Returns: trunc(log10(x)), empty when x < 1. The correctly rounded log10 of a
// power of ten is exact, so this is the number of decimal digits less one.
inline std::optional<std::int32_t> decimal_logarithm(std::int32_t x) {
  if (x < 1) return std::nullopt;
  std::int32_t digits = 0;
  for (std::int64_t power = 10; power <= x; power *= 10) ++digits;
  return digits;
}

// Returns: trunc(log(x) / log(2.0)), empty when x < 1.
inline std::optional<std::int32_t> binary_logarithm(std::int32_t x) {
  using namespace logroot_detail;
  if (x < 1) return std::nullopt;
  std::int32_t k = static_cast<std::int32_t>(std::bit_width(static_cast<std::uint32_t>(x))) - 1;
  if (k < 2 || !std::has_single_bit(static_cast<std::uint32_t>(x))) return k;
  NearestRounding nearest;
  return exact_power_logarithm(2, k);
}

// Returns: trunc(log(x)), empty when x < 1.
inline std::optional<std::int32_t> natural_logarithm(std::int32_t x) {
  using namespace logroot_detail;
  if (x < 1) return std::nullopt;
  double estimate = std::log(static_cast<double>(x));
  std::int32_t k = static_cast<std::int32_t>(estimate);  // estimate lies in [0, 22)
  double fraction = estimate - k;
  if (fraction > near_integer && fraction < 1 - near_integer) return k;
  if (x == 1) return 0;
  NearestRounding nearest;
  return exact_natural_logarithm(x);
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
  double estimate = std::pow(static_cast<double>(y), 1.0 / x);
  std::int32_t m = static_cast<std::int32_t>(estimate + 0.5);  // estimate lies in (1, 1291)
  if (std::fabs(estimate - m) > near_integer * estimate) return static_cast<std::int32_t>(estimate);
  std::uint64_t power = saturated_power(static_cast<std::uint32_t>(m), x);
  if (power != static_cast<std::uint64_t>(y)) return power < static_cast<std::uint64_t>(y) ? m : m - 1;
  if (std::has_single_bit(static_cast<std::uint32_t>(x))) return m;  // the exponent 1/x is exact
  NearestRounding nearest;
  return exact_root(x, m);
}

// Returns: trunc(pow(x, 0.5)): the integer square root, -2147483648 below 0.
inline std::int32_t square_root(std::int32_t x) {
  if (x < 0) return logroot_detail::nan_result;
  return logroot_detail::integer_square_root(x);
}

}  // namespace math_n

#endif
