// Kernels of the decimal and binary text conversions. The readers are
// written out rather than taken from atoi and strtol, whose results depend
// on the locale (which white space they skip), on the width of long (where
// strtol saturates) and on the C library's version (a 0b prefix in base 2).
#ifndef MATH_N_TEXT_H
#define MATH_N_TEXT_H

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "arith.h"

namespace math_n {

// A text built in a fixed array, handed out from its first character; it
// lives on the caller's stack, so building it allocates nothing. Arrays of
// 16 and more make it too large to be returned in registers, which would
// reload its bytes as words just after they were stored one by one (a
// store-forwarding stall: with 12, a decimal text takes twice as long).
template <std::size_t N>
struct SmallText {
  char chars[N];
  std::uint8_t start;
  operator const char*() const { return chars + start; }
};

namespace text_detail {

// Returns: the eight characters at `text` as a word whose lane j (byte j from
// the least significant) is character j, on either byte order.
inline std::uint64_t load_lanes(const char* text) {
  std::uint64_t lanes;
  std::memcpy(&lanes, text, 8);
  if constexpr (std::endian::native == std::endian::big) lanes = __builtin_bswap64(lanes);
  return lanes;
}

// Only the C locale's white space, whatever locale the host has set.
constexpr bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Returns: the numeral in base `Base` at the start of `text`, after white
// space and one optional sign, saturated at -2147483648 and 2147483647; 0
// where no digit follows.
template <unsigned Base>
inline std::int32_t read_numeral(const char* text) {
  while (is_space(*text)) ++text;
  const bool negative = *text == '-';
  if (negative || *text == '+') ++text;
  while (*text == '0') ++text;  // leading zeros add nothing
  const std::uint64_t bound = negative ? 0x80000000u : 0x7fffffffu;
  std::uint64_t magnitude = 0;
  if constexpr (Base == 2) {
    // A binary run goes eight digits a step while eight characters remain:
    // on 32 digits this saves a fifth of a call. The multiply gathers lane
    // j's digit into bit 7 - j of the top byte; no lane's partial sum
    // exceeds 255, so nothing carries.
    for (std::size_t left = std::strlen(text); left >= 8; left -= 8, text += 8) {
      const std::uint64_t lanes = load_lanes(text);
      if ((lanes & 0xfefefefefefefefeu) != 0x3030303030303030u) break;  // not all '0' or '1'
      magnitude = magnitude << 8 | ((lanes & 0x0101010101010101u) * 0x8040201008040201u) >> 56;
      if (magnitude > bound) return negative ? int32_min : 2147483647;
    }
  }
  // Below '0' the difference wraps to a large value, so NUL ends the run.
  for (unsigned digit; (digit = unsigned(static_cast<unsigned char>(*text)) - unsigned('0')) < Base; ++text) {
    magnitude = magnitude * Base + digit;  // at most bound * Base + Base - 1 < 2^36
    // Past the bound the value is settled; the rest of the run is not read.
    if (magnitude > bound) return negative ? int32_min : 2147483647;
  }
  return as_signed(negative ? 0u - std::uint32_t(magnitude) : std::uint32_t(magnitude));
}

}  // namespace text_detail

// Returns: the atoi reading of `text` (C-locale white space, one optional
// sign, a run of decimal digits), saturated at the 32-bit bounds.
inline std::int32_t decimal_reading(const char* text) { return text_detail::read_numeral<10>(text); }

// Returns: the strtol base-2 reading of `text` (no prefix), saturated at the
// 32-bit bounds.
inline std::int32_t binary_reading(const char* text) { return text_detail::read_numeral<2>(text); }

// Returns: the text that "%i" prints for x.
inline SmallText<16> decimal_text(std::int32_t x) {
  SmallText<16> t;
  std::size_t at = sizeof t.chars - 1;
  t.chars[at] = 0;
  // Negated in unsigned arithmetic: -x overflows for -2147483648.
  std::uint32_t v = x < 0 ? 0u - std::uint32_t(x) : std::uint32_t(x);
  do {
    t.chars[--at] = char('0' + v % 10);
    v /= 10;
  } while (v != 0);
  if (x < 0) t.chars[--at] = '-';
  t.start = std::uint8_t(at);
  return t;
}

// Returns: the base-2 digits of x's 32-bit pattern without leading zeros:
// 32 digits for a negative x, the empty text for 0.
inline SmallText<33> binary_text(std::int32_t x) {
  SmallText<33> t;
  t.chars[32] = 0;
  const std::uint32_t v = std::uint32_t(x);
  // Eight digits a step (on 32 digits this saves a fifth of a call): the
  // byte is copied into the eight lanes of a 64-bit word, lane j keeps bit
  // 7 - j, and adding 0x7f carries a kept bit into the lane's top bit,
  // without reaching the next lane.
  for (int k = 0; k < 4; ++k) {
    std::uint64_t lanes = std::uint64_t((v >> (24 - 8 * k)) & 0xffu) * 0x0101010101010101u;
    lanes = (((lanes & 0x0102040810204080u) + 0x7f7f7f7f7f7f7f7fu) >> 7 & 0x0101010101010101u) +
            0x3030303030303030u;
    if constexpr (std::endian::native == std::endian::big) lanes = __builtin_bswap64(lanes);
    std::memcpy(t.chars + 8 * k, &lanes, 8);
  }
  t.start = std::uint8_t(std::countl_zero(v));
  return t;
}

}  // namespace math_n

#endif
