// A literal reference of the counted-loop predicates: each loop run as its
// relation counts, step by step, with 64-bit arithmetic and counters (so no
// counter wraps at 2147483647) and the low 32 bits taken as the value; the
// counts of combinations and permutations in a double accumulator rounded
// at every step, then truncated.
//
// The literal loops run up to 2^31 steps. Given `settled`, for callers that
// need a value for any input (the differential test, the fuzz target), a
// loop is left once its value can no longer change; powers past 2^16 steps
// group the same factors otherwise.
#ifndef MATH_N_REFERENCE_LOOPS_H
#define MATH_N_REFERENCE_LOOPS_H

#include <optional>

#include "reference/common.h"

namespace reference::loops {

inline std::optional<std::int32_t> power(std::int32_t x, std::int32_t y, bool settled = false) {
  if (x == 0 && y == 0) return std::nullopt;
  std::int64_t res = 1;
  if (settled && y > 1 << 16) {  // left to right binary powering
    for (int bit = 30; bit >= 0; --bit) res = low32(std::int64_t(low32(res * res)) * ((y >> bit) & 1 ? x : 1));
    return std::int32_t(res);
  }
  for (std::int64_t i = 1; i <= y; ++i) res = low32(res * x);
  return std::int32_t(res);
}

// Settled once the product is 0, which it then stays.
inline std::int32_t factorial(std::int32_t x, bool settled = false) {
  std::int64_t fatt = 1;
  for (std::int64_t i = 1; i <= x && !(settled && fatt == 0); ++i) fatt = low32(fatt * i);
  return std::int32_t(fatt);
}

inline std::int32_t divisor(std::int32_t x0, std::int32_t y0) {
  std::int64_t x = x0, y = y0;
  while (y > 0) {
    std::int64_t r = x - (x / y) * y;
    x = y;
    y = r;
  }
  return std::int32_t(x);
}

// The quotient 2147483648 of -1 and -2147483648 is taken modulo 2^32.
inline std::int32_t multiple(std::int32_t x, std::int32_t y) {
  std::int64_t g = divisor(x, y);
  return g == 0 ? 0 : low32(low32(std::int64_t(x) * y) / g);
}

// Settled once the count is at least 2^31: each later factor exceeds i, so
// the rounded count never falls back.
inline std::int32_t comb(std::int32_t x, std::int32_t y, bool settled = false) {
  double comb = 0.0;
  if (x >= 1 && y >= 1 && x > y) {
    comb = double(x);
    if (y > x / 2) y = x - y;
    for (std::int64_t i = 2; i <= y && !(settled && comb >= 2147483648.0); ++i)
      comb = comb * double(std::int32_t(x - i + 1)) / double(i);
  } else if (x == y) {
    comb = 1.0;
  }
  return trunc(comb);
}

// Settled once the count is at least 2^31: every later factor is at least 1.
inline std::int32_t perm(std::int32_t x, std::int32_t y, bool settled = false) {
  double perm = 0.0;
  if (x >= 1 && y >= 1 && x >= y) {
    perm = double(x);
    for (std::int64_t i = 2; i <= y && !(settled && perm >= 2147483648.0); ++i)
      perm = perm * double(std::int32_t(x - i + 1));
  }
  return trunc(perm);
}

}  // namespace reference::loops

#endif
