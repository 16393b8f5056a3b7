// CONSTANT: construction, accessors, copying and the three-way comparison.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "harness.h"

namespace {

using harness::I;
using harness::Null;
using harness::S;
using harness::Sym;
using harness::V;

std::string take(const char* text) {
  std::unique_ptr<const char[]> owned(text);
  return owned.get();
}

struct TextRow {
  const char* text;
  bool flag;
  CONSTANT::TYPE kind;
  const char* stored;
  const char* unquoted;  // what toString gives
};

const TextRow textRows[] = {
    {"abc",     true,  CONSTANT::String, "\"abc\"", "abc"},
    {"\"abc\"", true,  CONSTANT::String, "\"abc\"", "abc"},
    {"\"abc",   true,  CONSTANT::String, "\"abc",   "ab" },
    {"abc",     false, CONSTANT::Symbol, "abc",     "b"  },
    {"\"abc\"", false, CONSTANT::Symbol, "\"abc\"", "abc"},
    {"",        true,  CONSTANT::String, "\"\"",    ""   },
    {"",        false, CONSTANT::Symbol, "",        ""   },
 // Stored texts shorter than two characters: toString stays inside them.
    {"\"",      true,  CONSTANT::String, "\"",      ""   },
    {"x",       false, CONSTANT::Symbol, "x",       ""   },
    {nullptr,   true,  CONSTANT::String, "\"\"",    ""   }, // a null text reads as empty
};

TEST(Constant, TextConstructorAndAccessors) {
  for (const TextRow& row : textRows) {
    SCOPED_TRACE(std::string("text ") + (row.text ? row.text : "(null)") +
                 (row.flag ? ", string" : ", symbol"));
    CONSTANT c(row.text, row.flag);
    EXPECT_EQ(c.getType(), row.kind);
    EXPECT_EQ(c.isString(), row.kind == CONSTANT::String);
    EXPECT_EQ(c.isSymbol(), row.kind == CONSTANT::Symbol);
    EXPECT_FALSE(c.isInt() || c.isNull());
    EXPECT_EQ(take(c.toQuotedString()), row.stored);
    EXPECT_EQ(take(c.toSymbol()), row.stored);
    EXPECT_EQ(take(c.toString()), row.unquoted);
  }
}

TEST(Constant, NullAndInteger) {
  CONSTANT null;
  EXPECT_TRUE(null.isNull());
  EXPECT_EQ(null.getType(), CONSTANT::NullConst);
  EXPECT_FALSE(null.isInt() || null.isString() || null.isSymbol());
  EXPECT_EQ(null.toInt(), 0);
  for (int n : {7, -5, 0, INT32_MIN, INT32_MAX}) {
    CONSTANT c(n);
    EXPECT_TRUE(c.isInt());
    EXPECT_FALSE(c.isNull() || c.isString() || c.isSymbol());
    EXPECT_EQ(c.toInt(), n);
  }
}

TEST(Constant, CopiesOwnTheirText) {
  for (const V& v : {S("abc"), Sym("abc"), I(4), Null}) {
    SCOPED_TRACE(v.describe());
    auto source = std::make_unique<CONSTANT>(v.make());
    CONSTANT copy(*source);
    CONSTANT assigned(5);
    assigned = *source;
    source.reset();  // destroying the source leaves both copies intact
    EXPECT_TRUE(v.matches(copy));
    EXPECT_TRUE(v.matches(assigned));
    copy = CONSTANT(1);
    EXPECT_TRUE(v.matches(assigned));
    CONSTANT& self = assigned;
    assigned = self;
    EXPECT_TRUE(v.matches(assigned));
  }
  CONSTANT symbol("abc", false);
  symbol = CONSTANT("xyz", true);
  EXPECT_TRUE(S("xyz").matches(symbol));
  symbol = CONSTANT(9);
  EXPECT_TRUE(I(9).matches(symbol));
}

TEST(Constant, UnknownKindCodesAreCopiedWordForWord) {
  CONSTANT odd(1234);
  const int code = 7;
  std::memcpy(static_cast<void*>(&odd), &code, sizeof code);  // the kind sits at byte 0
  CONSTANT copy(odd);
  CONSTANT assigned;
  assigned = odd;
  EXPECT_EQ(int(copy.getType()), 7);
  EXPECT_EQ(copy.toInt(), 1234);
  EXPECT_EQ(assigned.toInt(), 1234);
  EXPECT_EQ(copy != assigned, 0);
  EXPECT_EQ(odd != CONSTANT(), 4);
}

struct CompareRow {
  V left, right;
  int result;  // exact value when `exact`, else only its sign counts
  bool exact;
};

const CompareRow compareRows[] = {
    {I(1),          Sym("a"),     -1,         true },
    {Null,          I(1),         3,          true },
    {I(1),          Null,         -3,         true },
    {Sym("abc"),    S("abc"),     -1,         true },
    {S("abc"),      Sym("abc"),   1,          true },
    {Null,          Null,         0,          true },
    {I(3),          I(5),         -2,         true },
    {I(5),          I(5),         0,          true },
    {I(2147483647), I(-1),        INT32_MIN,  true }, // the difference wraps
    {I(INT32_MIN),  I(1),         2147483647, true },
    {S("a"),        S("a!"),      -1,         false},
    {S("a!"),       S("a"),       1,          false},
    {S("abc"),      S("\"abc\""), 0,          false},
    {S("abc"),      S("abc"),     0,          false},
    {S("\xe9"),     S("e"),       1,          false}, // unsigned bytes
    {S("\""),       S(""),        0,          false}, // one-character text: empty inside
    {Sym("abc"),    Sym("abd"),   -1,         false},
    {Sym("abc"),    Sym("abc"),   0,          false},
    {Sym("ab"),     Sym("abc"),   -1,         false},
};

int sign(int v) { return (v > 0) - (v < 0); }

TEST(Constant, ThreeWayComparisonAndRelations) {
  for (const CompareRow& row : compareRows) {
    SCOPED_TRACE(row.left.describe() + " vs " + row.right.describe());
    CONSTANT l = row.left.make(), r = row.right.make();
    int got = l != r;
    if (row.exact)
      EXPECT_EQ(got, row.result);
    else
      EXPECT_EQ(sign(got), sign(row.result));
    EXPECT_EQ(l == r, got == 0);
    EXPECT_EQ(l < r, got < 0);
    EXPECT_EQ(l <= r, got <= 0);
    EXPECT_EQ(l > r, got > 0);
    EXPECT_EQ(l >= r, got >= 0);
  }
}

}  // namespace
