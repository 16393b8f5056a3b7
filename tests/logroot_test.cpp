// Logarithms and roots: the described edge cases, and the kernels against a
// literal reference evaluated with correctly rounded MPFR functions, on every
// exact power and its neighbours and on a random sample, in each rounding mode.
#include "logroot.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"
#include "reference/logroot.h"

namespace {

using namespace harness;
constexpr std::int32_t nan_int = INT32_MIN;

const Row rows[] = {
    {"logNat_iio",  {I(10), I(1000), Null},       gives(I(2))      },
    {"logNat_iii",  {I(10), I(1000), I(2)},       holds()          },
    {"logNat_iii",  {I(10), I(1000), I(3)},       fails()          },
    {"logNat_iio",  {I(3), I(243), Null},         gives(I(4))      },
    {"logNat_iio",  {I(2), I(1), Null},           gives(I(0))      },
    {"logNat_iio",  {I(2), I(2147483647), Null},  gives(I(30))     },
    {"logNat_iio",  {I(2), I(8), Null},           gives(I(3))      },
    {"logNat_iio",  {I(1), I(5), Null},           fails()          },
    {"logNat_iio",  {I(2), I(0), Null},           fails()          },
    {"logNat_iio",  {I(0), I(0), Null},           fails()          },
    {"logNat_iio",  {I(-2), I(8), Null},          fails()          },
    {"logNat_iii",  {I(1), I(5), I(0)},           fails()          },
    {"log10Nat_io", {I(1000), Null},              gives(I(3))      },
    {"log10Nat_io", {I(999), Null},               gives(I(2))      },
    {"log10Nat_io", {I(1), Null},                 gives(I(0))      },
    {"log10Nat_io", {I(2147483647), Null},        gives(I(9))      },
    {"log10Nat_io", {I(0), Null},                 fails()          },
    {"log10Nat_io", {I(-10), Null},               fails()          },
    {"log10Nat_ii", {I(1000), I(3)},              holds()          },
    {"log10Nat_ii", {I(0), I(0)},                 fails()          },
    {"log2Nat_io",  {I(1023), Null},              gives(I(9))      },
    {"log2Nat_io",  {I(1), Null},                 gives(I(0))      },
    {"log2Nat_io",  {I(2147483647), Null},        gives(I(30))     },
    {"log2Nat_io",  {I(8), Null},                 gives(I(3))      },
    {"log2Nat_io",  {I(2), Null},                 gives(I(1))      },
    {"log2Nat_io",  {I(0), Null},                 fails()          },
    {"log2Nat_ii",  {I(1024), I(10)},             holds()          },
    {"log2Nat_ii",  {I(-4), I(2)},                fails()          },
    {"lnNat_io",    {I(1), Null},                 gives(I(0))      },
    {"lnNat_io",    {I(2), Null},                 gives(I(0))      },
    {"lnNat_io",    {I(3), Null},                 gives(I(1))      },
    {"lnNat_io",    {I(8103), Null},              gives(I(8))      },
    {"lnNat_io",    {I(8104), Null},              gives(I(9))      },
    {"lnNat_io",    {I(2147483647), Null},        gives(I(21))     },
    {"lnNat_io",    {I(0), Null},                 fails()          },
    {"lnNat_ii",    {I(8104), I(9)},              holds()          },
    {"lnNat_ii",    {I(8103), I(9)},              fails()          },
    {"rootNat_iio", {I(2), I(16), Null},          gives(I(4))      },
    {"rootNat_iio", {I(3), I(64), Null},          gives(I(3))      },
    {"rootNat_iio", {I(3), I(27), Null},          gives(I(3))      },
    {"rootNat_iii", {I(3), I(64), I(3)},          holds()          },
    {"rootNat_iii", {I(3), I(64), I(4)},          fails()          },
    {"rootNat_iio", {I(1), I(-7), Null},          gives(I(-7))     },
    {"rootNat_iio", {I(-1), I(1), Null},          gives(I(1))      },
    {"rootNat_iio", {I(-1), I(-1), Null},         gives(I(-1))     },
    {"rootNat_iio", {I(-1), I(2), Null},          gives(I(0))      },
    {"rootNat_iio", {I(-1), I(0), Null},          gives(I(nan_int))},
    {"rootNat_iio", {I(5), I(0), Null},           gives(I(0))      },
    {"rootNat_iio", {I(2), I(-4), Null},          gives(I(nan_int))},
    {"rootNat_iio", {I(0), I(8), Null},           fails()          },
    {"rootNat_iii", {I(0), I(8), I(0)},           fails()          },
    {"sqrtNat_io",  {I(16), Null},                gives(I(4))      },
    {"sqrtNat_io",  {I(15), Null},                gives(I(3))      },
    {"sqrtNat_io",  {I(0), Null},                 gives(I(0))      },
    {"sqrtNat_io",  {I(2147483647), Null},        gives(I(46340))  },
    {"sqrtNat_io",  {I(-1), Null},                gives(I(nan_int))},
    {"sqrtNat_ii",  {I(-9), I(nan_int)},          holds()          },
    {"sqrtNat_ii",  {I(-9), I(3)},                fails()          },
 // Wrong kinds: a read argument that is not an Integer fails the call and
  // the output, whatever it holds, is left as it was.
    {"logNat_iio",  {S("10"), I(1000), S("old")}, fails()          },
    {"logNat_iio",  {I(10), Sym("a"), I(5)},      fails()          },
    {"logNat_iii",  {I(10), I(1000), S("2")},     fails()          },
    {"log10Nat_io", {Sym("x"), S("old")},         fails()          },
    {"log10Nat_ii", {I(1000), Null},              fails()          },
    {"log2Nat_io",  {Null, Sym("old")},           fails()          },
    {"log2Nat_ii",  {S("8"), I(3)},               fails()          },
    {"lnNat_io",    {S("3"), I(7)},               fails()          },
    {"lnNat_ii",    {I(3), Sym("1")},             fails()          },
    {"rootNat_iio", {I(2), S("16"), S("old")},    fails()          },
    {"rootNat_iio", {Null, I(16), I(1)},          fails()          },
    {"rootNat_iii", {I(2), I(16), S("4")},        fails()          },
    {"sqrtNat_io",  {S("16"), S("old")},          fails()          },
    {"sqrtNat_ii",  {I(16), Sym("4")},            fails()          },
 // The output argument is neither read nor tested: any kind is replaced.
    {"logNat_iio",  {I(2), I(1024), S("old")},    gives(I(10))     },
    {"log10Nat_io", {I(100), Sym("old")},         gives(I(2))      },
    {"log2Nat_io",  {I(1024), I(77)},             gives(I(10))     },
    {"lnNat_io",    {I(3), S("old")},             gives(I(1))      },
    {"rootNat_iio", {I(2), I(16), S("old")},      gives(I(4))      },
    {"sqrtNat_io",  {I(16), Sym("old")},          gives(I(4))      },
};

TEST(LogRoot, EdgeCases) {
  for (const Row& row : rows) checkRow(row);
}

using Result = std::optional<std::int32_t>;

// One input of one kernel with the reference's answer, computed in advance so
// that MPFR never runs under a changed rounding mode.
struct Case {
  const char* name;
  std::function<Result()> kernel;
  std::int32_t x, y;
  Result want;
};

struct Cases {
  std::vector<Case> all;
  void logNat(std::int32_t x, std::int32_t y) {
    all.push_back({"logNat", [=] { return math_n::logarithm(x, y); }, x, y, reference::logNat(x, y)});
  }
  void log10Nat(std::int32_t x) {
    all.push_back({"log10Nat", [=] { return math_n::decimal_logarithm(x); }, x, 0, reference::log10Nat(x)});
  }
  void log2Nat(std::int32_t x) {
    all.push_back({"log2Nat", [=] { return math_n::binary_logarithm(x); }, x, 0, reference::log2Nat(x)});
  }
  void lnNat(std::int32_t x) {
    all.push_back({"lnNat", [=] { return math_n::natural_logarithm(x); }, x, 0, reference::lnNat(x)});
  }
  void rootNat(std::int32_t x, std::int32_t y) {
    all.push_back({"rootNat", [=] { return math_n::root(x, y); }, x, y, reference::rootNat(x, y)});
  }
  void sqrtNat(std::int32_t x) {
    all.push_back({"sqrtNat", [=] { return Result(math_n::square_root(x)); }, x, 0, reference::sqrtNat(x)});
  }
};

std::string show(const Result& r) { return r ? std::to_string(*r) : std::string("fails"); }

// Runs every case in each rounding mode; the kernels must agree with the
// reference and leave the mode as they found it.
void expectAgreement(const Cases& cases) {
  for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    std::size_t differences = 0, modeChanges = 0;
    std::ostringstream first;
    ASSERT_EQ(std::fesetround(mode), 0);
    for (const Case& c : cases.all) {
      Result got = c.kernel();
      bool modeKept = std::fegetround() == mode;
      if (!modeKept) {
        ++modeChanges;
        std::fesetround(mode);
      }
      if (got != c.want && ++differences <= 10)
        first << "  " << c.name << "(" << c.x << ", " << c.y << "): " << show(got) << ", expected "
              << show(c.want) << "\n";
    }
    std::fesetround(FE_TONEAREST);
    EXPECT_EQ(differences, 0u) << "rounding mode " << mode << ", " << cases.all.size() << " cases:\n"
                               << first.str();
    EXPECT_EQ(modeChanges, 0u) << "rounding mode " << mode << " changed by a call";
  }
}

