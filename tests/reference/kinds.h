// The kind each entry point reads at each argument: the text side of the
// conversions is a String, every other argument an Integer.
#ifndef MATH_N_REFERENCE_KINDS_H
#define MATH_N_REFERENCE_KINDS_H

#include <string>

namespace reference {

inline std::string predicateOf(const std::string& entry) { return entry.substr(0, entry.rfind('_')); }
inline std::string patternOf(const std::string& entry) { return entry.substr(entry.rfind('_') + 1); }

inline bool readsText(const std::string& entry, std::size_t index) {
  std::string predicate = predicateOf(entry);
  return ((predicate == "s2nNat" || predicate == "b2dNat") && index == 0) ||
         ((predicate == "n2sNat" || predicate == "d2bNat") && index == 1);
}

}  // namespace reference

#endif
