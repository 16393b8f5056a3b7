// The full-length sweeps, in native release builds (elsewhere, emulated or
// sanitized, they would take many minutes): the loop predicates against
// their literal loops of up to 2^31 steps, and every 32-bit number through
// its decimal and binary texts and back (elsewhere a strided subset).
#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <optional>
#include <string_view>

#include "harness.h"
#include "reference/loops.h"
#include "text.h"

namespace {

namespace ref = reference::loops;
constexpr std::int32_t MAX = INT32_MAX;

// Full length in native release builds, but where MATH_N_SWEEPS=strided
// asks for the bounded form (tools/test-all's run on the other release:
// one full proof a run is enough).
bool full() {
#ifdef MATH_N_SWEEPS_FULL
  const char* sweeps = std::getenv("MATH_N_SWEEPS");
  return !sweeps || std::string_view(sweeps) != "strided";
#else
  return false;
#endif
}

TEST(Sweeps, LongestLiteralLoops) {
  if (!full()) GTEST_SKIP() << "native release builds only";
  // The inputs and the literal loop's value.
  const std::pair<const char*, std::vector<std::int32_t>> rows[] = {
      {"powNat_iii",  {3, MAX, *ref::power(3, MAX)}          },
      {"powNat_iii",  {-7, MAX - 1, *ref::power(-7, MAX - 1)}},
      {"factNat_ii",  {MAX, ref::factorial(MAX)}             },
      {"combNat_iii", {MAX, MAX / 2, ref::comb(MAX, MAX / 2)}},
      {"permNat_iii", {MAX, MAX, ref::perm(MAX, MAX)}        },
  };
  for (const auto& [entry, args] : rows) {
    std::vector<CONSTANT> argv(args.begin(), args.end());
    EXPECT_TRUE(harness::entry(entry)(argv.data())) << entry << "(" << args[0] << ", ...)";
  }
}

TEST(Sweeps, EveryNumberThroughItsTextsAndBack) {
  const std::uint64_t stride = full() ? 1 : 251;
  // Returns: the first number in [from, to) on the stride that does not read back.
  auto sweep = [stride](std::uint64_t from, std::uint64_t to) -> std::optional<std::int32_t> {
    for (std::uint64_t i = from; i < to; i += stride) {
      const std::int32_t x = std::int32_t(std::uint32_t(i));
      if (math_n::decimal_reading(math_n::decimal_text(x)) != x ||
          math_n::binary_reading(math_n::binary_text(x)) != (x < 0 ? MAX : x))
        return x;
    }
    return std::nullopt;
  };
  // The halves start at 0 and at -2147483648, so every build covers both.
  constexpr std::uint64_t middle = std::uint64_t(1) << 31;
  auto upper = std::async(std::launch::async, sweep, middle, std::uint64_t(1) << 32);
  EXPECT_EQ(sweep(0, middle), std::nullopt);
  EXPECT_EQ(upper.get(), std::nullopt);
  EXPECT_EQ(sweep(MAX, std::uint64_t(MAX) + 1), std::nullopt);
}

}  // namespace
