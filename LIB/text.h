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

// A text built at the end of a fixed array, handed out from its first
// character; it lives on the caller's stack, so building it allocates
// nothing. Arrays of 16 and more make it too large to be returned in
// registers, which would reload its bytes as words just after they were
// stored one by one (a store-forwarding stall that doubles a conversion).
template <std::size_t N>
struct SmallText {
  char chars[N];
  std::uint8_t start;
  operator const char*() const { return chars + start; }
};

namespace text_detail {

constexpr std::uint64_t lane_ones = 0x0101010101010101u, lane_highs = 0x8080808080808080u;

// Returns: the eight characters at `text` as a word whose lane j (byte j from
// the least significant) is character j, on either byte order.
inline std::uint64_t load_lanes(const char* text) {
  std::uint64_t lanes;
  std::memcpy(&lanes, text, 8);
  if constexpr (std::endian::native == std::endian::big) lanes = __builtin_bswap64(lanes);
  return lanes;
}

// Stores lane j of `lanes` as character j at `text`.
inline void store_lanes(char* text, std::uint64_t lanes) {
  if constexpr (std::endian::native == std::endian::big) lanes = __builtin_bswap64(lanes);
  std::memcpy(text, &lanes, 8);
}

// Only the C locale's white space, whatever locale the host has set.
constexpr bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Returns: whether all eight lanes are white space. Blanks alone answer at
// once; otherwise, for lanes below 0x80 no sum below carries into the next
// lane, so each lane's top bit answers for it.
constexpr bool all_spaces(std::uint64_t lanes) {
  if (lanes == lane_ones * ' ') return true;
  const std::uint64_t from_tab = lanes + lane_ones * (0x80 - '\t');              // top bit: lane >= '\t'
  const std::uint64_t past_return = lanes + lane_ones * (0x7f - '\r');           // top bit: lane > '\r'
  const std::uint64_t not_blank = (lanes ^ lane_ones * ' ') + lane_ones * 0x7f;  // top bit: lane != ' '
  return (lanes & lane_highs) == 0 && (((from_tab & ~past_return) | ~not_blank) & lane_highs) == lane_highs;
}

constexpr bool is_zero(char c) { return c == '0'; }
constexpr bool all_zeros(std::uint64_t lanes) { return lanes == lane_ones * '0'; }

// Returns: `text` moved past its leading characters for which `one` holds.
// Once a run is eight long, the text's length is taken and the run goes on
// eight characters a step while `eight` holds for them all; short texts
// never pay for the length.
template <class One, class Eight>
inline const char* skip_run(const char* text, One one, Eight eight) {
  for (int i = 0; i < 8; ++i, ++text)
    if (!one(*text)) return text;
  for (std::size_t left = std::strlen(text); left >= 8 && eight(load_lanes(text)); left -= 8) text += 8;
  while (one(*text)) ++text;
  return text;
}

// Reads at most `most` digits of the run at `text` into `magnitude`, moving
// `text` past them. Returns: false once the value passes `bound`; the
// result is then settled and the rest of the run is not read.
template <unsigned Base>
inline bool take_digits(const char*& text, std::uint32_t& magnitude, std::uint32_t bound, std::size_t most) {
  const std::uint32_t high = bound / Base, low = bound % Base;
  // Below '0' the difference wraps to a large value, so NUL ends the run.
  for (unsigned digit;
       most != 0 && (digit = unsigned(static_cast<unsigned char>(*text)) - unsigned('0')) < Base;
       ++text, --most) {
    // magnitude * Base + digit > bound exactly when this holds.
    if (magnitude >= high && (magnitude > high || digit > low)) return false;
    magnitude = magnitude * Base + digit;
  }
  return true;
}

// Returns: the numeral in base `Base` at the start of `text`, after white
// space and one optional sign, saturated at -2147483648 and 2147483647; 0
// where no digit follows.
template <unsigned Base>
inline std::int32_t read_numeral(const char* text) {
  text = skip_run(text, is_space, all_spaces);
  const bool negative = *text == '-';
  if (negative || *text == '+') ++text;
  // Leading zeros add nothing, however many there are.
  text = skip_run(text, is_zero, all_zeros);
  const std::uint32_t bound = negative ? 0x80000000u : 0x7fffffffu;
  const std::int32_t saturated = negative ? int32_min : 2147483647;
  std::uint32_t magnitude = 0;
  const char* const run = text;
  if (!take_digits<Base>(text, magnitude, bound, Base == 2 ? 8 : SIZE_MAX)) return saturated;
  // A binary run that goes on past eight digits continues eight digits a
  // step while eight characters remain (the length is taken only then, so
  // short texts do not pay for it). Lane j of the word is character j; the
  // multiply gathers lane j's digit into bit 7 - j of the top byte (no
  // lane's partial sum exceeds 255, so nothing carries).
  if (Base == 2 && text - run == 8) {
    for (std::size_t left = std::strlen(text); left >= 8; left -= 8, text += 8) {
      const std::uint64_t lanes = load_lanes(text);
      if ((lanes & 0xfefefefefefefefeu) != 0x3030303030303030u) break;  // not all '0' or '1'
      const std::uint64_t next =
          std::uint64_t(magnitude) << 8 | ((lanes & 0x0101010101010101u) * 0x8040201008040201u) >> 56;
      if (next > bound) return saturated;
      magnitude = std::uint32_t(next);
    }
    if (!take_digits<Base>(text, magnitude, bound, SIZE_MAX)) return saturated;
  }
  return as_signed(negative ? 0u - magnitude : magnitude);
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
  // Two digits per division halve the chain of dependent divisions.
  for (; v >= 100; v /= 100) {
    t.chars[--at] = char('0' + v % 10);
    t.chars[--at] = char('0' + v / 10 % 10);
  }
  if (v >= 10) {
    t.chars[--at] = char('0' + v % 10);
    v /= 10;
  }
  t.chars[--at] = char('0' + v);
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
  // All 32 digits, eight at a time: the byte is copied into the eight lanes
  // of a 64-bit word, lane j keeps bit 7 - j, and adding 0x7f carries a kept
  // bit into the lane's top bit, without reaching the next lane.
  for (int k = 0; k < 4; ++k) {
    std::uint64_t lanes = std::uint64_t((v >> (24 - 8 * k)) & 0xffu) * 0x0101010101010101u;
    lanes = (((lanes & 0x0102040810204080u) + 0x7f7f7f7f7f7f7f7fu) >> 7 & 0x0101010101010101u) +
            0x3030303030303030u;
    text_detail::store_lanes(t.chars + 8 * k, lanes);
  }
  t.start = std::uint8_t(std::countl_zero(v));
  return t;
}

}  // namespace math_n

#endif
