// What the references and the tests share: the kind each entry point reads
// at each argument (the text side of the conversions is a String, every other
// argument an Integer), values written out as text to compare them before and
// after a call, and the two conversions to a 32-bit result.
#ifndef MATH_N_REFERENCE_COMMON_H
#define MATH_N_REFERENCE_COMMON_H

#include <cstdint>
#include <memory>
#include <string>

#include "extpred.h"

namespace reference {

using EntryPoint = bool (*)(CONSTANT*);

inline std::string predicateOf(const std::string& entry) { return entry.substr(0, entry.rfind('_')); }
inline std::string patternOf(const std::string& entry) { return entry.substr(entry.rfind('_') + 1); }

inline bool readsText(const std::string& entry, std::size_t index) {
  std::string predicate = predicateOf(entry);
  return ((predicate == "s2nNat" || predicate == "b2dNat") && index == 0) ||
         ((predicate == "n2sNat" || predicate == "d2bNat") && index == 1);
}

// Returns: the text, released.
inline std::string take(const char* text) {
  std::unique_ptr<const char[]> owned(text);
  return owned.get();
}

// Returns: the kind's initial and the value: I7, S"abc" (the stored text), Yabc, N.
inline std::string snapshot(const CONSTANT& c) {
  if (c.isInt()) return "I" + std::to_string(c.toInt());
  if (c.isString() || c.isSymbol()) return (c.isString() ? "S" : "Y") + take(c.toQuotedString());
  return "N";
}

// Returns: the low 32 bits of v as a signed value.
inline std::int32_t low32(std::int64_t v) {
  std::uint32_t bits = static_cast<std::uint32_t>(static_cast<std::uint64_t>(v));
  return bits >= 0x80000000u ? std::int32_t(std::int64_t(bits) - 0x100000000LL) : std::int32_t(bits);
}

// Returns: v truncated toward zero; -2147483648 for NaN (it fails both
// comparisons), infinities and values outside the 32-bit range.
inline std::int32_t trunc(double v) {
  return v > -2147483649.0 && v < 2147483648.0 ? static_cast<std::int32_t>(v) : INT32_MIN;
}

}  // namespace reference

#endif
