// Logarithms and roots: the kernels against a literal reference evaluated
// with correctly rounded MPFR functions, on every exact power and its
// neighbours and on a random sample, in each rounding mode.
#include "logroot.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "reference/logroot.h"

namespace {

constexpr std::int32_t nan_int = INT32_MIN;
using Result = std::optional<std::int32_t>;
using Function = Result (*)(std::int32_t x, std::int32_t y);  // one-argument predicates ignore y

struct Predicate {
  const char* name;
  Function kernel, reference;
};
const Predicate logNat{"logNat", [](std::int32_t x, std::int32_t y) { return math_n::logarithm(x, y); },
                       [](std::int32_t x, std::int32_t y) { return reference::logNat(x, y); }};
const Predicate log10Nat{"log10Nat",
                         [](std::int32_t x, std::int32_t) { return math_n::decimal_logarithm(x); },
                         [](std::int32_t x, std::int32_t) { return reference::log10Nat(x); }};
const Predicate log2Nat{"log2Nat", [](std::int32_t x, std::int32_t) { return math_n::binary_logarithm(x); },
                        [](std::int32_t x, std::int32_t) { return reference::log2Nat(x); }};
const Predicate lnNat{"lnNat", [](std::int32_t x, std::int32_t) { return math_n::natural_logarithm(x); },
                      [](std::int32_t x, std::int32_t) { return reference::lnNat(x); }};
const Predicate rootNat{"rootNat", [](std::int32_t x, std::int32_t y) { return math_n::root(x, y); },
                        [](std::int32_t x, std::int32_t y) { return reference::rootNat(x, y); }};
const Predicate sqrtNat{"sqrtNat",
                        [](std::int32_t x, std::int32_t) { return Result(math_n::square_root(x)); },
                        [](std::int32_t x, std::int32_t) { return Result(reference::sqrtNat(x)); }};

// Inputs with the reference's answers, computed in advance so that MPFR
// never runs under a changed rounding mode.
struct Cases {
  struct Case {
    const Predicate* predicate;
    std::int32_t x, y;
    Result want;
  };
  std::vector<Case> all;
  void add(const Predicate& p, std::int32_t x, std::int32_t y = 0) {
    all.push_back({&p, x, y, p.reference(x, y)});
  }

  // Runs every case in each rounding mode; the kernels must agree with the
  // reference and leave the mode as they found it.
  void expectAgreement() const {
    auto show = [](Result r) { return r ? std::to_string(*r) : std::string("fails"); };
    for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
      std::size_t differences = 0, modeChanges = 0;
      std::string first;
      ASSERT_EQ(std::fesetround(mode), 0);
      for (const Case& c : all) {
        Result got = c.predicate->kernel(c.x, c.y);
        if (std::fegetround() != mode && ++modeChanges) std::fesetround(mode);
        if (got != c.want && ++differences <= 10)
          first += std::string("  ") + c.predicate->name + "(" + std::to_string(c.x) + ", " +
                   std::to_string(c.y) + "): " + show(got) + ", expected " + show(c.want) + "\n";
      }
      std::fesetround(FE_TONEAREST);
      EXPECT_EQ(differences, 0u) << "rounding mode " << mode << ", " << all.size() << " cases:\n" << first;
      EXPECT_EQ(modeChanges, 0u) << "rounding mode " << mode << " changed by a call";
    }
  }
};

constexpr std::int64_t int32_max = INT32_MAX;

// Every exact power x^k < 2^31 with k >= 2, and its neighbours: the base and
// number of logNat, the index and radicand of rootNat.
TEST(LogRoot, ExactPowersMatchReference) {
  Cases cases;
  for (std::int64_t x = 2; x * x <= int32_max; ++x)
    for (std::int64_t p = x * x, k = 2; p <= int32_max; p *= x, ++k)
      for (std::int64_t y : {p - 1, p, p + 1}) {
        if (y > int32_max) continue;
        cases.add(logNat, std::int32_t(x), std::int32_t(y));
        cases.add(rootNat, std::int32_t(k), std::int32_t(y));
      }
  cases.expectAgreement();
}

TEST(LogRoot, PowersOfTwoAndTenAndSquaresMatchReference) {
  Cases cases;
  for (std::int64_t p = 1; p <= int32_max; p *= 2)
    for (std::int64_t x : {p - 1, p, p + 1})
      if (x <= int32_max) cases.add(log2Nat, std::int32_t(x));
  for (std::int64_t p = 1; p <= int32_max; p *= 10)
    for (std::int64_t x : {p - 1, p, p + 1}) cases.add(log10Nat, std::int32_t(x));
  for (std::int64_t m = 0; m * m <= int32_max; ++m)
    for (std::int64_t x : {m * m - 1, m * m, m * m + 1})
      if (x <= int32_max) cases.add(sqrtNat, std::int32_t(x));
  cases.expectAgreement();
}

// Every integer within a relative 2^-20 of e^k, where trunc(log(x)) steps.
TEST(LogRoot, NeighboursOfPowersOfEMatchReference) {
  Cases cases;
  for (int k = 0; k <= 21; ++k) {
    double centre = std::exp(double(k));
    double from = std::max(1.0, std::floor(centre * (1 - 0x1p-20)) - 2);
    double to = std::min(double(int32_max), std::ceil(centre * (1 + 0x1p-20)) + 2);
    for (double x = from; x <= to; ++x) cases.add(lnNat, std::int32_t(x));
  }
  cases.expectAgreement();
}

TEST(LogRoot, RandomInputsMatchReference) {
  std::mt19937 random(20260505);
  auto any = [&] { return std::int32_t(random()); };
  auto upTo = [&](std::int32_t top) { return std::uniform_int_distribution<std::int32_t>(1, top)(random); };
  // Log-uniform over 1..2^31-1: every magnitude equally likely.
  auto magnitude = [&] { return upTo(std::int32_t((std::uint32_t(1) << upTo(31)) - 1)); };
  Cases cases;
  for (int i = 0; i < 20000; ++i) {
    cases.add(logNat, upTo(i % 2 ? 100 : INT32_MAX), magnitude());
    cases.add(logNat, any() % 8, any() % 8);
    cases.add(log10Nat, i % 2 ? magnitude() : any());
    cases.add(log2Nat, i % 2 ? magnitude() : any());
    cases.add(lnNat, i % 2 ? magnitude() : any());
    cases.add(rootNat, i % 4 ? upTo(40) - 20 : any(), i % 2 ? magnitude() : any());
    cases.add(sqrtNat, i % 2 ? magnitude() : any());
  }
  cases.expectAgreement();
}

}  // namespace
