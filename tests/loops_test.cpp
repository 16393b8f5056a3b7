// The loop predicates against their literal loops at full length, up to
// 2^31 steps (native release builds; elsewhere they would take many
// minutes), and the reference's shortcuts against its literal loops.
#include "reference/loops.h"

#include <gtest/gtest.h>

#include "harness.h"

namespace {

namespace ref = reference::loops;
constexpr std::int32_t MAX = INT32_MAX;

TEST(Loops, LongestLiteralLoops) {
#ifndef MATH_N_LOOPS_LONG
  GTEST_SKIP() << "native release builds only";
#endif
  const struct {
    const char* entry;
    std::int32_t x, y, want;
  } rows[] = {
      {"powNat_iii", 3,       MAX,           *ref::power(3,       MAX)    },
      {"powNat_iii", -7,      MAX - 1,       *ref::power(-7,      MAX - 1)},
      {"factNat_ii", MAX,     0,             ref::factorial(MAX)},
      {"combNat_iii",         MAX, MAX / 2, ref::comb(MAX,            MAX / 2)        },
      {"permNat_iii",         MAX,     MAX, ref::perm(MAX,                MAX)},
  };
  for (const auto& row : rows) {
    std::vector<CONSTANT> argv = {CONSTANT(row.x), CONSTANT(row.y), CONSTANT(row.want)};
    if (std::string(row.entry) == "factNat_ii") argv.erase(argv.begin() + 1);
    EXPECT_TRUE(harness::entry(row.entry)(argv.data())) << row.entry << "(" << row.x << ", " << row.y << ")";
  }
}

TEST(Loops, ShortcutsMatchLiteralLoops) {
  for (std::int32_t x = -40; x <= 300; ++x) {
    EXPECT_EQ(ref::factorial_any(x), ref::factorial(x)) << x;
    for (std::int32_t y = -40; y <= 300; ++y) {
      ASSERT_EQ(ref::power_any(x, y, 0), ref::power(x, y)) << x << ", " << y;
      ASSERT_EQ(ref::comb_any(x, y), ref::comb(x, y)) << x << ", " << y;
      ASSERT_EQ(ref::perm_any(x, y), ref::perm(x, y)) << x << ", " << y;
    }
  }
}

}  // namespace