constexpr std::int64_t int32_max = INT32_MAX;

// Every exact power x^k < 2^31 with k >= 2, and its neighbours: the base and
// number of logNat, the index and radicand of rootNat.
TEST(LogRoot, ExactPowersMatchReference) {
  Cases cases;
  for (std::int64_t x = 2; x * x <= int32_max; ++x)
    for (std::int64_t p = x * x, k = 2; p <= int32_max; p *= x, ++k)
      for (std::int64_t y : {p - 1, p, p + 1}) {
        if (y > int32_max) continue;
        cases.logNat(std::int32_t(x), std::int32_t(y));
        cases.rootNat(std::int32_t(k), std::int32_t(y));
      }
  expectAgreement(cases);
}

TEST(LogRoot, PowersOfTwoAndTenAndSquaresMatchReference) {
  Cases cases;
  for (std::int64_t p = 1; p <= int32_max; p *= 2)
    for (std::int64_t x : {p - 1, p, p + 1})
      if (x <= int32_max) cases.log2Nat(std::int32_t(x));
  for (std::int64_t p = 1; p <= int32_max; p *= 10)
    for (std::int64_t x : {p - 1, p, p + 1}) cases.log10Nat(std::int32_t(x));
  for (std::int64_t m = 0; m * m <= int32_max; ++m)
    for (std::int64_t x : {m * m - 1, m * m, m * m + 1})
      if (x <= int32_max) cases.sqrtNat(std::int32_t(x));
  expectAgreement(cases);
}

