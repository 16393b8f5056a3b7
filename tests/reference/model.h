// The model of every entry point: what a call on an argument vector must
// return and deliver, from the literal references, and the invariants of the
// convention. Shared by the differential test and the fuzz target.
#ifndef MATH_N_REFERENCE_MODEL_H
#define MATH_N_REFERENCE_MODEL_H

#include <algorithm>
#include <cfenv>
#include <vector>

#include "reference/logroot.h"
#include "reference/loops.h"
#include "reference/text.h"

namespace reference {

// The value a predicate's formula gives for the numbers n and the text t
// (its number-side result for the conversions); empty where a guard refuses.
// The basic arithmetic is 64-bit, then the low 32 bits; the parity tests
// give 1 where they hold.
inline std::optional<std::int32_t> value(const std::string& entry, const std::vector<std::int32_t>& n,
                                         const std::string& t) {
  using V = std::optional<std::int32_t>;
  const std::string predicate = predicateOf(entry);
  const std::int64_t x = n[0], y = n[1], z = n[2];
  const std::size_t o = std::min(patternOf(entry).find('o'), std::size_t(2));  // 2 in check mode too
  if (predicate == "addNat") {
    if (o == 2) return low32(x + y);
    const std::int64_t addend = o == 0 ? y : x;  // the known one
    return z < addend ? V() : low32(z - addend);
  }
  if (predicate == "subNat") {
    if (o == 0) return low32(z + y);
    if (o == 1) return x < z ? V() : low32(x - z);
    return x < y ? V() : low32(x - y);
  }
  if (predicate == "multNat") return low32(x * y);
  if (predicate == "divNat") return y == 0 ? V() : low32(x / y);
  if (predicate == "modNat") return y == 0 ? V() : low32(x % y);
  if (predicate == "evenNat") return x % 2 == 0 ? V(1) : V();
  if (predicate == "oddNat") return x % 2 == 1 ? V(1) : V();
  if (predicate == "powNat") return loops::power(n[0], n[1], true);
  if (predicate == "factNat") return loops::factorial(n[0], true);
  if (predicate == "gcdNat") return loops::divisor(n[0], n[1]);
  if (predicate == "lcmNat") return loops::multiple(n[0], n[1]);
  if (predicate == "combNat") return loops::comb(n[0], n[1], true);
  if (predicate == "permNat") return loops::perm(n[0], n[1], true);
  if (predicate == "logNat") return logNat(n[0], n[1]);
  if (predicate == "log10Nat") return log10Nat(n[0]);
  if (predicate == "log2Nat") return log2Nat(n[0]);
  if (predicate == "lnNat") return lnNat(n[0]);
  if (predicate == "rootNat") return rootNat(n[0], n[1]);
  if (predicate == "sqrtNat") return sqrtNat(n[0]);
  return predicate == "s2nNat" || predicate == "n2sNat" ? decimalReading(t.c_str())
                                                        : binaryReading(t.c_str());
}

struct Outcome {
  bool result = false;
  std::optional<std::string> delivered;  // snapshot of the delivered value
};

// The reference's outcome of calling `entry` on `argv`.
inline Outcome expected(const std::string& entry, const std::vector<CONSTANT>& argv) {
  const std::string pattern = patternOf(entry);
  const std::size_t out = pattern.find('o'), last = pattern.size() - 1;
  std::vector<std::int32_t> n(3, 0);
  std::string t;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (i != out && !(readsText(entry, i) ? argv[i].isString() : argv[i].isInt())) return {};
    if (i == out) continue;
    if (readsText(entry, i))
      t = take(argv[i].toString());
    else
      n[i] = argv[i].toInt();
  }
  // A text output: the conversion writes the text of the number argument.
  if (out != std::string::npos && readsText(entry, out)) {
    const std::int32_t x = n[1 - out];
    const bool decimal = predicateOf(entry) == "s2nNat" || predicateOf(entry) == "n2sNat";
    return {true, "S\"" + (decimal ? decimalText(x) : binaryText(x)) + "\""};
  }
  const std::optional<std::int32_t> v = value(entry, n, t);
  if (!v) return {};
  if (pattern.size() == 1) return {true, {}};  // the parity tests
  if (out != std::string::npos) return {true, "I" + std::to_string(*v)};
  // Check mode compares with the last argument, or with the number of a conversion.
  const std::size_t against = readsText(entry, last) ? 0 : last;
  return {*v == n[against], {}};
}

// Returns: call(argv) made under the caller's rounding mode `mode`; `kept`
// turns false if the call changed the mode.
inline bool callIn(int mode, EntryPoint call, CONSTANT* argv, bool& kept) {
  std::fesetround(mode);
  const bool result = call(argv);
  kept = kept && std::fegetround() == mode;
  std::fesetround(FE_TONEAREST);
  return result;
}

// Calls `call`, the entry point `entry`, on `argv` under the rounding mode
// `mode` and checks it against the model; `checkCall` is the entry's
// check-mode sibling. Returns: "" when all holds, else what went wrong.
inline std::string verifyCall(const std::string& entry, EntryPoint call, EntryPoint checkCall,
                              std::vector<CONSTANT>& argv, int mode = FE_TONEAREST) {
  std::vector<std::string> before;
  std::string name = entry;
  for (const CONSTANT& c : argv) name += (before.empty() ? "(" : ", ") + before.emplace_back(snapshot(c));
  name += "): ";
  const Outcome want = expected(entry, argv);
  bool kept = true;
  const bool result = callIn(mode, call, argv.data(), kept);
  if (!kept) return name + "the rounding mode changed";
  const std::size_t out = patternOf(entry).find('o');
  if (result != want.result) return name + (result ? "true, expected false" : "false, expected true");
  for (std::size_t i = 0; i < argv.size(); ++i)
    if ((!result || i != out) && snapshot(argv[i]) != before[i])
      return name + "argument " + std::to_string(i) + " changed to " + snapshot(argv[i]);
  if (!result || out == std::string::npos) return "";
  if (snapshot(argv[out]) != want.delivered)
    return name + "delivered " + snapshot(argv[out]) + ", expected " + *want.delivered;
  // Check mode judges the delivered value as the model does: it accepts it,
  // except where the relation itself rejects it (the binary text of a
  // negative number reads back as 2147483647; subNat's guard x < y).
  std::vector<CONSTANT> again(argv);
  const std::string checkEntry = predicateOf(entry) + "_" + std::string(argv.size(), 'i');
  if (callIn(mode, checkCall, again.data(), kept) != expected(checkEntry, again).result || !kept)
    return name + "check mode disagrees on " + snapshot(argv[out]);
  return "";
}

}  // namespace reference

#endif
