// Powers, factorials, gcd, lcm, combinations and permutations: a table of
// edge cases, and both modes of every predicate against the literal loops.
#include "reference/loops.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"

#ifndef MATH_N_LOOPS_LONG
#define MATH_N_LOOPS_LONG 0
#endif

namespace {

using namespace harness;
namespace ref = reference::loops;

// Native release builds run the literal loops up to 2^31 steps; under qemu
// and the sanitizers the literal loops are shorter. Past `budget` steps the
// reference's own shortcuts stand in for its literal loops.
constexpr bool longLoops = MATH_N_LOOPS_LONG;
constexpr std::int64_t budget = longLoops ? 1 << 16 : 1 << 10;
constexpr std::int32_t MAX = INT32_MAX, MIN = INT32_MIN;

const Row rows[] = {
  // Wrong kinds fail and leave every argument as it was.
    {"powNat_iio",  {S("2"), I(3), Null},                 fails()              },
    {"powNat_iio",  {I(2), Sym("a"), S("old")},           fails()              },
    {"powNat_iii",  {I(2), I(3), S("8")},                 fails()              },
    {"factNat_io",  {Null, I(5)},                         fails()              },
    {"factNat_ii",  {I(5), Sym("x")},                     fails()              },
    {"gcdNat_iio",  {I(4), S("6"), Null},                 fails()              },
    {"gcdNat_iii",  {I(12), I(18), Null},                 fails()              },
    {"lcmNat_iio",  {Sym("a"), I(6), Null},               fails()              },
    {"lcmNat_iii",  {I(4), I(6), S("12")},                fails()              },
    {"combNat_iio", {I(5), S("2"), I(7)},                 fails()              },
    {"combNat_iii", {I(5), I(2), Null},                   fails()              },
    {"permNat_iio", {I(5), S("2"), I(7)},                 fails()              },
    {"permNat_iii", {Sym("5"), I(2), I(20)},              fails()              },
 // The output argument is neither read nor tested.
    {"powNat_iio",  {I(2), I(10), S("old")},              gives(I(1024))       },
    {"factNat_io",  {I(5), Sym("old")},                   gives(I(120))        },
 // Powers.
    {"powNat_iio",  {I(0), I(0), Null},                   fails()              },
    {"powNat_iii",  {I(0), I(0), I(1)},                   fails()              },
    {"powNat_iii",  {I(0), I(0), I(0)},                   fails()              },
    {"powNat_iio",  {I(0), I(5), Null},                   gives(I(0))          },
    {"powNat_iio",  {I(5), I(0), Null},                   gives(I(1))          },
    {"powNat_iio",  {I(0), I(-1), Null},                  gives(I(1))          },
    {"powNat_iio",  {I(2), I(-3), Null},                  gives(I(1))          },
    {"powNat_iio",  {I(0), I(MIN), Null},                 gives(I(1))          },
    {"powNat_iio",  {I(-2), I(3), Null},                  gives(I(-8))         },
    {"powNat_iio",  {I(2), I(31), Null},                  gives(I(MIN))        },
    {"powNat_iio",  {I(2), I(32), Null},                  gives(I(0))          },
    {"powNat_iio",  {I(3), I(20), Null},                  gives(I(-808182895)) },
    {"powNat_iii",  {I(3), I(20), I(-808182895)},         holds()              },
    {"powNat_iii",  {I(2), I(10), I(1000)},               fails()              },
 // The largest exponent: x to the power 2147483647 modulo 2^32.
    {"powNat_iio",  {I(-1), I(MAX), Null},                gives(I(-1))         },
    {"powNat_iio",  {I(1), I(MAX), Null},                 gives(I(1))          },
    {"powNat_iio",  {I(2), I(MAX), Null},                 gives(I(0))          },
    {"powNat_iii",  {I(0), I(MAX), I(0)},                 holds()              },
 // Odd numbers have an order dividing 2^30 modulo 2^32: 3^(2^31-1) is 1/3.
    {"powNat_iio",  {I(3), I(MAX), Null},                 gives(I(-1431655765))},
 // Factorials.
    {"factNat_io",  {I(0), Null},                         gives(I(1))          },
    {"factNat_io",  {I(-5), Null},                        gives(I(1))          },
    {"factNat_io",  {I(MIN), Null},                       gives(I(1))          },
    {"factNat_io",  {I(12), Null},                        gives(I(479001600))  },
    {"factNat_io",  {I(13), Null},                        gives(I(1932053504)) },
    {"factNat_io",  {I(32), Null},                        gives(I(MIN))        },
    {"factNat_io",  {I(33), Null},                        gives(I(MIN))        },
    {"factNat_io",  {I(34), Null},                        gives(I(0))          },
    {"factNat_io",  {I(1000), Null},                      gives(I(0))          },
    {"factNat_io",  {I(MAX), Null},                       gives(I(0))          },
    {"factNat_ii",  {I(13), I(1932053504)},               holds()              },
    {"factNat_ii",  {I(13), I(1932053505)},               fails()              },
    {"factNat_ii",  {I(MAX), I(0)},                       holds()              },
 // Greatest common divisors: the remainder loop, whatever the signs.
    {"gcdNat_iio",  {I(12), I(18), Null},                 gives(I(6))          },
    {"gcdNat_iio",  {I(18), I(12), Null},                 gives(I(6))          },
    {"gcdNat_iio",  {I(0), I(5), Null},                   gives(I(5))          },
    {"gcdNat_iio",  {I(5), I(0), Null},                   gives(I(5))          },
    {"gcdNat_iio",  {I(0), I(0), Null},                   gives(I(0))          },
    {"gcdNat_iio",  {I(12), I(-8), Null},                 gives(I(12))         },
    {"gcdNat_iio",  {I(-5), I(0), Null},                  gives(I(-5))         },
    {"gcdNat_iio",  {I(-4), I(6), Null},                  gives(I(6))          },
    {"gcdNat_iio",  {I(-12), I(18), Null},                gives(I(18))         },
    {"gcdNat_iio",  {I(MIN), I(-1), Null},                gives(I(MIN))        },
    {"gcdNat_iio",  {I(MIN), I(MAX), Null},               gives(I(MAX))        },
    {"gcdNat_iio",  {I(1836311903), I(1134903170), Null}, gives(I(1))          },
    {"gcdNat_iii",  {I(0), I(0), I(0)},                   holds()              },
    {"gcdNat_iii",  {I(12), I(18), I(3)},                 fails()              },
 // Least common multiples, from the wrapped product.
    {"lcmNat_iio",  {I(4), I(6), Null},                   gives(I(12))         },
    {"lcmNat_iio",  {I(3), I(5), Null},                   gives(I(15))         },
    {"lcmNat_iio",  {I(0), I(5), Null},                   gives(I(0))          },
    {"lcmNat_iio",  {I(5), I(0), Null},                   gives(I(0))          },
    {"lcmNat_iio",  {I(0), I(0), Null},                   gives(I(0))          },
    {"lcmNat_iio",  {I(0), I(-3), Null},                  gives(I(0))          },
    {"lcmNat_iio",  {I(-4), I(6), Null},                  gives(I(-4))         },
    {"lcmNat_iio",  {I(4), I(-6), Null},                  gives(I(-6))         },
    {"lcmNat_iio",  {I(65536), I(65536), Null},           gives(I(0))          },
    {"lcmNat_iii",  {I(0), I(0), I(0)},                   holds()              },
    {"lcmNat_iii",  {I(0), I(0), I(1)},                   fails()              },
 // The quotient 2147483648 wraps to -2147483648.
    {"lcmNat_iio",  {I(-1), I(MIN), Null},                gives(I(MIN))        },
    {"lcmNat_iii",  {I(-1), I(MIN), I(MIN)},              holds()              },
    {"lcmNat_iio",  {I(MIN), I(-1), Null},                gives(I(1))          },
 // Combinations.
    {"combNat_iio", {I(5), I(2), Null},                   gives(I(10))         },
    {"combNat_iio", {I(5), I(3), Null},                   gives(I(10))         },
    {"combNat_iio", {I(5), I(4), Null},                   gives(I(5))          },
    {"combNat_iio", {I(5), I(1), Null},                   gives(I(5))          },
    {"combNat_iio", {I(5), I(5), Null},                   gives(I(1))          },
    {"combNat_iio", {I(5), I(0), Null},                   gives(I(0))          },
    {"combNat_iio", {I(1), I(0), Null},                   gives(I(0))          },
    {"combNat_iio", {I(0), I(0), Null},                   gives(I(1))          },
    {"combNat_iio", {I(-3), I(-3), Null},                 gives(I(1))          },
    {"combNat_iio", {I(MIN), I(MIN), Null},               gives(I(1))          },
    {"combNat_iio", {I(3), I(5), Null},                   gives(I(0))          },
    {"combNat_iio", {I(-5), I(2), Null},                  gives(I(0))          },
    {"combNat_iii", {I(5), I(0), I(0)},                   holds()              },
    {"combNat_iii", {I(5), I(0), I(1)},                   fails()              },
    {"combNat_iii", {I(0), I(0), I(1)},                   holds()              },
    {"combNat_iio", {I(33), I(16), Null},                 gives(I(1166803110)) },
    {"combNat_iio", {I(34), I(17), Null},                 gives(I(MIN))        },
    {"combNat_iio", {I(65536), I(2), Null},               gives(I(2147450880)) },
    {"combNat_iio", {I(65537), I(2), Null},               gives(I(MIN))        },
    {"combNat_iio", {I(MAX), I(MAX - 1), Null},           gives(I(MAX))        },
    {"combNat_iio", {I(MAX), I(MAX / 2), Null},           gives(I(MIN))        },
    {"combNat_iii", {I(34), I(17), I(MIN)},               holds()              },
 // Permutations.
    {"permNat_iio", {I(5), I(2), Null},                   gives(I(20))         },
    {"permNat_iio", {I(5), I(5), Null},                   gives(I(120))        },
    {"permNat_iio", {I(12), I(12), Null},                 gives(I(479001600))  },
    {"permNat_iio", {I(13), I(13), Null},                 gives(I(MIN))        },
    {"permNat_iio", {I(5), I(1), Null},                   gives(I(5))          },
    {"permNat_iio", {I(MAX), I(1), Null},                 gives(I(MAX))        },
    {"permNat_iio", {I(46341), I(2), Null},               gives(I(2147441940)) },
    {"permNat_iio", {I(46342), I(2), Null},               gives(I(MIN))        },
    {"permNat_iio", {I(5), I(0), Null},                   gives(I(0))          },
    {"permNat_iio", {I(0), I(0), Null},                   gives(I(0))          },
    {"permNat_iio", {I(-3), I(-3), Null},                 gives(I(0))          },
    {"permNat_iio", {I(3), I(5), Null},                   gives(I(0))          },
    {"permNat_iio", {I(MAX), I(MAX), Null},               gives(I(MIN))        },
    {"permNat_iii", {I(0), I(0), I(0)},                   holds()              },
    {"permNat_iii", {I(0), I(0), I(1)},                   fails()              },
    {"permNat_iii", {I(MAX), I(MAX), I(MIN)},             holds()              },
};

TEST(Loops, EdgeCases) {
  for (const Row& row : rows) checkRow(row);
}

std::string show(const std::string& name, const std::vector<std::int32_t>& in) {
  std::string s = name + "(";
  for (std::size_t i = 0; i < in.size(); ++i) s += (i ? ", " : "") + std::to_string(in[i]);
  return s + ")";
}

// Compute mode delivers `want`; check mode accepts what compute delivered and
// rejects a neighbouring value.
void expectModes(const std::string& predicate, const std::vector<std::int32_t>& in,
                 std::optional<std::int32_t> want) {
  std::string pattern(in.size(), 'i');
  std::optional<std::int32_t> got = compute(predicate + "_" + pattern + "o", in);
  EXPECT_EQ(got, want) << show(predicate, in);
  std::vector<std::int32_t> all = in;
  all.push_back(got.value_or(0));
  EXPECT_EQ(check(predicate + "_" + pattern + "i", all), got.has_value()) << show(predicate, all);
  all.back() ^= 1;
  EXPECT_FALSE(check(predicate + "_" + pattern + "i", all)) << show(predicate, all);
}

void expectPair(std::int32_t x, std::int32_t y) {
  expectModes("powNat", {x, y}, ref::power_any(x, y, budget));
  expectModes("gcdNat", {x, y}, ref::divisor(x, y));
  expectModes("lcmNat", {x, y}, ref::multiple(x, y));
  expectModes("combNat", {x, y}, ref::comb_any(x, y, budget));
  expectModes("permNat", {x, y}, ref::perm_any(x, y, budget));
}

TEST(Loops, MatchLiteralLoopsOnSmallSquare) {
  for (std::int32_t x = -40; x <= 100; ++x) {
    expectModes("factNat", {x}, ref::factorial(x));
    for (std::int32_t y = -40; y <= 100; ++y) expectPair(x, y);
  }
}

// For each loop length k, the first x whose count passes 2147483647, and
// pairs around it and around the symmetry step x / 2.
TEST(Loops, MatchLiteralLoopsAtFirstCountsPastRange) {
  for (std::int32_t k = 2; k <= 17; ++k) {
    std::int32_t low = 2 * k - 1, high = MAX;  // comb(low, k) fits, comb(high, k) does not
    while (high - low > 1) {
      std::int32_t mid = low + (high - low) / 2;
      (ref::comb(mid, k) == MIN ? high : low) = mid;
    }
    for (std::int32_t x : {high - 1, high, high + 1})
      for (std::int32_t y :
           {k - 1, k, k + 1, x / 2 - 1, x / 2, x / 2 + 1, x / 2 + 2, x - k - 1, x - k, x - k + 1})
        expectModes("combNat", {x, y}, ref::comb_any(x, y, budget));
  }
  for (std::int32_t k = 2; k <= 13; ++k) {
    std::int32_t low = k - 1, high = MAX;  // perm(low, k) fits, perm(high, k) does not
    while (high - low > 1) {
      std::int32_t mid = low + (high - low) / 2;
      (ref::perm(mid, k) == MIN ? high : low) = mid;
    }
    for (std::int32_t x : {high - 1, high, high + 1})
      for (std::int32_t y : {k - 1, k, k + 1}) expectModes("permNat", {x, y}, ref::perm_any(x, y, budget));
  }
}

// The literal loops at their full length, up to 2^31 steps: the bound 2147483647
// of the exponent, the factorial, and the counting loops.
TEST(Loops, MatchLongestLiteralLoops) {
  if (!longLoops) GTEST_SKIP() << "native release builds only";
  expectModes("powNat", {3, MAX}, ref::power(3, MAX));
  expectModes("powNat", {-7, MAX - 1}, ref::power(-7, MAX - 1));
  expectModes("factNat", {MAX}, ref::factorial(MAX));
  expectModes("combNat", {MAX, MAX / 2}, ref::comb(MAX, MAX / 2));
  expectModes("permNat", {MAX, MAX}, ref::perm(MAX, MAX));
}

// The reference's shortcuts, used above past the budget and by the fuzz
// target, agree with its literal loops wherever those are affordable.
TEST(Loops, ReferenceShortcutsMatchLiteralLoops) {
  for (std::int32_t x = -40; x <= 300; ++x) {
    EXPECT_EQ(ref::factorial_any(x, 0), ref::factorial(x)) << x;
    for (std::int32_t y = -40; y <= 300; ++y) {
      EXPECT_EQ(ref::power_any(x, y, 0), ref::power(x, y)) << x << ", " << y;
      EXPECT_EQ(ref::comb_any(x, y, 0), ref::comb(x, y)) << x << ", " << y;
      EXPECT_EQ(ref::perm_any(x, y, 0), ref::perm(x, y)) << x << ", " << y;
    }
  }
}

}  // namespace
