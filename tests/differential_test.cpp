// Every entry point against the model built from the literal references
// (the value, "false changes nothing", "check mode changes nothing", check
// mode's verdict on what compute mode delivered, the caller's rounding mode
// left alone and of no effect) on boundary, random and critical vectors; and
// threads making the same calls at once see what one thread sees.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <future>
#include <random>

#include "harness.h"
#include "reference/model.h"

namespace {

using namespace harness;
constexpr std::int32_t MIN = INT32_MIN, MAX = INT32_MAX;

// Returns: the rounding modes that this platform lets a program set, keeps
// and rounds by (1/10 and -1/10 tell the four apart; through volatile
// memory, against folding and x87 excess precision), to nearest first;
// prints those it leaves out (ARM without an FPU refuses all but nearest).
std::vector<int> settableModes() {
  volatile double one = 1, minusOne = -1, ten = 10;
  const volatile double above = one / ten;  // to nearest, the start-up mode, rounds 1/10 up
  std::vector<int> kept;
  for (const auto& [mode, name] : {std::pair{FE_TONEAREST, "to nearest"}, {FE_UPWARD, "upward"},
                                   {FE_DOWNWARD, "downward"}, {FE_TOWARDZERO, "toward zero"}}) {
    const bool set = std::fesetround(mode) == 0;
    const volatile double tenth = one / ten, minusTenth = minusOne / ten;
    if (set && std::fegetround() == mode && (tenth == above) == (mode == FE_TONEAREST || mode == FE_UPWARD) &&
        (minusTenth == -above) == (mode == FE_TONEAREST || mode == FE_DOWNWARD))
      kept.push_back(mode);
    else
      std::printf("Rounding %s not tested: this platform %s it.\n", name, set ? "does not keep or obey" : "refuses");
    std::fesetround(FE_TONEAREST);
  }
  return kept;
}
const std::vector<int> modes = settableModes();

void verify(const std::string& name, std::vector<CONSTANT> argv, int mode = FE_TONEAREST) {
  const std::string check = reference::predicateOf(name) + "_" + std::string(argv.size(), 'i');
  EXPECT_EQ(reference::verifyCall(name, entry(name), entry(check), argv, mode), "");
}

// Returns: the inputs as Integers, then the output, a NullConst.
std::vector<CONSTANT> withOutput(const std::vector<std::int32_t>& inputs) {
  std::vector<CONSTANT> args(inputs.begin(), inputs.end());
  args.push_back(Null);
  return args;
}

// clang-format off
const std::int32_t boundaries[] = {MIN, MIN + 1, -65536, -46341, -7, -2, -1, 0, 1, 2, 3, 7, 10, 12, 13, 27, 32, 33,
                                   34, 243, 1000, 46341, 65536, 65537, 2147483646, MAX};
const std::int32_t compared[] = {MIN, -1, 0, 1, 2, 3, 5, MAX};
const char* const texts[] = {"", "0", "101", "  -42", "+7", "7apples", "0b101", "x12", "2147483648", "-2147483649",
                             "11111111111111111111111111111111", "-10000000000000000000000000000000"};
// clang-format on

// Returns: the values tried at one position: what the entry point reads
// there, the other kind and a Symbol; an output slot holds a String before
// the call.
std::vector<CONSTANT> candidates(const std::string& name, std::size_t at) {
  if (int(at) == outputIndex(name)) return {S("previous")};
  std::vector<CONSTANT> values;
  if (reference::readsText(name, at)) {
    for (const char* text : texts) values.push_back(S(text));
    values.push_back(I(101));
    values.push_back(Sym("101"));
    return values;
  }
  bool checked = outputIndex(name) < 0 && at + 1 == reference::patternOf(name).size() && at > 0;
  for (std::int32_t n : checked ? std::vector(std::begin(compared), std::end(compared))
                                : std::vector(std::begin(boundaries), std::end(boundaries)))
    values.push_back(I(n));
  values.push_back(S("7"));
  values.push_back(Sym("7"));
  return values;
}

TEST(Differential, EveryEntryPointOnBoundaryVectors) {
  for (const std::string& name : entryNames) {
    std::vector<std::vector<CONSTANT>> at;
    for (std::size_t i = 0; i < reference::patternOf(name).size(); ++i) at.push_back(candidates(name, i));
    std::vector<std::size_t> pick(at.size(), 0);
    for (std::size_t i = 0; i < at.size();) {
      std::vector<CONSTANT> args;
      for (std::size_t k = 0; k < at.size(); ++k) args.push_back(at[k][pick[k]]);
      verify(name, args);
      for (i = 0; i < at.size() && ++pick[i] == at[i].size(); ++i) pick[i] = 0;
    }
  }
}

// Each thread on its own argument vectors, outputs holding texts.
TEST(Differential, ThreadsSeeWhatOneThreadSees) {
  auto runAll = [] {
    std::string seen;
    for (const std::string& name : entryNames)
      for (std::size_t k = 0; k < 9; ++k) {
        std::vector<CONSTANT> argv;
        for (std::size_t i = 0; i < reference::patternOf(name).size(); ++i)
          argv.push_back(candidates(name, i)[(k + 3 * i) % candidates(name, i).size()]);
        seen += entry(name)(argv.data()) ? "\ntrue" : "\nfalse";
        for (const CONSTANT& c : argv) seen += " " + reference::snapshot(c);
      }
    return seen;
  };
  const std::string expected = runAll();
  std::vector<std::future<int>> mismatches;
  for (int t = 0; t < 4; ++t)
    mismatches.push_back(std::async(std::launch::async, [&] {
      int wrong = 0;
      for (int round = 0; round < 20; ++round) wrong += runAll() != expected;
      return wrong;
    }));
  for (std::future<int>& thread : mismatches) EXPECT_EQ(thread.get(), 0);
}

// Returns: a text mixing white space (of the C locale and of others), signs,
// digits and junk, with runs long enough to pass the 32-bit bounds.
std::string randomText(std::mt19937& random) {
  static const std::string parts[] = {" \t\n\v\f\r", "+-",         "0123456789",
                                      "01",          "0000000001", "ab.\"\x85\xa0\x1f\x7f\xff"};
  std::string text;
  for (int p = int(random() % 7); p > 0; --p) {
    const std::string& from = parts[random() % 6];
    for (int n = from == parts[1] ? 1 : int(1 + random() % 40); n > 0; --n)
      text += from[random() % from.size()];
  }
  return text;
}

TEST(Differential, EveryEntryPointOnRandomVectorsInEveryRoundingMode) {
  ASSERT_FALSE(modes.empty()) << "no rounding mode to test in";
  std::mt19937 random(20261205);
  std::uniform_int_distribution<std::int32_t> any(MIN, MAX), small(-100, 100);
  auto number = [&](int i) { return i % 3 == 0 ? small(random) : any(random) >> (i % 31); };
  for (const std::string& name : entryNames)
    for (int i = 0; i < 2000; ++i) {
      std::vector<CONSTANT> args;
      for (std::size_t k = 0; k < reference::patternOf(name).size(); ++k)
        args.push_back(int(k) == outputIndex(name)      ? Null
                       : !reference::readsText(name, k) ? I(number(i + int(k)))
                       : i % 2                          ? S(std::to_string(number(i)))
                                                        : S(randomText(random)));
      verify(name, args, modes[std::size_t(i) % modes.size()]);
    }
}

TEST(Differential, LoopPredicatesOnEverySmallPair) {
  for (std::int32_t x = -40; x <= 100; ++x) {
    verify("factNat_io", withOutput({x}));
    for (std::int32_t y = -40; y <= 100; ++y)
      for (const char* name : {"powNat_iio", "gcdNat_iio", "lcmNat_iio", "combNat_iio", "permNat_iio"})
        verify(name, withOutput({x, y}));
  }
}

// For each loop length k, the first x whose count passes 2147483647, and
// pairs around it and around the symmetry step x / 2.
TEST(Differential, CountsAroundTheFirstPastTheRange) {
  for (const char* name : {"combNat_iio", "permNat_iio"}) {
    const bool comb = name[0] == 'c';
    for (std::int32_t k = 2; k <= (comb ? 17 : 13); ++k) {
      std::int32_t low = comb ? 2 * k - 1 : k - 1, high = MAX;  // low's count fits, high's does not
      while (high - low > 1) {
        std::int32_t mid = low + (high - low) / 2;
        const std::int32_t count = comb ? reference::loops::comb(mid, k) : reference::loops::perm(mid, k);
        if (count == MIN)
          high = mid;
        else
          low = mid;
      }
      for (std::int32_t x : {high - 1, high, high + 1})
        for (std::int32_t y :
             {k - 1, k, k + 1, x / 2 - 1, x / 2, x / 2 + 1, x / 2 + 2, x - k - 1, x - k, x - k + 1})
          if (comb || y <= k + 1) verify(name, withOutput({x, y}));
    }
  }
}

// The model's value is made once for each input; the entry point must
// deliver it in every rounding mode.
TEST(Differential, LogarithmsAndRootsAtTheirCriticalInputsInEveryRoundingMode) {
  std::vector<std::pair<const char*, std::vector<std::int32_t>>> calls;
  auto add = [&](const char* name, std::vector<std::int64_t> in) {
    if (in.back() <= MAX) calls.push_back({name, std::vector<std::int32_t>(in.begin(), in.end())});
  };
  // Every exact power x^k < 2^31 with k >= 2 and its neighbours, as the
  // number of logNat and the radicand of rootNat.
  for (std::int64_t x = 2; x * x <= MAX; ++x)
    for (std::int64_t p = x * x, k = 2; p <= MAX; p *= x, ++k)
      for (std::int64_t y : {p - 1, p, p + 1}) {
        add("logNat_iio", {x, y});
        add("rootNat_iio", {k, y});
      }
  for (std::int64_t p = 1; p <= MAX; p *= 2)
    for (std::int64_t x : {p - 1, p, p + 1}) add("log2Nat_io", {x});
  for (std::int64_t p = 1; p <= MAX; p *= 10)
    for (std::int64_t x : {p - 1, p, p + 1}) add("log10Nat_io", {x});
  for (std::int64_t m = 0; m * m <= MAX; ++m)
    for (std::int64_t x : {m * m - 1, m * m, m * m + 1}) add("sqrtNat_io", {x});
  // Every integer within a relative 2^-20 of e^k, where trunc(log(x)) steps.
  for (int k = 0; k <= 21; ++k)
    for (double x = std::max(1.0, std::floor(std::exp(k) * (1 - 0x1p-20)) - 2);
         x <= std::exp(k) * (1 + 0x1p-20) + 2; ++x)
      add("lnNat_io", {std::int64_t(x)});
  int wrong = 0;
  auto show = [](std::optional<std::int32_t> v) { return v ? std::to_string(*v) : "false"; };
  for (const auto& [name, in] : calls) {
    const std::optional<std::int32_t> want = reference::value(name, {in[0], in.back(), 0}, "");
    const EntryPoint call = entry(name);
    for (int mode : modes) {
      std::vector<CONSTANT> argv = withOutput(in);
      bool kept = true;
      const bool result = reference::callIn(mode, call, argv.data(), kept);
      const auto got = result && argv.back().isInt() ? argv.back().toInt() : std::optional<std::int32_t>();
      if ((got != want || !kept) && ++wrong <= 10)
        ADD_FAILURE() << name << "(" << in[0] << ", " << in.back() << ") in mode " << mode << ": "
                      << show(got) << (kept ? "" : ", mode changed") << ", expected " << show(want);
    }
  }
  EXPECT_EQ(wrong, 0) << "of " << calls.size() << " inputs in " << modes.size() << " modes";
}

}  // namespace
