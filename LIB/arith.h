// Kernels of the basic arithmetic and parity predicates: 32-bit signed
// values, wrapping modulo 2^32 through unsigned arithmetic, signed guards.
#ifndef MATH_N_ARITH_H
#define MATH_N_ARITH_H

#include <cstdint>
#include <limits>
#include <optional>

namespace math_n {

inline constexpr std::int32_t int32_min = std::numeric_limits<std::int32_t>::min();

// Returns: the bit pattern as a signed value (defined since C++20).
constexpr std::int32_t as_signed(std::uint32_t bits) { return static_cast<std::int32_t>(bits); }

// Returns: x + y modulo 2^32.
constexpr std::int32_t wrapping_add(std::int32_t x, std::int32_t y) {
  return as_signed(static_cast<std::uint32_t>(x) + static_cast<std::uint32_t>(y));
}

// Returns: x - y modulo 2^32.
constexpr std::int32_t wrapping_sub(std::int32_t x, std::int32_t y) {
  return as_signed(static_cast<std::uint32_t>(x) - static_cast<std::uint32_t>(y));
}

// Returns: the low 32 bits of x * y.
constexpr std::int32_t wrapping_mul(std::int32_t x, std::int32_t y) {
  return as_signed(static_cast<std::uint32_t>(x) * static_cast<std::uint32_t>(y));
}

// Returns: a - b (wrapping), or nothing when a < b. The guard compares the
// inputs, so far-apart inputs can still give a wrapped negative value.
constexpr std::optional<std::int32_t> difference_if_not_below(std::int32_t a, std::int32_t b) {
  if (a < b) return std::nullopt;
  return wrapping_sub(a, b);
}

// Returns: the addend that brings `known` to `total` (wrapping), or nothing
// when total < known.
constexpr std::optional<std::int32_t> missing_addend(std::int32_t known, std::int32_t total) {
  return difference_if_not_below(total, known);
}

// Returns: x / y rounded toward zero, or nothing for y = 0. The one quotient
// without a 32-bit value, -2147483648 / -1, wraps to -2147483648 like every
// other overflow (and a plain division would trap).
constexpr std::optional<std::int32_t> truncated_quotient(std::int32_t x, std::int32_t y) {
  if (y == 0) return std::nullopt;
  if (y == -1) return wrapping_sub(0, x);
  return x / y;
}

// Returns: x - (x / y) * y, zero or of the sign of x, or nothing for y = 0.
// For y = -1 it is 0, also for x = -2147483648.
constexpr std::optional<std::int32_t> truncated_remainder(std::int32_t x, std::int32_t y) {
  if (y == 0) return std::nullopt;
  if (y == -1) return 0;
  return x % y;
}

// Returns: whether the lowest bit of x is 0.
constexpr bool is_even(std::int32_t x) { return (static_cast<std::uint32_t>(x) & 1u) == 0; }

// Returns: whether x rem 2 is 1, so negative odd numbers are not odd.
constexpr bool is_odd(std::int32_t x) { return x % 2 == 1; }

}  // namespace math_n

#endif
