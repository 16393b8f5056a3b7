// Every entry point against the model built from the literal references:
// the value, "false changes nothing", "check mode changes nothing", and check
// mode's verdict on what compute mode delivered. Vectors: boundary values
// crossed with texts of every shape and wrong kinds, seeded random ones, all
// small pairs of the loop predicates, and the pairs whose counts first pass
// 2147483647.
#include <gtest/gtest.h>

#include <random>

#include "harness.h"
#include "reference/model.h"

namespace {

using namespace harness;
constexpr std::int32_t MIN = INT32_MIN, MAX = INT32_MAX;

void verify(const std::string& name, const std::vector<V>& args) {
  std::vector<CONSTANT> argv = make(args);
  const std::string check = reference::predicateOf(name) + "_" + std::string(args.size(), 'i');
  EXPECT_EQ(reference::verifyCall(name, entry(name), entry(check), argv), "");
}

// Calls `name` with the given inputs in order, its output slot a NullConst.
void verifyInputs(const std::string& name, const std::vector<std::int32_t>& inputs) {
  std::vector<V> args;
  for (std::size_t i = 0, n = 0; n < inputs.size() || int(i) == outputIndex(name); ++i)
    args.push_back(int(i) == outputIndex(name) ? Null : I(inputs[n++]));
  verify(name, args);
}

const std::int32_t boundaries[] = {MIN, MIN + 1, -65536, -46341, -7,    -2,    -1,         0,  1,
                                   2,   3,       7,      10,     12,    13,    27,         32, 33,
                                   34,  243,     1000,   46341,  65536, 65537, 2147483646, MAX};
const std::int32_t compared[] = {MIN, -1, 0, 1, 2, 3, 5, MAX};
const char* const texts[] = {"",
                             "0",
                             "101",
                             "  -42",
                             "+7",
                             "7apples",
                             "0b101",
                             "x12",
                             "2147483648",
                             "-2147483649",
                             "11111111111111111111111111111111",
                             "-10000000000000000000000000000000"};

// The values tried at one position: what the entry point reads there, and
// a wrong kind; an output slot holds a String before the call.
std::vector<V> candidates(const std::string& name, std::size_t at) {
  if (int(at) == outputIndex(name)) return {S("previous")};
  std::vector<V> values;
  if (reference::readsText(name, at)) {
    for (const char* text : texts) values.push_back(S(text));
    values.push_back(I(101));
    return values;
  }
  bool checked = outputIndex(name) < 0 && at + 1 == reference::patternOf(name).size() && at > 0;
  if (checked)
    for (std::int32_t n : compared) values.push_back(I(n));
  else
    for (std::int32_t n : boundaries) values.push_back(I(n));
  values.push_back(Sym("a"));
  return values;
}

TEST(Differential, EveryEntryPointOnBoundaryVectors) {
  for (const std::string& name : entryNames()) {
    std::vector<std::vector<V>> at;
    for (std::size_t i = 0; i < reference::patternOf(name).size(); ++i) at.push_back(candidates(name, i));
    std::vector<std::size_t> pick(at.size(), 0);
    for (std::size_t i = 0; i < at.size();) {
      std::vector<V> args;
      for (std::size_t k = 0; k < at.size(); ++k) args.push_back(at[k][pick[k]]);
      verify(name, args);
      for (i = 0; i < at.size() && ++pick[i] == at[i].size(); ++i) pick[i] = 0;
    }
  }
}

// Texts mixing white space (of the C locale and of others), signs, digits
// and junk, with runs long enough to pass the 32-bit bounds.
std::string randomText(std::mt19937& random) {
  static const std::string parts[] = {" \t\n\v\f\r", "+-",         "0123456789",
                                      "01",          "0000000001", "ab.xX\"'\x85\xa0\x1f/:\x7f\xff"};
  std::string text;
  for (int p = int(random() % 7); p > 0; --p) {
    const std::string& from = parts[random() % 6];
    for (int n = from == parts[1] ? 1 : int(1 + random() % 40); n > 0; --n)
      text += from[random() % from.size()];
  }
  return text;
}

TEST(Differential, EveryEntryPointOnRandomVectors) {
  std::mt19937 random(20261205);
  std::uniform_int_distribution<std::int32_t> any(MIN, MAX), small(-100, 100);
  auto number = [&](int i) { return i % 3 == 0 ? small(random) : any(random) >> (i % 31); };
  for (const std::string& name : entryNames())
    for (int i = 0; i < 2000; ++i) {
      std::vector<V> args;
      for (std::size_t k = 0; k < reference::patternOf(name).size(); ++k)
        args.push_back(int(k) == outputIndex(name) ? Null
                       : reference::readsText(name, k)
                           ? S(i % 2 ? std::to_string(number(i)) : randomText(random))
                           : I(number(i + int(k))));
      verify(name, args);
    }
}

TEST(Differential, LoopPredicatesOnEverySmallPair) {
  for (std::int32_t x = -40; x <= 100; ++x) {
    verifyInputs("factNat_io", {x});
    for (std::int32_t y = -40; y <= 100; ++y)
      for (const char* name : {"powNat_iio", "gcdNat_iio", "lcmNat_iio", "combNat_iio", "permNat_iio"})
        verifyInputs(name, {x, y});
  }
}

// For each loop length k, the first x whose count passes 2147483647, and
// pairs around it and around the symmetry step x / 2.
TEST(Differential, CountsAroundTheFirstPastTheRange) {
  auto firstPast = [](bool comb, std::int32_t k, std::int32_t low) {
    std::int32_t high = MAX;  // low's count fits, high's does not
    while (high - low > 1) {
      std::int32_t mid = low + (high - low) / 2;
      ((comb ? reference::loops::comb(mid, k) : reference::loops::perm(mid, k)) == MIN ? high : low) = mid;
    }
    return high;
  };
  for (std::int32_t k = 2; k <= 17; ++k)
    for (std::int32_t x0 = firstPast(true, k, 2 * k - 1); std::int32_t x : {x0 - 1, x0, x0 + 1})
      for (std::int32_t y :
           {k - 1, k, k + 1, x / 2 - 1, x / 2, x / 2 + 1, x / 2 + 2, x - k - 1, x - k, x - k + 1})
        verifyInputs("combNat_iio", {x, y});
  for (std::int32_t k = 2; k <= 13; ++k)
    for (std::int32_t x0 = firstPast(false, k, k - 1); std::int32_t x : {x0 - 1, x0, x0 + 1})
      for (std::int32_t y : {k - 1, k, k + 1}) verifyInputs("permNat_iio", {x, y});
}

}  // namespace
