// The kind each entry point reads at each argument (the text side of the
// conversions is a String, every other argument an Integer), and values
// written out as text for comparing them before and after a call.
#ifndef MATH_N_REFERENCE_KINDS_H
#define MATH_N_REFERENCE_KINDS_H

#include <memory>
#include <string>

#include "extpred.h"

namespace reference {

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
  switch (c.getType()) {
    case CONSTANT::Integer:
      return "I" + std::to_string(c.toInt());
    case CONSTANT::String:
      return "S" + take(c.toQuotedString());
    case CONSTANT::Symbol:
      return "Y" + take(c.toQuotedString());
    default:
      return "N";
  }
}

}  // namespace reference

#endif
