// Basic arithmetic and parity, and the calling convention they share with
// every entry point.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>

#include "harness.h"

namespace {

using namespace harness;

const Row rows[] = {
    // Wrong kinds: the first argument of a wrong kind fails the call and
    // leaves every argument, the output included, as it was.
    {"addNat_iio", {Sym("a"), I(4), S("old")}, fails()},
    {"addNat_iio", {I(3), S("4"), S("old")}, fails()},
    {"addNat_iio", {Null, I(4), I(9)}, fails()},
    {"addNat_iii", {I(3), I(4), S("7")}, fails()},
    {"addNat_ioi", {I(3), I(0), Sym("5")}, fails()},
    {"addNat_oii", {I(0), Null, I(5)}, fails()},
    {"subNat_iii", {S("5"), I(3), I(2)}, fails()},
    {"subNat_oii", {I(0), I(3), Sym("4")}, fails()},
    {"multNat_iio", {I(2), Sym("x"), Null}, fails()},
    {"divNat_iii", {I(7), I(2), Null}, fails()},
    {"modNat_iio", {S("7"), I(3), Null}, fails()},
    {"evenNat_i", {S("4")}, fails()},
    {"oddNat_i", {Sym("3")}, fails()},
    // The output argument is neither read nor tested: any kind is replaced.
    {"addNat_iio", {I(3), I(4), S("old")}, gives(I(7))},
    {"addNat_iio", {I(3), I(4), Sym("old")}, gives(I(7))},
    {"addNat_iio", {I(3), I(4), I(100)}, gives(I(7))},
    {"addNat_iii", {I(2147483647), I(1), I(INT32_MIN)}, holds()},
    {"addNat_iii", {I(3), I(4), I(8)}, fails()},
    {"addNat_ioi", {I(5), Null, I(3)}, fails()},
    {"addNat_ioi", {I(3), Null, I(5)}, gives(I(2))},
    {"addNat_ioi", {I(3), Null, I(3)}, gives(I(0))},
    {"addNat_ioi", {I(INT32_MIN), Null, I(2147483647)}, gives(I(-1))},
    {"addNat_oii", {Null, I(4), I(4)}, gives(I(0))},
    {"addNat_oii", {Null, I(-2), I(3)}, gives(I(5))},
    {"addNat_oii", {S("old"), I(5), I(4)}, fails()},
    {"subNat_iii", {I(5), I(3), I(2)}, holds()},
    {"subNat_iii", {I(3), I(5), I(-2)}, fails()},
    {"subNat_iio", {I(2147483647), I(-1), Null}, gives(I(INT32_MIN))},
    {"subNat_iio", {I(3), I(5), Null}, fails()},
    {"subNat_ioi", {I(5), Null, I(3)}, gives(I(2))},
    {"subNat_ioi", {I(3), Null, I(5)}, fails()},
    {"subNat_oii", {Null, I(3), I(4)}, gives(I(7))},
    {"subNat_oii", {Null, I(-5), I(2)}, gives(I(-3))},
    {"multNat_iio", {I(65536), I(65536), Null}, gives(I(0))},
    {"multNat_iii", {I(65536), I(65536), I(0)}, holds()},
    {"multNat_iio", {I(-3), I(7), Null}, gives(I(-21))},
    {"divNat_iio", {I(7), I(2), Null}, gives(I(3))},
    {"divNat_iio", {I(-7), I(2), Null}, gives(I(-3))},
    {"divNat_iio", {I(7), I(-2), Null}, gives(I(-3))},
    {"divNat_iio", {I(7), I(0), S("old")}, fails()},
    {"divNat_iii", {I(7), I(0), I(0)}, fails()},
    {"divNat_iii", {I(7), I(2), I(3)}, holds()},
    {"modNat_iio", {I(7), I(3), Null}, gives(I(1))},
    {"modNat_iio", {I(-7), I(2), Null}, gives(I(-1))},
    {"modNat_iio", {I(7), I(-2), Null}, gives(I(1))},
    {"modNat_iio", {I(7), I(0), Null}, fails()},
    {"modNat_iii", {I(7), I(0), I(7)}, fails()},
    // The quotient without a 32-bit value wraps; its remainder is exactly 0.
    {"divNat_iio", {I(INT32_MIN), I(-1), Null}, gives(I(INT32_MIN))},
    {"divNat_iii", {I(INT32_MIN), I(-1), I(INT32_MIN)}, holds()},
    {"modNat_iio", {I(INT32_MIN), I(-1), Null}, gives(I(0))},
    {"modNat_iii", {I(INT32_MIN), I(-1), I(0)}, holds()},
    {"evenNat_i", {I(0)}, holds()},
    {"evenNat_i", {I(4)}, holds()},
    {"evenNat_i", {I(-4)}, holds()},
    {"evenNat_i", {I(INT32_MIN)}, holds()},
    {"evenNat_i", {I(3)}, fails()},
    {"evenNat_i", {I(-3)}, fails()},
    {"oddNat_i", {I(1)}, holds()},
    {"oddNat_i", {I(3)}, holds()},
    {"oddNat_i", {I(2147483647)}, holds()},
    {"oddNat_i", {I(0)}, fails()},
    {"oddNat_i", {I(2)}, fails()},
    {"oddNat_i", {I(-1)}, fails()},
    {"oddNat_i", {I(-3)}, fails()},
};

TEST(Arithmetic, EdgeCases) {
  for (const Row& row : rows) checkRow(row);
}

// A literal reference: 64-bit arithmetic, then the low 32 bits.
using Ref = std::optional<std::int64_t>;
std::int32_t low32(std::int64_t v) {
  v &= 0xffffffffLL;
  return std::int32_t(v >= 0x80000000LL ? v - 0x100000000LL : v);
}

// Each family's value from (x, y, z) with the open argument ignored, or
// nothing where the guard refuses.
const std::map<std::string, std::function<Ref(std::int64_t, std::int64_t, std::int64_t)>> reference = {
    {"addNat_iii", [](auto x, auto y, auto) -> Ref { return x + y; }},
    {"addNat_iio", [](auto x, auto y, auto) -> Ref { return x + y; }},
    {"addNat_ioi", [](auto x, auto, auto z) -> Ref { return z < x ? Ref() : z - x; }},
    {"addNat_oii", [](auto, auto y, auto z) -> Ref { return z < y ? Ref() : z - y; }},
    {"subNat_iii", [](auto x, auto y, auto) -> Ref { return x < y ? Ref() : x - y; }},
    {"subNat_iio", [](auto x, auto y, auto) -> Ref { return x < y ? Ref() : x - y; }},
    {"subNat_ioi", [](auto x, auto, auto z) -> Ref { return x < z ? Ref() : x - z; }},
    {"subNat_oii", [](auto, auto y, auto z) -> Ref { return z + y; }},
    {"multNat_iii", [](auto x, auto y, auto) -> Ref { return x * y; }},
    {"multNat_iio", [](auto x, auto y, auto) -> Ref { return x * y; }},
    {"divNat_iii", [](auto x, auto y, auto) -> Ref { return y == 0 ? Ref() : x / y; }},
    {"divNat_iio", [](auto x, auto y, auto) -> Ref { return y == 0 ? Ref() : x / y; }},
    {"modNat_iii", [](auto x, auto y, auto) -> Ref { return y == 0 ? Ref() : x % y; }},
    {"modNat_iio", [](auto x, auto y, auto) -> Ref { return y == 0 ? Ref() : x % y; }},
};

void compareWithReference(std::int32_t x, std::int32_t y, std::int32_t z) {
  for (const auto& [name, value] : reference) {
    Ref want = value(x, y, z);
    int out = outputIndex(name);
    std::vector<std::int32_t> all = {x, y, z};
    if (out < 0) {
      // Check mode: against the supplied z and against the reference value.
      for (std::int32_t candidate : {z, want ? low32(*want) : z}) {
        bool expected = want && low32(*want) == candidate;
        EXPECT_EQ(check(name, {x, y, candidate}), expected) << name << "(" << x << ", " << y << ", " << candidate << ")";
      }
    } else {
      all.erase(all.begin() + out);
      std::optional<std::int32_t> got = compute(name, all);
      EXPECT_EQ(got.has_value(), want.has_value()) << name << "(" << x << ", " << y << ", " << z << ")";
      if (got && want) EXPECT_EQ(*got, low32(*want)) << name << "(" << x << ", " << y << ", " << z << ")";
    }
  }
  EXPECT_EQ(check("evenNat_i", {x}), x % 2 == 0) << x;
  EXPECT_EQ(check("oddNat_i", {x}), x % 2 == 1) << x;
}

const std::int32_t boundaries[] = {INT32_MIN, INT32_MIN + 1, -65536, -46341, -7, -2, -1, 0, 1, 2, 3, 7, 46341, 65536, 2147483646, 2147483647};

TEST(Arithmetic, MatchesLiteralReferenceOnBoundaries) {
  for (std::int32_t x : boundaries)
    for (std::int32_t y : boundaries)
      for (std::int32_t z : boundaries) compareWithReference(x, y, z);
}

TEST(Arithmetic, MatchesLiteralReferenceOnRandomInputs) {
  std::mt19937 random(20261205);
  std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX), small(-100, 100);
  for (int i = 0; i < 20000; ++i) {
    auto pick = [&] { return i % 2 ? any(random) : small(random); };
    compareWithReference(pick(), pick(), pick());
  }
}

}  // namespace
