// CONSTANT: construction, accessors, copying and the three-way comparison.
#include <gtest/gtest.h>

#include <cstring>

#include "harness.h"
#include "reference/common.h"

namespace {

using namespace harness;
using reference::snapshot;
using reference::take;

// The text and the string flag; the value (kind and stored text) and what toString gives.
const std::tuple<const char*, bool, const char*, const char*> textRows[] = {
    {"abc",     true,  "S\"abc\"", "abc"},
    {"\"abc\"", true,  "S\"abc\"", "abc"},
    {"\"abc",   true,  "S\"abc",   "ab" },
    {"abc",     false, "Yabc",     "b"  },
    {"\"abc\"", false, "Y\"abc\"", "abc"},
    {"",        true,  "S\"\"",    ""   },
    {"",        false, "Y",        ""   },
 // Stored texts shorter than two characters: toString stays inside them.
    {"\"",      true,  "S\"",      ""   },
    {"x",       false, "Yx",       ""   },
    {nullptr,   true,  "S\"\"",    ""   }, // a null text reads as empty
};

TEST(Constant, TextConstructorAndAccessors) {
  for (const auto& [text, flag, value, unquoted] : textRows) {
    SCOPED_TRACE(text ? text : "(null)");
    CONSTANT c(text, flag);
    EXPECT_EQ(snapshot(c), value);
    EXPECT_EQ(c.isString(), flag);
    EXPECT_EQ(c.isSymbol(), !flag);
    EXPECT_FALSE(c.isInt() || c.isNull());
    EXPECT_EQ(take(c.toSymbol()), value + 1);
    EXPECT_EQ(take(c.toString()), unquoted);
  }
}

// Integers are every other test's values; a NullConst is of no other kind and reads as 0.
TEST(Constant, Null) {
  EXPECT_TRUE(Null.isNull() && Null.getType() == CONSTANT::NullConst);
  EXPECT_FALSE(Null.isInt() || Null.isString() || Null.isSymbol());
  EXPECT_EQ(Null.toInt(), 0);
}

// A copy, made by construction or assignment, outlives its source, and
// assigning to it leaves the other copy as it was.
TEST(Constant, CopiesOwnTheirText) {
  for (const CONSTANT& v : {S("abc"), Sym("abc"), I(4), Null}) {
    auto source = std::make_unique<CONSTANT>(v);
    const std::string value = snapshot(*source);
    CONSTANT copy(*source), assigned(5), &self = assigned;
    assigned = *source;
    source.reset();
    EXPECT_EQ(snapshot(copy), value);
    copy = CONSTANT(1);
    assigned = self;
    EXPECT_EQ(snapshot(assigned), value);
  }
}

TEST(Constant, UnknownKindCodesAreCopiedWordForWord) {
  CONSTANT odd(1234);
  const int code = 7;
  std::memcpy(static_cast<void*>(&odd), &code, sizeof code);  // the kind sits at byte 0
  CONSTANT copy(odd), assigned;
  assigned = odd;
  EXPECT_EQ(int(copy.getType()), 7);
  EXPECT_EQ(copy.toInt(), 1234);
  EXPECT_EQ(assigned.toInt(), 1234);
  EXPECT_EQ(copy != assigned, 0);
  EXPECT_EQ(odd != CONSTANT(), 4);
}

// Left, right, the result: its exact value when the last field is true, else only its sign.
const std::tuple<CONSTANT, CONSTANT, int, bool> compareRows[] = {
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
    {S("\xe9"),     S("e"),       1,          false}, // unsigned bytes
    {S("\""),       S(""),        0,          false}, // one-character text: empty inside
    {Sym("abc"),    Sym("abd"),   -1,         false},
    {Sym("abc"),    Sym("abc"),   0,          false},
    {Sym("ab"),     Sym("abc"),   -1,         false},
};

TEST(Constant, ThreeWayComparisonAndRelations) {
  for (const auto& [l, r, result, exact] : compareRows) {
    SCOPED_TRACE(snapshot(l) + " vs " + snapshot(r));
    int got = l != r;
    EXPECT_EQ(exact ? got : (got > 0) - (got < 0), result);
    EXPECT_EQ(l == r, got == 0);
    EXPECT_EQ(l < r, got < 0);
    EXPECT_EQ(l <= r, got <= 0);
    EXPECT_EQ(l > r, got > 0);
    EXPECT_EQ(l >= r, got >= 0);
  }
}

}  // namespace
