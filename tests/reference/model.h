// The model of every entry point: what a call on an argument vector must
// return and deliver, from the literal references, and the invariants of the
// convention. Shared by the differential test and the fuzz target.
#ifndef MATH_N_REFERENCE_MODEL_H
#define MATH_N_REFERENCE_MODEL_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "extpred.h"
#include "reference/arith.h"
#include "reference/kinds.h"
#include "reference/logroot.h"
#include "reference/loops.h"
#include "reference/text.h"

namespace reference {

using EntryPoint = bool (*)(CONSTANT*);

inline std::string take(const char* text) {
  std::unique_ptr<const char[]> owned(text);
  return owned.get();
}

// What a value holds, as text, for comparing before and after a call.
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

struct Outcome {
  bool result = false;
  std::optional<std::int32_t> number;  // delivered Integer, or the value check mode compares
  std::optional<std::string> text;     // delivered String
};

// The reference's outcome of calling `entry` on `argv`.
inline Outcome expected(const std::string& entry, const std::vector<CONSTANT>& argv) {
  const std::string predicate = predicateOf(entry), pattern = patternOf(entry);
  std::vector<std::int32_t> n(3, 0);
  std::vector<std::string> t(3);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == 'o') continue;
    bool text = readsText(entry, i);
    if (text ? !argv[i].isString() : !argv[i].isInt()) return {};
    if (text)
      t[i] = take(argv[i].toString());
    else
      n[i] = argv[i].toInt();
  }
  const bool checkMode = pattern.find('o') == std::string::npos;
  auto judge = [&](std::optional<std::int32_t> value, std::size_t against) -> Outcome {
    if (!value) return {};
    if (checkMode) return {*value == n[against], value, {}};
    return {true, value, {}};
  };
  auto deliverText = [&](const std::string& text) -> Outcome { return {true, {}, text}; };

  if (auto at = arithmetic().find(entry); at != arithmetic().end()) {
    Value v = at->second(n[0], n[1], n[2]);
    std::size_t against = pattern.find('o') == std::string::npos ? 2 : pattern.find('o');
    return judge(v ? std::optional<std::int32_t>(low32(*v)) : std::nullopt, against);
  }
  if (predicate == "evenNat") return {even(n[0])};
  if (predicate == "oddNat") return {odd(n[0])};
  const std::size_t last = pattern.size() - 1;
  if (predicate == "powNat") return judge(loops::power_any(n[0], n[1]), last);
  if (predicate == "factNat") return judge(loops::factorial_any(n[0]), last);
  if (predicate == "gcdNat") return judge(loops::divisor(n[0], n[1]), last);
  if (predicate == "lcmNat") return judge(loops::multiple(n[0], n[1]), last);
  if (predicate == "combNat") return judge(loops::comb_any(n[0], n[1]), last);
  if (predicate == "permNat") return judge(loops::perm_any(n[0], n[1]), last);
  if (predicate == "logNat") return judge(logNat(n[0], n[1]), last);
  if (predicate == "log10Nat") return judge(log10Nat(n[0]), last);
  if (predicate == "log2Nat") return judge(log2Nat(n[0]), last);
  if (predicate == "lnNat") return judge(lnNat(n[0]), last);
  if (predicate == "rootNat") return judge(rootNat(n[0], n[1]), last);
  if (predicate == "sqrtNat") return judge(sqrtNat(n[0]), last);
  // The conversions: x is the text in s2nNat and b2dNat, y in n2sNat and d2bNat.
  const bool decimal = predicate == "s2nNat" || predicate == "n2sNat";
  const std::size_t textAt = readsText(entry, 0) ? 0 : 1;
  const std::size_t numberAt = 1 - textAt;
  auto reading = [&] {
    return decimal ? decimalReading(t[textAt].c_str()) : binaryReading(t[textAt].c_str());
  };
  if (checkMode) return judge(reading(), numberAt);
  if (pattern[textAt] == 'o')
    return deliverText(decimal ? decimalText(n[numberAt]) : binaryText(n[numberAt]));
  return judge(reading(), numberAt);
}

// Calls `call`, the entry point `entry`, on `argv` and checks it against the
// model; `checkCall` is the entry's check-mode sibling. Returns: "" when all
// holds, else what went wrong.
inline std::string verifyCall(const std::string& entry, EntryPoint call, EntryPoint checkCall,
                              std::vector<CONSTANT>& argv) {
  const std::string pattern = patternOf(entry);
  std::vector<std::string> before;
  for (const CONSTANT& c : argv) before.push_back(snapshot(c));
  std::string name = entry + "(";
  for (std::size_t i = 0; i < before.size(); ++i) name += (i ? ", " : "") + before[i];
  name += "): ";

  const Outcome want = expected(entry, argv);
  const bool result = call(argv.data());
  const std::size_t out = pattern.find('o');
  if (result != want.result) return name + (result ? "true, expected false" : "false, expected true");
  for (std::size_t i = 0; i < argv.size(); ++i)
    if ((!result || i != out) && snapshot(argv[i]) != before[i])
      return name + "argument " + std::to_string(i) + " changed to " + snapshot(argv[i]);
  if (!result || out == std::string::npos) return "";

  const std::string delivered = snapshot(argv[out]);
  if (want.text && delivered != "S\"" + *want.text + "\"")
    return name + "delivered " + delivered + ", expected the String " + *want.text;
  if (want.number && delivered != "I" + std::to_string(*want.number))
    return name + "delivered " + delivered + ", expected " + std::to_string(*want.number);

  // Check mode judges the delivered value as the model does: it accepts it,
  // except where the definition says otherwise (the binary text of a
  // negative number reads back as 2147483647; subNat's guard x < y).
  std::vector<CONSTANT> again(argv);
  const std::string checkEntry = predicateOf(entry) + "_" + std::string(pattern.size(), 'i');
  if (checkCall(again.data()) != expected(checkEntry, again).result)
    return name + "check mode disagrees on " + delivered;
  return "";
}

}  // namespace reference

#endif
