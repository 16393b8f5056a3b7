// Differential fuzz target: decodes its input into one entry point, an
// argument vector of any kinds (texts of odd quoting and one character
// included) and the caller's rounding mode, and checks the call against the
// model of every entry point.
#include <algorithm>
#include <array>
#include <cfenv>
#include <cstdio>
#include <cstdlib>

#include "math_N.h"
#include "reference/model.h"

namespace {

struct Entry {
  const char* name;
  reference::EntryPoint call;
} const entries[] = {
#define ENTRY_POINT(predicate, pattern, ...) {#predicate "_" #pattern, &predicate##_##pattern},
#include "entry_points.def"
#undef ENTRY_POINT
};

const std::int32_t interesting[] = {
    0,      1,     2,     3,          -1,         -2,         10,        12,
    13,     16,    27,    31,         32,         33,         34,        64,
    243,    1000,  1023,  1024,       8103,       8104,       46340,     46341,
    46342,  65536, 65537, 1166803110, 2147483646, 2147483647, INT32_MIN, INT32_MIN + 1,
    -46341, -65536};

// Reads the input front to back; an exhausted input reads as zeros.
struct Reader {
  const std::uint8_t* data;
  std::size_t size;
  std::uint8_t byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
  std::string text() {
    std::string t;
    for (std::size_t n = byte() % 41; n > 0 && size > 0; --n) t += char(byte());
    return t;
  }
  CONSTANT value() {
    switch (byte() % 6) {
      case 0: {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | byte();
        return CONSTANT(std::int32_t(v));
      }
      case 1:
        return CONSTANT(interesting[byte() % std::size(interesting)]);
      case 2:
        return CONSTANT(text().c_str(), true);
      case 3:
        return CONSTANT(text().c_str(), false);
      case 4:
        return CONSTANT();
      default:
        return CONSTANT(("\"" + text()).c_str(), true);  // stored as is: odd quoting
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in{data, size};
  const Entry& e = entries[in.byte() % std::size(entries)];
  std::vector<CONSTANT> argv;
  for (std::size_t i = 0; i < reference::patternOf(e.name).size(); ++i) argv.push_back(in.value());
  const int mode = std::array{FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}[in.byte() % 4];
  const std::string check = reference::predicateOf(e.name) + "_" + std::string(argv.size(), 'i');
  const Entry* checkEntry =
      std::find_if(std::begin(entries), std::end(entries), [&](const Entry& c) { return check == c.name; });
  const std::string error = reference::verifyCall(e.name, e.call, checkEntry->call, argv, mode);
  if (!error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::abort();
  }
  return 0;
}
