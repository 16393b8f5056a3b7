// The decisions the engines' hosts share: which entry point, the checks
// before any value is built, the quote rule, out of memory and the
// delivered value. This program replaces new[], so that the library's
// allocations can be made to fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "core.h"
#include "harness.h"

namespace {
long failingArray = 0;  // the array allocation from now that throws, 0 for none
}

void* operator new[](std::size_t size) {
  if (failingArray > 0 && --failingArray == 0) throw std::bad_alloc();
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {

using namespace math_n_host;

const Predicate& predicate(std::string_view name) {
  for (const Predicate& each : predicates)
    if (each.name == name) return each;
  throw std::invalid_argument(std::string(name));
}

// A String of a literal, or of a string that outlives the call.
Given text(const char* value) { return Given::string(value, std::strlen(value)); }
Given text(const std::string& value) { return Given::string(value.c_str(), value.size()); }

// What an answer is, in one line: its kind and what it carries.
std::string show(const Answer& answer) {
  static const char* const kinds[] = {"Fails", "Holds",       "Number",      "Text",
                                      "NoPattern", "OutOfRange", "TextWithNul", "OutOfMemory", "Unknown"};
  std::string shown = kinds[answer.kind];
  if (answer.kind == Answer::Number) shown += ' ' + std::to_string(answer.number);
  if (answer.kind == Answer::Text) shown += " \"" + std::string(answer.text.get(), answer.length) + '"';
  if (answer.at >= 0) shown += " at " + std::to_string(answer.at);
  return shown;
}

struct Row {
  const char* predicate;
  int open;
  std::vector<Given> given;  // the open one included
  const char* answer;
};

const std::string quoteSeven = "\"7\"", nulText("1\0", 2), quoteOnly = "\"";

TEST(Core, AnswersEachCase) {
  const Row rows[] = {
      {"addNat", 2, {Given::integer(3), Given::integer(4), Given::open()}, "Number 7"},
      {"addNat", 0, {Given::open(), Given::integer(4), Given::integer(7)}, "Number 3"},
      {"addNat", 3, {Given::integer(3), Given::integer(4), Given::integer(7)}, "Holds"},
      {"addNat", 3, {Given::integer(3), Given::integer(4), Given::integer(8)}, "Fails"},
      {"subNat", 2, {Given::integer(3), Given::integer(5), Given::open()}, "Fails"},
      {"multNat", 0, {Given::open(), Given::integer(4), Given::integer(8)}, "NoPattern"},
      {"multNat", -1, {Given::open(), Given::open(), Given::integer(8)}, "NoPattern"},
      {"evenNat", 0, {Given::open()}, "NoPattern"},
      // The kinds the library does not take are its own to refuse.
      {"s2nNat", 1, {Given::integer(5), Given::open()}, "Fails"},
      {"combNat", 2, {Given::integer(5), text("2"), Given::open()}, "Fails"},
      {"addNat", 2, {Given::symbol("a", 1), Given::integer(4), Given::open()}, "Fails"},
      {"d2bNat", 1, {Given::integer(5), Given::open()}, "Text \"101\""},
      {"n2sNat", 1, {Given::integer(-12), Given::open()}, "Text \"-12\""},
      {"s2nNat", 1, {text("42"), Given::open()}, "Number 42"},
      {"s2nNat", 1, {text(""), Given::open()}, "Number 0"},
      // A text that begins with a quote goes over whole: "7" reads as 0, not 7.
      {"s2nNat", 1, {text(quoteSeven), Given::open()}, "Number 0"},
      {"s2nNat", 1, {text(quoteOnly), Given::open()}, "Number 0"},
      // Integers beyond 32 bits, texts with a NUL: refused before the library.
      {"addNat", 2, {Given::integer(INT32_MAX), Given::integer(INT32_MIN), Given::open()}, "Number -1"},
      {"addNat", 2, {Given::integer(INT32_MAX + 1LL), Given::integer(4), Given::open()}, "OutOfRange at 0"},
      {"addNat", 2, {Given::integer(1), Given::integer(INT32_MIN - 1LL), Given::open()}, "OutOfRange at 1"},
      {"addNat", 3, {Given::integer(1), Given::integer(2), Given::integer(INT64_MAX)}, "OutOfRange at 2"},
      {"s2nNat", 1, {text(nulText), Given::open()}, "TextWithNul at 0"},
      {"n2sNat", 0, {Given::open(), Given::symbol(nulText.c_str(), 2)}, "TextWithNul at 1"},
      // Unknown answers Unknown, unless another argument is refused.
      {"addNat", 2, {Given::unknown(), Given::integer(4), Given::open()}, "Unknown"},
      {"addNat", 2, {Given::unknown(), Given::integer(1LL << 40), Given::open()}, "OutOfRange at 1"},
  };
  for (const Row& row : rows) {
    const Predicate& each = predicate(row.predicate);
    EXPECT_EQ(show(call(each, row.open, row.given.data())), row.answer)
        << row.predicate << " open " << row.open << " (" << spelledPattern(row.given.data(), each.arity) << ")";
  }
}

// The entry point for each open argument is the one exported under the
// pattern's name, and a pattern not exported is NoPattern.
TEST(Core, PicksTheEntryPointOfEachPattern) {
  for (const Predicate& each : predicates) {
    for (int open = -1; open <= each.arity + 1; ++open) {
      std::string name = std::string(each.name) + '_' + (open < 0 ? "" : patternOf(each, open));
      bool exported = open >= 0 && open <= each.arity &&
                      std::find(harness::entryNames.begin(), harness::entryNames.end(), name) !=
                          harness::entryNames.end();
      EXPECT_EQ(open >= 0 && open <= each.arity ? each.byOpen[open] : nullptr,
                exported ? harness::entry(name) : nullptr)
          << name;
      Given none[maxArity] = {Given::unknown(), Given::unknown(), Given::unknown()};
      EXPECT_EQ(call(each, open, none).kind, exported ? Answer::Unknown : Answer::NoPattern) << name;
    }
  }
  EXPECT_EQ(noPatternMessage(predicate("multNat"), "oii"), "multNat has no entry point for pattern oii; it offers iii, iio");
}

// Each array allocation of a call, made to fail in turn, is OutOfMemory:
// the quote rule's copy, the library's texts and the delivered value.
TEST(Core, RunsOutOfMemory) {
  static const std::string quoted = "\"1";
  const Row rows[] = {
      {"s2nNat", 1, {text(quoted), Given::open()}, "Number 0"},
      {"d2bNat", 1, {Given::integer(5), Given::open()}, "Text \"101\""},
      {"b2dNat", 1, {text("101"), Given::open()}, "Number 5"},
  };
  for (const Row& row : rows) {
    for (long failing = 1;; ++failing) {
      failingArray = failing;
      Answer answer = call(predicate(row.predicate), row.open, row.given.data());
      bool failed = failingArray == 0;
      failingArray = 0;
      EXPECT_EQ(show(answer), failed ? "OutOfMemory" : row.answer) << row.predicate << ", allocation " << failing;
      if (!failed) break;
    }
  }
}

}  // namespace
