// PLACEHOLDER, to be replaced: kernels of s2nNat, n2sNat, b2dNat, d2bNat.
#ifndef MATH_N_TEXT_H
#define MATH_N_TEXT_H
#include <cstdint>
#include <cstdio>
#include <cstdlib>
namespace math_n {
struct SmallText {
  char chars[34];
  operator const char*() const { return chars; }
};
inline std::int32_t decimal_reading(const char* text) { return std::atoi(text); }
inline std::int32_t binary_reading(const char* text) { return std::int32_t(std::strtol(text, nullptr, 2)); }
inline SmallText decimal_text(std::int32_t x) { SmallText t; std::snprintf(t.chars, sizeof t.chars, "%i", x); return t; }
inline SmallText binary_text(std::int32_t x) {
  SmallText t; int n = 0; bool one = false; std::uint32_t v = std::uint32_t(x);
  for (int c = 0; c < 32; ++c, v <<= 1) { if (v >> 31) { one = true; t.chars[n++] = '1'; } else if (one) t.chars[n++] = '0'; }
  t.chars[n] = 0; return t;
}
}  // namespace math_n
#endif
