// Kernels of the logarithm and root predicates: integer logarithms and roots
// in exact integer arithmetic, and at exact powers the decisions kept in
// logroot_table.h. Why that is what the double formulas give when log and
// pow are correctly rounded (whatever the platform's own log and pow give,
// and in every rounding mode): docs/design.md, "Exact on every platform".
#ifndef MATH_N_LOGROOT_H
#define MATH_N_LOGROOT_H

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "arith.h"
#include "logroot_table.h"

namespace math_n {

namespace logroot_detail {

inline constexpr std::uint64_t int32_limit = std::uint64_t(1) << 31;
// Above it no b >= 2 has b^e < 2^31.
inline constexpr int highest_exponent = 30;

// Returns: b^e for b >= 2, or int32_limit once it reaches 2^31.
constexpr std::uint64_t power_below_limit(std::uint64_t b, int e) {
  std::uint64_t p = 1;
  for (int i = 0; i < e; ++i) {
    p *= b;  // p < 2^31 and b < 2^31 before: no wrap
    if (p >= int32_limit) return int32_limit;
  }
  return p;
}

// Every exact power b^e < 2^31 with 3 <= e <= 30 and b >= 2, at the index
// first_bit[e] + b - 2 that the masks of logroot_table.h give it; each
// exponent's powers ascend with b.
inline constexpr auto exact_powers = [] {
  std::array<std::uint32_t, logroot_table::first_bit[highest_exponent + 1]> powers{};
  for (int e = 3; e <= highest_exponent; ++e)
    for (std::size_t at = logroot_table::first_bit[e]; at < logroot_table::first_bit[e + 1]; ++at)
      powers[at] = static_cast<std::uint32_t>(power_below_limit(at - logroot_table::first_bit[e] + 2, e));
  return powers;
}();

// Returns: whether each exponent's run of exact_powers holds exactly the
// powers below 2^31, so that the masks' layout and the table agree.
constexpr bool runs_are_complete() {
  for (int e = 3; e <= highest_exponent; ++e) {
    const std::size_t next = logroot_table::first_bit[e + 1];
    if (exact_powers[next - 1] >= int32_limit ||
        power_below_limit(next - logroot_table::first_bit[e] + 2, e) < int32_limit)
      return false;
  }
  return true;
}
static_assert(runs_are_complete());

// Returns: whether bit `at` of `mask` (a table of logroot_table.h) is set:
// the formula falls one short at that exact power.
inline bool falls_short(const std::uint64_t* mask, std::size_t at) { return mask[at / 64] >> at % 64 & 1; }

// Returns: floor(sqrt(y)) for 0 <= y < 2^31. The double square root only
// proposes; the two loops correct any proposal.
inline std::int32_t integer_square_root(std::int32_t y) {
  std::int64_t s = static_cast<std::int64_t>(std::sqrt(static_cast<double>(y)));
  while (s * s > y) --s;
  while ((s + 1) * (s + 1) <= y) ++s;
  return static_cast<std::int32_t>(s);
}

// Returns: trunc(pow(y, 1.0 / x)) for 3 <= x <= 30 and 2 <= y < 2^31.
inline std::int32_t table_root(std::int32_t x, std::int32_t y) {
  // With w the bit width of y and a = (w - 1) / x:
  // 2^(a x) <= 2^(w - 1) <= y < 2^w <= 2^((a + 1) x), so floor(y^(1/x)) lies
  // in [2^a, 2^(a + 1)).
  const int a = (std::bit_width(static_cast<std::uint32_t>(y)) - 1) / x;
  if (a == 0) return 1;
  const std::size_t first = logroot_table::first_bit[x], end = logroot_table::first_bit[x + 1];
  // From 2^a, whose power is at most y, add each lower bit of the root that
  // keeps the power at most y; powers past the table's run exceed y.
  std::size_t at = first + (std::size_t(1) << a) - 2;
  for (std::size_t step = std::size_t(1) << a >> 1; step != 0; step >>= 1)
    if (at + step < end && exact_powers[at + step] <= static_cast<std::uint32_t>(y)) at += step;
  const auto b = static_cast<std::int32_t>(at - first + 2);
  if (exact_powers[at] != static_cast<std::uint32_t>(y)) return b;
  return b - falls_short(logroot_table::root_falls_short, at);
}

}  // namespace logroot_detail

// Returns: trunc(log(y) / log(x)), empty when x < 2 or y < 1.
inline std::optional<std::int32_t> logarithm(std::int32_t x, std::int32_t y) {
  if (x < 2 || y < 1) return std::nullopt;
  // The largest k with x^k <= y; p <= y < 2^31 and x < 2^31, so p x < 2^62.
  const std::uint64_t base = static_cast<std::uint32_t>(x), number = static_cast<std::uint32_t>(y);
  std::uint64_t p = 1;
  std::int32_t k = 0;
  for (; p * base <= number; p *= base) ++k;
  // At y = x^k the quotient of the two correctly rounded logarithms is k for
  // k <= 2 (doubling is exact) and decided in advance from 3 on.
  if (p != number || k < 3) return k;
  return k - logroot_detail::falls_short(logroot_table::logarithm_falls_short,
                                         logroot_table::first_bit[k] + static_cast<std::size_t>(x) - 2);
}

// Returns: trunc(log10(x)), empty when x < 1. The correctly rounded log10 of a
// power of ten is exact, so this is the number of decimal digits less one.
inline std::optional<std::int32_t> decimal_logarithm(std::int32_t x) {
  if (x < 1) return std::nullopt;
  std::int32_t digits = 0;
  for (std::int64_t p = 10; p <= x; p *= 10) ++digits;
  return digits;
}

// Returns: trunc(log(x) / log(2.0)), empty when x < 1: logNat with base 2.
inline std::optional<std::int32_t> binary_logarithm(std::int32_t x) {
  if (x < 1) return std::nullopt;
  std::int32_t k = static_cast<std::int32_t>(std::bit_width(static_cast<std::uint32_t>(x))) - 1;
  if (k < 3 || !std::has_single_bit(static_cast<std::uint32_t>(x))) return k;
  return k - logroot_detail::falls_short(logroot_table::logarithm_falls_short, logroot_table::first_bit[k]);
}

// Returns: trunc(log(x)), empty when x < 1. The table holds, per bit width,
// where trunc(log(x)) steps: it never falls as x grows.
inline std::optional<std::int32_t> natural_logarithm(std::int32_t x) {
  if (x < 1) return std::nullopt;
  int width = std::bit_width(static_cast<std::uint32_t>(x));
  return logroot_table::natural_log_below[width] +
         (static_cast<std::uint32_t>(x) >= logroot_table::natural_log_next[width]);
}

// Returns: trunc(pow(y, 1.0 / x)), empty when x = 0; -2147483648 where the
// power is NaN or infinite.
inline std::optional<std::int32_t> root(std::int32_t x, std::int32_t y) {
  if (x == 0) return std::nullopt;
  if (x == 1) return y;
  if (x == -1) return y == 0 ? int32_min : y == 1 || y == -1 ? y : 0;  // trunc(1 / y)
  // From here the exponent is not an integer: a negative base gives NaN,
  // zero gives 0 or infinity.
  if (y < 0) return int32_min;
  if (y == 0) return x > 0 ? 0 : int32_min;
  if (y == 1) return 1;
  if (x < 0) return 0;  // y^(1/x) lies in (0, 1), at most 2^(-2^-31) < 1 - 2^-32
  if (x == 2) return logroot_detail::integer_square_root(y);
  if (x > logroot_detail::highest_exponent) return 1;  // 2^x > y: y^(1/x) lies in (1, 2)
  return logroot_detail::table_root(x, y);
}

// Returns: trunc(pow(x, 0.5)): the integer square root, -2147483648 below 0.
inline std::int32_t square_root(std::int32_t x) {
  if (x < 0) return int32_min;
  return logroot_detail::integer_square_root(x);
}

}  // namespace math_n

#endif
