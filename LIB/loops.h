// Kernels of the counted-loop predicates: powers, factorials, the remainder
// loop behind gcd and lcm, combinations and permutations. Each gives the
// value of its loop for every pair of 32-bit inputs, in a bounded number of
// steps: at most 31 squarings, 33 multiplications, Euclid's steps, or the
// few steps before a count leaves the 32-bit range.
#ifndef MATH_N_LOOPS_H
#define MATH_N_LOOPS_H

#include <cstdint>
#include <optional>

#include "arith.h"

namespace math_n {

// Returns: x multiplied by itself y times modulo 2^32 (1 for every y <= 0,
// whatever x is), or nothing for 0 and 0.
constexpr std::optional<std::int32_t> power(std::int32_t x, std::int32_t y) {
  if (x == 0 && y == 0) return std::nullopt;
  // Repeated squaring: wrapping multiplication is associative and
  // commutative, so any grouping of the y factors gives the loop's product,
  // y = 2147483647 included.
  std::uint32_t result = 1, base = static_cast<std::uint32_t>(x);
  for (std::uint32_t e = y > 0 ? static_cast<std::uint32_t>(y) : 0; e != 0; e >>= 1, base *= base)
    if (e & 1) result *= base;
  return as_signed(result);
}

// Returns: 1 * 2 * ... * x modulo 2^32 (1 for every x <= 0).
constexpr std::int32_t factorial(std::int32_t x) {
  // 34! holds 17 + 8 + 4 + 2 + 1 = 32 factors of 2, so from 34 on the loop's
  // product is 0 modulo 2^32 and stays 0 (x = 2147483647 included).
  if (x >= 34) return 0;
  std::uint32_t product = 1;
  for (std::int32_t i = 2; i <= x; ++i) product *= static_cast<std::uint32_t>(i);
  return as_signed(product);
}

// Returns: the final x of the remainder loop that runs while y > 0: the
// greatest common divisor for x >= 0 and y > 0, y for x < 0 < y, and x itself
// for y <= 0.
constexpr std::int32_t common_divisor(std::int32_t x, std::int32_t y) {
  // The divisor is positive: never zero, never -1.
  while (y > 0) {
    std::int32_t r = x % y;
    x = y;
    y = r;
  }
  return x;
}

// Returns: x * y (wrapping, formed first) divided by the remainder loop's
// result g, or 0 when g = 0. For -1 and -2147483648 the quotient 2147483648
// wraps to -2147483648, as divNat's -2147483648 / -1 does.
constexpr std::int32_t common_multiple(std::int32_t x, std::int32_t y) {
  std::int32_t g = common_divisor(x, y);
  return g == 0 ? 0 : *truncated_quotient(wrapping_mul(x, y), g);
}

// The largest count with a 32-bit value; a double count past it truncates
// to -2147483648.
inline constexpr std::uint64_t largest_count = 2147483647;

// Returns: for 0 < y < x, the number of combinations of x things taken y at
// a time, or -2147483648 when it exceeds 2147483647; 1 for any x = y; else 0.
constexpr std::int32_t combinations(std::int32_t x, std::int32_t y) {
  if (x == y) return 1;
  if (x < 1 || y < 1 || x < y) return 0;
  if (y > x / 2) y = x - y;
  // Exact integers give what the double accumulator truncates to, in any
  // rounding mode. While the count fits in 31 bits, every double product
  // C(x, i-1) * (x-i+1) is below 2^48 (a second step with C(x, 2) < 2^31
  // means x <= 65536), so every double step is exact. At the first count
  // past 2147483647 the double product is at least i * 2^31 (rounding is
  // monotonic), so the quotient is at least 2^31; each later factor exceeds
  // i, so it never falls back, and the truncation gives -2147483648.
  std::uint64_t count = static_cast<std::uint64_t>(x);
  for (std::int32_t i = 2; i <= y; ++i) {
    // count < 2^31 and the factor < 2^31: the product fits, the division is exact.
    count = count * static_cast<std::uint64_t>(x - i + 1) / static_cast<std::uint64_t>(i);
    if (count > largest_count) return int32_min;
  }
  return static_cast<std::int32_t>(count);
}

// Returns: for 1 <= y <= x, x * (x-1) * ... * (x-y+1), or -2147483648 when it
// exceeds 2147483647; else 0 (0 and 0 included).
constexpr std::int32_t permutations(std::int32_t x, std::int32_t y) {
  if (x < 1 || y < 1 || x < y) return 0;
  // Exact integers give what the double accumulator truncates to, in any
  // rounding mode: every factor is at least 1, so each partial product is at
  // most the final count, and while that fits in 31 bits the doubles are
  // exact. A double product past 2147483647 is at least 2^31 and never
  // falls back, so the truncation gives -2147483648. After step i the count
  // is at least i!, and 13! > 2^31: at most 12 steps run.
  std::uint64_t count = static_cast<std::uint64_t>(x);
  for (std::int64_t i = 2; i <= y; ++i) {
    count *= static_cast<std::uint64_t>(x - i + 1);
    if (count > largest_count) return int32_min;
  }
  return static_cast<std::int32_t>(count);
}

}  // namespace math_n

#endif
