// PLACEHOLDER, to be replaced: kernels of powNat, factNat, gcdNat, lcmNat, combNat, permNat.
#ifndef MATH_N_LOOPS_H
#define MATH_N_LOOPS_H
#include <cstdint>
#include <optional>
#include "arith.h"
namespace math_n {
// Returns: x to the power y modulo 2^32 (1 for y <= 0), or nothing for 0 and 0.
inline std::optional<std::int32_t> power(std::int32_t x, std::int32_t y) {
  if (x == 0 && y == 0) return std::nullopt;
  std::int32_t r = 1;
  for (; y > 0; y >>= 1, x = wrapping_mul(x, x)) if (y & 1) r = wrapping_mul(r, x);
  return r;
}
inline std::int32_t factorial(std::int32_t x) {
  std::int32_t r = 1;
  for (std::int64_t i = 1; i <= x && r != 0; ++i) r = wrapping_mul(r, std::int32_t(i));
  return r;
}
inline std::int32_t common_divisor(std::int32_t x, std::int32_t y) {
  while (y > 0) { std::int32_t r = x % y; x = y; y = r; }
  return x;
}
inline std::int32_t common_multiple(std::int32_t x, std::int32_t y) {
  std::int32_t xy = wrapping_mul(x, y), g = common_divisor(x, y);
  return g == 0 ? 0 : *truncated_quotient(xy, g);
}
inline std::int32_t combinations(std::int32_t, std::int32_t) { return 0; }
inline std::int32_t permutations(std::int32_t, std::int32_t) { return 0; }
}  // namespace math_n
#endif
