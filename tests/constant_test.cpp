// CONSTANT: kinds, texts and their quoting, copies, and the three-way
// comparison with the relations built on it; every expected result is a
// literal.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "harness.h"
#include "reference/common.h"

namespace {

using namespace harness;
using reference::snapshot;
using reference::take;

// Returns: `value` with its kind code overwritten by `code`, as a host may
// store any (the kind sits at byte 0).
CONSTANT withKind(int code, CONSTANT value) {
  std::memcpy(static_cast<void*>(&value), &code, sizeof code);
  return value;
}

// Returns: a value of `code` whose text pointer a host left null.
CONSTANT withoutText(int code) {
  CONSTANT value = withKind(code, CONSTANT());
  const char* none = nullptr;
  std::memcpy(reinterpret_cast<char*>(&value) + sizeof(void*), &none, sizeof none);
  return value;
}

// Returns: the kind tests that hold, by name.
std::string kinds(const CONSTANT& c) {
  return std::string(c.isInt() ? "Int" : "") + (c.isSymbol() ? "Symbol" : "") +
         (c.isString() ? "String" : "") + (c.isNull() ? "Null" : "");
}

const struct {
  const char* what;
  CONSTANT value;
  int type;
  const char* kinds;
  const char* stored;    // the kind's initial and toQuotedString
  const char* unquoted;  // toString: the stored text less its first and last character
} valueRows[] = {
  // clang-format off
    {"integer",                I(-7),                   0, "Int",    "I-7",      ""   },
    {"text, quotes added",     S("abc"),                2, "String", "S\"abc\"", "abc"},
    {"quoted text kept",       S("\"abc\""),            2, "String", "S\"abc\"", "abc"},
    {"opening quote only",     S("\"abc"),              2, "String", "S\"abc",   "ab" },
    {"empty text",             S(""),                   2, "String", "S\"\"",    ""   },
    {"one-character text",     S("a"),                  2, "String", "S\"a\"",   "a"  },
    {"lone quote",             S("\""),                 2, "String", "S\"",      ""   },
    {"null text, String",      CONSTANT(nullptr, true), 2, "String", "S\"\"",    ""   },
    {"String without text",    withoutText(2),          2, "String", "S",        ""   },
    {"symbol, no quotes",      Sym("abc"),              1, "Symbol", "Yabc",     "b"  },
    {"symbol keeps quotes",    Sym("\"abc\""),          1, "Symbol", "Y\"abc\"", "abc"},
    {"one-character symbol",   Sym("x"),                1, "Symbol", "Yx",       ""   },
    {"null text, Symbol",      CONSTANT(nullptr, false), 1, "Symbol", "Y",        ""   },
    {"Symbol without text",    withoutText(1),          1, "Symbol", "Y",        ""   },
    {"null",                   Null,                    3, "Null",   "N",        ""   },
  // clang-format on
};

// Each value's kind and texts; and a copy, made by construction or by
// assignment over a text, is the same value after its source is gone,
// survives assignment to itself, and is untouched when another copy changes.
TEST(Constant, KindsTextsAndCopies) {
  for (const auto& row : valueRows) {
    SCOPED_TRACE(row.what);
    const CONSTANT& c = row.value;
    EXPECT_EQ(int(c.getType()), row.type);
    EXPECT_EQ(kinds(c), row.kinds);
    EXPECT_EQ(snapshot(c), row.stored);
    if (row.type == 1 || row.type == 2) {
      EXPECT_EQ(take(c.toSymbol()), row.stored + 1);
      EXPECT_EQ(take(c.toString()), row.unquoted);
    }
    auto source = std::make_unique<CONSTANT>(c);
    CONSTANT copy(*source), assigned(S("old"));
    assigned = *source;
    source.reset();
    EXPECT_EQ(snapshot(copy), row.stored);
    const CONSTANT& alias = assigned;
    assigned = alias;
    copy = I(1);
    EXPECT_EQ(snapshot(assigned), row.stored);
    EXPECT_EQ(snapshot(CONSTANT(alias)), row.stored);
  }
  EXPECT_EQ(I(-7).toInt(), -7);
  EXPECT_EQ(Null.toInt(), 0);
}

TEST(Constant, UnknownKindCodesAreCopiedWordForWord) {
  const CONSTANT odd = withKind(7, I(1234));
  CONSTANT copy(odd), assigned(S("old"));
  assigned = odd;
  EXPECT_EQ(int(copy.getType()), 7);
  EXPECT_EQ(kinds(copy), "");
  EXPECT_EQ(copy.toInt(), 1234);
  EXPECT_EQ(assigned.toInt(), 1234);
}

// The result of != (exact, or "<0" / ">0" where only its sign is defined)
// and which of ==, <, <=, >, >= hold.
const struct {
  CONSTANT left, right;
  const char* order;
  const char* relations;
} compareRows[] = {
  // clang-format off
    // Different kinds: the difference of the codes.
    {I(1),                    Sym("a"),                 "-1",          "< <="   },
    {Sym("abc"),              S("abc"),                 "-1",          "< <="   },
    {S("abc"),                Sym("abc"),               "1",           "> >="   },
    {Null,                    I(1),                     "3",           "> >="   },
    {I(1),                    Null,                     "-3",          "< <="   },
    {withKind(7, I(1)),       Null,                     "4",           "> >="   },
    // Integers: the 32-bit difference, wrapping as the host's does.
    {I(3),                    I(5),                     "-2",          "< <="   },
    {I(5),                    I(5),                     "0",           "== <= >="},
    {I(2147483647),           I(-1),                    "-2147483648", "< <="   },
    {I(INT32_MIN),            I(1),                     "2147483647",  "> >="   },
    // Texts: unsigned bytes, a proper prefix first, Strings inside their quotes.
    {S("a"),                  S("a!"),                  "<0",          "< <="   },
    {S("a!"),                 S("a"),                   ">0",          "> >="   },
    {S("abc"),                S("\"abc\""),             "0",           "== <= >="},
    {S("\xe9"),               S("e"),                   ">0",          "> >="   },
    {S("\""),                 S(""),                    "0",           "== <= >="},
    {withoutText(2),          S(""),                    "0",           "== <= >="},
    {Sym("abc"),              Sym("abd"),               "<0",          "< <="   },
    {Sym("ab"),               Sym("abc"),               "<0",          "< <="   },
    {Sym("\"a\""),            Sym("a"),                 "<0",          "< <="   },
    {Sym("abc"),              Sym("abc"),               "0",           "== <= >="},
    {withoutText(1),          Sym(""),                  "0",           "== <= >="},
    {Null,                    Null,                     "0",           "== <= >="},
    {withKind(7, I(1)),       withKind(7, I(2)),        "0",           "== <= >="},
  // clang-format on
};

TEST(Constant, ThreeWayComparisonAndRelations) {
  for (const auto& row : compareRows) {
    const CONSTANT &l = row.left, &r = row.right;
    SCOPED_TRACE(snapshot(l) + " vs " + snapshot(r));
    const int order = l != r;
    if (row.order[0] == '<' || row.order[0] == '>')
      EXPECT_EQ(order < 0 ? "<0" : order > 0 ? ">0" : "0", std::string(row.order));
    else
      EXPECT_EQ(std::to_string(order), row.order);
    // clang-format off
    const std::pair<const char*, bool> held[] = {{"==", l == r}, {"<", l < r}, {"<=", l <= r}, {">", l > r}, {">=", l >= r}};
    // clang-format on
    std::string relations;
    for (const auto& [name, holds] : held)
      if (holds) relations += (relations.empty() ? "" : " ") + std::string(name);
    EXPECT_EQ(relations, row.relations);
  }
}

}  // namespace