// Every integer within a relative 2^-20 of e^k, where trunc(log(x)) steps.
TEST(LogRoot, NeighboursOfPowersOfEMatchReference) {
  Cases cases;
  for (int k = 0; k <= 21; ++k) {
    double centre = std::exp(double(k));
    double from = std::max(1.0, std::floor(centre * (1 - 0x1p-20)) - 2);
    double to = std::min(double(int32_max), std::ceil(centre * (1 + 0x1p-20)) + 2);
    for (double x = from; x <= to; ++x) cases.lnNat(std::int32_t(x));
  }
  expectAgreement(cases);
}

TEST(LogRoot, RandomInputsMatchReference) {
  std::mt19937 random(20260505);
  auto any = [&] { return std::int32_t(random()); };
  auto upTo = [&](std::int32_t top) { return std::uniform_int_distribution<std::int32_t>(1, top)(random); };
  // Log-uniform over 1..2^31-1: every magnitude equally likely.
  auto magnitude = [&] { return upTo(std::int32_t((std::uint32_t(1) << upTo(31)) - 1)); };
  Cases cases;
  for (int i = 0; i < 20000; ++i) {
    cases.logNat(upTo(i % 2 ? 100 : INT32_MAX), magnitude());
    cases.logNat(any() % 8, any() % 8);
    cases.log10Nat(i % 2 ? magnitude() : any());
    cases.log2Nat(i % 2 ? magnitude() : any());
    cases.lnNat(i % 2 ? magnitude() : any());
    cases.rootNat(i % 4 ? upTo(40) - 20 : any(), i % 2 ? magnitude() : any());
    cases.sqrtNat(i % 2 ? magnitude() : any());
  }
  expectAgreement(cases);
}

}  // namespace
