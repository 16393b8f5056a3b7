// A literal reference of the number-text conversions: the atoi and strtol
// base-2 rules spelled out with 64-bit accumulation, a numeral beyond the
// 32-bit range saturating at the nearer bound; the decimal text from "%i";
// the binary text by the 32-step loop with its `count` and `one`.
#ifndef MATH_N_REFERENCE_TEXT_H
#define MATH_N_REFERENCE_TEXT_H

#include <cstdint>
#include <cstdio>
#include <string>

namespace reference {

inline std::int32_t reading(const char* text, int base) {
  while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\v' || *text == '\f' || *text == '\r')
    ++text;
  const std::int64_t sign = *text == '-' ? -1 : 1;
  if (*text == '-' || *text == '+') ++text;
  std::int64_t value = 0;
  for (; *text >= '0' && *text < '0' + base; ++text)
    if (value <= 2147483648LL) value = value * base + (*text - '0');  // once beyond, it stays beyond
  value *= sign;
  if (value > 2147483647LL) return 2147483647;
  if (value < -2147483648LL) return -2147483647 - 1;
  return std::int32_t(value);
}

inline std::int32_t decimalReading(const char* text) { return reading(text, 10); }
inline std::int32_t binaryReading(const char* text) { return reading(text, 2); }

inline std::string decimalText(std::int32_t x) {
  char buffer[13];
  std::snprintf(buffer, sizeof buffer, "%i", int(x));
  return buffer;
}

inline std::string binaryText(std::int32_t x) {
  std::uint32_t v = std::uint32_t(x);
  std::string text;
  int count = 32;
  bool one = false;
  for (;;) {
    count = count - 1;
    if (count == -1) break;
    if (v & 0x80000000u) {
      one = true;
      text += "1";
    } else if (one) {
      text += "0";
    }
    v = v << 1;
  }
  return text;
}

}  // namespace reference

#endif
