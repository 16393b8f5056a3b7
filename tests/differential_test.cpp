// Every entry point against the model built from the literal references, on
// vectors of boundary values, texts of every shape and wrong kinds, and on
// seeded random vectors: the value, "false changes nothing", "check mode
// changes nothing", and check mode's verdict on what compute mode delivered.
#include <gtest/gtest.h>

#include <random>

#include "harness.h"
#include "reference/model.h"

namespace {

using namespace harness;

const std::int32_t boundaries[] = {INT32_MIN,  INT32_MIN + 1,
                                   -65536,     -46341,
                                   -7,         -2,
                                   -1,         0,
                                   1,          2,
                                   3,          7,
                                   10,         12,
                                   13,         27,
                                   32,         33,
                                   34,         243,
                                   1000,       46341,
                                   65536,      65537,
                                   2147483646, 2147483647};
const std::int32_t compared[] = {INT32_MIN, -1, 0, 1, 2, 3, 5, 2147483647};
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

void verify(const std::string& name, const std::vector<V>& args) {
  std::vector<CONSTANT> argv;
  for (const V& v : args) argv.push_back(v.make());
  const std::string check = reference::predicateOf(name) + "_" + std::string(args.size(), 'i');
  EXPECT_EQ(reference::verifyCall(name, entry(name), entry(check), argv), "");
}

// The values tried at one position: what the entry point reads there, and
// a wrong kind; an output slot holds a String before the call.
std::vector<V> candidates(const std::string& name, std::size_t at) {
  if (int(at) == outputIndex(name)) return {S("previous")};
  std::vector<V> values;
  if (reference::readsText(name, at)) {
    for (const char* text : texts) values.push_back(S(text));
    values.push_back(I(101));
  } else {
    bool checked = outputIndex(name) < 0 && at + 1 == reference::patternOf(name).size() && at > 0;
    if (checked)
      for (std::int32_t n : compared) values.push_back(I(n));
    else
      for (std::int32_t n : boundaries) values.push_back(I(n));
    values.push_back(Sym("a"));
  }
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

TEST(Differential, EveryEntryPointOnRandomVectors) {
  std::mt19937 random(20261205);
  std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX), small(-100, 100);
  auto number = [&](int i) { return i % 3 == 0 ? small(random) : any(random) >> (i % 31); };
  auto text = [&](int i) {
    std::string digits = std::to_string(number(i));
    return i % 2 ? digits : std::string(" ") + digits + "x";
  };
  for (const std::string& name : entryNames())
    for (int i = 0; i < 2000; ++i) {
      std::vector<V> args;
      for (std::size_t k = 0; k < reference::patternOf(name).size(); ++k)
        args.push_back(int(k) == outputIndex(name)     ? Null
                       : reference::readsText(name, k) ? S(text(i))
                                                       : I(number(i + int(k))));
      verify(name, args);
    }
}

}  // namespace
