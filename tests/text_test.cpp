// Decimal and binary text conversions: the edge cases through the entry
// points, the kernels against a literal reference, and round trips.
#include "reference/text.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <thread>

#include "harness.h"
#include "text.h"

namespace {

using namespace harness;

const std::string ones31(31, '1'), ones32(32, '1'), ones40(40, '1');
const std::string one31zeros = "1" + std::string(31, '0');

const Row rows[] = {
  // Wrong kinds, for each argument read; the output keeps what it held.
    {"s2nNat_ii", {I(5), I(5)},                                 fails()                },
    {"s2nNat_ii", {Sym("5"), I(5)},                             fails()                },
    {"s2nNat_ii", {S("5"), S("5")},                             fails()                },
    {"s2nNat_ii", {S("5"), Null},                               fails()                },
    {"s2nNat_io", {I(5), S("old")},                             fails()                },
    {"s2nNat_io", {Sym("5"), I(9)},                             fails()                },
    {"s2nNat_oi", {S("old"), S("5")},                           fails()                },
    {"s2nNat_oi", {Null, Sym("5")},                             fails()                },
    {"n2sNat_ii", {I(7), I(7)},                                 fails()                },
    {"n2sNat_ii", {S("7"), S("7")},                             fails()                },
    {"n2sNat_ii", {Null, S("0")},                               fails()                },
    {"n2sNat_io", {S("7"), Null},                               fails()                },
    {"n2sNat_oi", {Sym("old"), I(7)},                           fails()                },
    {"b2dNat_ii", {Sym("101"), I(5)},                           fails()                },
    {"b2dNat_ii", {S("101"), S("5")},                           fails()                },
    {"b2dNat_io", {I(5), S("old")},                             fails()                },
    {"b2dNat_oi", {Null, S("5")},                               fails()                },
    {"d2bNat_ii", {S("5"), S("101")},                           fails()                },
    {"d2bNat_ii", {I(5), Sym("101")},                           fails()                },
    {"d2bNat_io", {Null, S("old")},                             fails()                },
    {"d2bNat_oi", {I(0), I(5)},                                 fails()                },
 // Decimal reading: white space, signs, junk after the numeral.
    {"s2nNat_ii", {S(""), I(0)},                                holds()                },
    {"s2nNat_ii", {S("  -42"), I(-42)},                         holds()                },
    {"s2nNat_ii", {S("42"), I(41)},                             fails()                },
    {"s2nNat_io", {S("  -42"), Null},                           gives(I(-42))          },
    {"s2nNat_io", {S("12abc"), S("old")},                       gives(I(12))           },
    {"s2nNat_io", {S("0x1A"), Sym("old")},                      gives(I(0))            },
    {"s2nNat_io", {S("1e3"), I(9)},                             gives(I(1))            },
    {"s2nNat_io", {S("7.9"), Null},                             gives(I(7))            },
    {"s2nNat_io", {S("abc"), Null},                             gives(I(0))            },
    {"s2nNat_io", {S("x12"), Null},                             gives(I(0))            },
    {"s2nNat_io", {S("-"), Null},                               gives(I(0))            },
    {"s2nNat_io", {S("- 5"), Null},                             gives(I(0))            },
    {"s2nNat_io", {S("+-5"), Null},                             gives(I(0))            },
    {"s2nNat_io", {S("+5"), Null},                              gives(I(5))            },
    {"s2nNat_io", {S(" \t\n\v\f\r-9"), Null},                   gives(I(-9))           },
    {"s2nNat_io",
     {S("\xa0"
        "9"),
      Null},
     gives(I(0))                                                                       }, // white space of other locales is junk
    {"s2nNat_io",
     {S("\x85"
        "9"),
      Null},
     gives(I(0))                                                                       },
    {"s2nNat_io", {S("\"12\""), Null},                          gives(I(12))           }, // stored as given: toString takes the quotes off
    {"s2nNat_io", {S("-" + std::string(30, '0') + "12"), Null}, gives(I(-12))          },
 // Out-of-range decimal numerals saturate at the nearer bound.
    {"s2nNat_io", {S("2147483647"), Null},                      gives(I(2147483647))   },
    {"s2nNat_io", {S("-2147483648"), Null},                     gives(I(INT32_MIN))    },
    {"s2nNat_io", {S("2147483648"), Null},                      gives(I(2147483647))   },
    {"s2nNat_io", {S("-2147483649"), Null},                     gives(I(INT32_MIN))    },
    {"s2nNat_io", {S("4294967295"), Null},                      gives(I(2147483647))   },
    {"s2nNat_io", {S("4294967296"), Null},                      gives(I(2147483647))   },
    {"s2nNat_io", {S("-99999999999999999999999x"), Null},       gives(I(INT32_MIN))    },
    {"s2nNat_ii", {S("21474836470"), I(2147483647)},            holds()                },
    {"n2sNat_oi", {Null, S("+2147483648")},                     gives(I(2147483647))   },
 // Decimal texts; a delivered text is a String, whatever the output held.
    {"s2nNat_oi", {Null, I(0)},                                 gives(S("0"))          },
    {"s2nNat_oi", {S("old"), I(INT32_MIN)},                     gives(S("-2147483648"))},
    {"s2nNat_oi", {Sym("old"), I(2147483647)},                  gives(S("2147483647")) },
    {"s2nNat_oi", {I(3), I(-7)},                                gives(S("-7"))         },
    {"n2sNat_io", {I(-5), Null},                                gives(S("-5"))         },
    {"n2sNat_io", {I(1000), S("old")},                          gives(S("1000"))       },
    {"n2sNat_ii", {I(7), S("007")},                             holds()                },
    {"n2sNat_ii", {I(7), S("+7")},                              holds()                },
    {"n2sNat_ii", {I(7), S("7apples")},                         holds()                },
    {"n2sNat_ii", {I(7), S("7.9")},                             holds()                },
    {"n2sNat_ii", {I(7), S(" 7")},                              holds()                },
    {"n2sNat_ii", {I(7), S("seven")},                           fails()                },
    {"n2sNat_ii", {I(0), S("seven")},                           holds()                },
    {"n2sNat_oi", {S("old"), S(" -13xyz")},                     gives(I(-13))          },
 // Binary reading: no prefix, saturation at the 32-bit bounds.
    {"b2dNat_io", {S("101"), Null},                             gives(I(5))            },
    {"b2dNat_io", {S("00101"), Null},                           gives(I(5))            },
    {"b2dNat_io", {S("+101"), Null},                            gives(I(5))            },
    {"b2dNat_io", {S(" 101"), Null},                            gives(I(5))            },
    {"b2dNat_io", {S("\r\v-11"), Null},                         gives(I(-3))           },
    {"b2dNat_io", {S("-101"), S("old")},                        gives(I(-5))           },
    {"b2dNat_io", {S(""), Null},                                gives(I(0))            },
    {"b2dNat_io", {S("2"), Null},                               gives(I(0))            },
    {"b2dNat_io", {S("b1"), Null},                              gives(I(0))            },
    {"b2dNat_io", {S("1021"), Null},                            gives(I(2))            },
    {"b2dNat_io", {S("0b101"), Null},                           gives(I(0))            },
    {"b2dNat_io", {S("-0b101"), Null},                          gives(I(0))            },
    {"b2dNat_io",
     {S("\xa0"
        "1"),
      Null},
     gives(I(0))                                                                       },
    {"b2dNat_io", {S(ones31), Null},                            gives(I(2147483647))   },
    {"b2dNat_io", {S("-" + ones31), Null},                      gives(I(-2147483647))  },
    {"b2dNat_io", {S(ones32), Null},                            gives(I(2147483647))   },
    {"b2dNat_io", {S(one31zeros), Null},                        gives(I(2147483647))   },
    {"b2dNat_io", {S("-" + one31zeros), Null},                  gives(I(INT32_MIN))    },
    {"b2dNat_io", {S("-" + ones32), Null},                      gives(I(INT32_MIN))    },
    {"b2dNat_io", {S(ones40 + "2"), Null},                      gives(I(2147483647))   },
    {"b2dNat_io", {S(std::string(40, '0') + "101"), Null},      gives(I(5))            },
    {"b2dNat_ii", {S(ones32), I(2147483647)},                   holds()                },
    {"b2dNat_ii", {S("101"), I(6)},                             fails()                },
    {"d2bNat_oi", {S("old"), S("-101")},                        gives(I(-5))           },
    {"d2bNat_oi", {Null, S(ones40)},                            gives(I(2147483647))   },
 // Binary texts: zero gives the empty text, a negative number 32 digits.
    {"d2bNat_io", {I(0), Null},                                 gives(S(""))           },
    {"d2bNat_io", {I(1), S("old")},                             gives(S("1"))          },
    {"d2bNat_io", {I(5), Sym("old")},                           gives(S("101"))        },
    {"d2bNat_io", {I(2147483647), Null},                        gives(S(ones31))       },
    {"d2bNat_io", {I(-1), Null},                                gives(S(ones32))       },
    {"d2bNat_io", {I(-2), Null},                                gives(S(ones31 + "0")) },
    {"d2bNat_io", {I(INT32_MIN), Null},                         gives(S(one31zeros))   },
    {"b2dNat_oi", {Null, I(0)},                                 gives(S(""))           },
    {"b2dNat_oi", {S("old"), I(5)},                             gives(S("101"))        },
    {"b2dNat_oi", {Null, I(-1)},                                gives(S(ones32))       },
    {"b2dNat_oi", {Null, I(INT32_MIN)},                         gives(S(one31zeros))   },
    {"d2bNat_ii", {I(-1), S(ones32)},                           fails()                },
    {"d2bNat_ii", {I(0), S("")},                                holds()                },
    {"d2bNat_ii", {I(0), S("0")},                               holds()                },
    {"d2bNat_ii", {I(5), S("101")},                             holds()                },
};

TEST(Text, EdgeCases) {
  for (const Row& row : rows) checkRow(row);
}

// Every 32-bit number in the native release build; elsewhere (emulated or
// sanitized, many times slower) a strided subset.
#ifdef MATH_N_TEXT_EXHAUSTIVE
constexpr std::uint64_t stride = 1;
#else
constexpr std::uint64_t stride = 251;
#endif

TEST(Text, KernelsRoundTripEveryNumber) {
  struct Outcome {
    std::uint64_t failures = 0;
    std::int32_t first = 0;
  } outcome[2];
  auto sweep = [](std::uint64_t from, std::uint64_t to, Outcome& out) {
    for (std::uint64_t i = from; i < to; i += stride) {
      std::int32_t x = std::int32_t(std::uint32_t(i));
      bool decimal = math_n::decimal_reading(math_n::decimal_text(x)) == x;
      bool binary = math_n::binary_reading(math_n::binary_text(x)) == (x < 0 ? 2147483647 : x);
      if (!(decimal && binary) && out.failures++ == 0) out.first = x;
    }
  };
  // The halves start on the stride so both builds cover 0 and every multiple.
  const std::uint64_t half = (std::uint64_t(1) << 31) / stride * stride;
  std::thread other(sweep, half, std::uint64_t(1) << 32, std::ref(outcome[1]));
  sweep(0, half, outcome[0]);
  other.join();
  for (const Outcome& out : outcome) EXPECT_EQ(out.failures, 0u) << "first at " << out.first;
  for (std::int32_t x : {INT32_MIN, -1, 2147483647})
    EXPECT_EQ(math_n::decimal_reading(math_n::decimal_text(x)), x) << x;
}

const std::int32_t boundaries[] = {
    INT32_MIN, INT32_MIN + 1, -1000000000, -999999999, -65536,     -10,       -9, -2, -1, 0, 1, 2, 9, 10, 99,
    100,       65535,         999999999,   1000000000, 2147483646, 2147483647};

void compareKernels(std::int32_t x) {
  EXPECT_STREQ(math_n::decimal_text(x), reference::decimalText(x).c_str()) << x;
  EXPECT_STREQ(math_n::binary_text(x), reference::binaryText(x).c_str()) << x;
}

void compareReadings(const std::string& text) {
  EXPECT_EQ(math_n::decimal_reading(text.c_str()), reference::decimalReading(text.c_str()))
      << '"' << text << '"';
  EXPECT_EQ(math_n::binary_reading(text.c_str()), reference::binaryReading(text.c_str()))
      << '"' << text << '"';
}

// Texts mixing white space (of the C locale and of others), signs, digits
// and junk, with long digit runs to reach the bounds.
std::string randomText(std::mt19937& random) {
  static const std::string space = " \t\n\v\f\r", sign = "+-", junk = "ab.xX\"'\x85\xa0\x1f/:\x7f\xff";
  std::string text;
  int parts = std::uniform_int_distribution<>(0, 6)(random);
  for (int p = 0; p < parts; ++p) {
    int length = std::uniform_int_distribution<>(1, 40)(random);
    int kind = std::uniform_int_distribution<>(0, 5)(random);
    for (int i = 0; i < length; ++i) {
      auto pick = [&](const std::string& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
      };
      switch (kind) {
        case 0:
          text += pick(space);
          break;
        case 1:
          text += pick(sign);
          i = length;
          break;
        case 2:
          text += pick("0123456789");
          break;
        case 3:
          text += pick("01");
          break;
        case 4:
          text += pick("0000000001");
          break;
        default:
          text += pick(junk);
          break;
      }
    }
  }
  return text;
}

TEST(Text, KernelsMatchLiteralReference) {
  for (std::int32_t x : boundaries)
    for (std::int32_t d : {-1, 0, 1}) {
      std::int32_t y = std::int32_t(std::uint32_t(x) + std::uint32_t(d));
      compareKernels(y);
      for (const std::string& text :
           {reference::decimalText(y), reference::binaryText(y), "-" + reference::binaryText(y),
            reference::decimalText(y) + "0", " +" + reference::decimalText(y) + "9x"})
        compareReadings(text);
    }
  std::mt19937 random(20261205);
  std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
  for (int i = 0; i < 100000; ++i) {
    compareKernels(any(random) >> (i % 32));
    compareReadings(randomText(random));
  }
}

}  // namespace
