// Differential fuzz target: decodes its input into one entry point and an
// argument vector of any kinds, calls the library, and checks the result
// against the literal references and the invariants of the convention:
// false changes nothing, check mode changes nothing, a true compute call
// delivers a value of the right kind, and check mode judges what compute
// mode delivered as the reference does.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "math_N.h"
#include "reference/arith.h"
#include "reference/kinds.h"
#include "reference/logroot.h"
#include "reference/loops.h"
#include "reference/text.h"

namespace {

using EntryPoint = bool (*)(CONSTANT*);
struct Entry {
  const char* name;
  EntryPoint call;
};
const Entry entries[] = {
#define ENTRY_POINT(predicate, pattern) {#predicate "_" #pattern, &predicate##_##pattern},
#include "entry_points.def"
#undef ENTRY_POINT
};
constexpr std::size_t entryCount = sizeof entries / sizeof entries[0];

EntryPoint find(const std::string& name) {
  for (const Entry& e : entries)
    if (name == e.name) return e.call;
  return nullptr;
}

// Reads the input front to back; an exhausted input reads as zeros.
struct Reader {
  const std::uint8_t* data;
  std::size_t size;
  std::uint8_t byte() {
    if (!size) return 0;
    --size;
    return *data++;
  }
  std::int32_t int32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | byte();
    return std::int32_t(v);
  }
  std::string text() {
    std::string t;
    for (std::size_t n = byte() % 41; n > 0 && size > 0; --n) t += char(byte());
    return t;
  }
};

const std::int32_t interesting[] = {0, 1, 2, 3, -1, -2, 10, 12, 13, 16, 27, 31, 32, 33, 34, 64, 243, 1000, 1023,
                                    1024, 8103, 8104, 46340, 46341, 46342, 65536, 65537, 1166803110,
                                    2147483646, 2147483647, INT32_MIN, INT32_MIN + 1, -46341, -65536};

CONSTANT decode(Reader& in) {
  switch (in.byte() % 6) {
    case 0: return CONSTANT(in.int32());
    case 1: return CONSTANT(interesting[in.byte() % std::size(interesting)]);
    case 2: return CONSTANT(in.text().c_str(), true);
    case 3: return CONSTANT(in.text().c_str(), false);
    case 4: return CONSTANT();
    default: return CONSTANT(("\"" + in.text()).c_str(), true);  // stored as is: odd quoting
  }
}

std::string take(const char* text) {
  std::unique_ptr<const char[]> owned(text);
  return owned.get();
}

// What a value holds, as text, for comparing before and after a call.
std::string snapshot(const CONSTANT& c) {
  switch (c.getType()) {
    case CONSTANT::Integer: return "I" + std::to_string(c.toInt());
    case CONSTANT::String: return "S" + take(c.toQuotedString());
    case CONSTANT::Symbol: return "Y" + take(c.toQuotedString());
    default: return "N";
  }
}

[[noreturn]] void fail(const std::string& entry, const std::vector<std::string>& before, const std::string& what) {
  std::fprintf(stderr, "%s(", entry.c_str());
  for (std::size_t i = 0; i < before.size(); ++i) std::fprintf(stderr, "%s%s", i ? ", " : "", before[i].c_str());
  std::fprintf(stderr, "): %s\n", what.c_str());
  std::abort();
}

struct Outcome {
  bool result = false;
  std::optional<std::int32_t> number;  // delivered Integer, or the value check mode compares
  std::optional<std::string> text;     // delivered String
};

// The reference's outcome of calling `entry` on `argv`.
Outcome expected(const std::string& entry, const std::vector<CONSTANT>& argv) {
  using namespace reference;
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
  auto reading = [&] { return decimal ? decimalReading(t[textAt].c_str()) : binaryReading(t[textAt].c_str()); };
  if (checkMode) return judge(reading(), numberAt);
  if (pattern[textAt] == 'o') return deliverText(decimal ? decimalText(n[numberAt]) : binaryText(n[numberAt]));
  return judge(reading(), numberAt);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in{data, size};
  const Entry& e = entries[in.byte() % entryCount];
  const std::string entry = e.name, pattern = reference::patternOf(entry);
  std::vector<CONSTANT> argv;
  for (std::size_t i = 0; i < pattern.size(); ++i) argv.push_back(decode(in));
  std::vector<std::string> before;
  for (const CONSTANT& c : argv) before.push_back(snapshot(c));

  const Outcome want = expected(entry, argv);
  const bool result = e.call(argv.data());
  const std::size_t out = pattern.find('o');
  if (result != want.result) fail(entry, before, result ? "true, expected false" : "false, expected true");
  for (std::size_t i = 0; i < argv.size(); ++i)
    if ((!result || i != out) && snapshot(argv[i]) != before[i])
      fail(entry, before, "argument " + std::to_string(i) + " changed to " + snapshot(argv[i]));
  if (!result || out == std::string::npos) return 0;

  const std::string delivered = snapshot(argv[out]);
  if (want.text && delivered != "S\"" + *want.text + "\"")
    fail(entry, before, "delivered " + delivered + ", expected the String " + *want.text);
  if (want.number && delivered != "I" + std::to_string(*want.number))
    fail(entry, before, "delivered " + delivered + ", expected " + std::to_string(*want.number));

  // Check mode on the delivered value judges as the reference does; it
  // accepts it except where the definition says otherwise (the binary text
  // of a negative number reads back as 2147483647; subNat's guard x < y).
  std::string checkEntry = reference::predicateOf(entry) + "_" + std::string(pattern.size(), 'i');
  std::vector<CONSTANT> again(argv);
  const Outcome wantAgain = expected(checkEntry, again);
  if (find(checkEntry)(again.data()) != wantAgain.result) fail(entry, before, "check mode disagrees on " + delivered);
  return 0;
}
