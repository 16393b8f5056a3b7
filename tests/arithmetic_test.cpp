// Basic arithmetic and parity, and the calling convention they share with
// every entry point (the differential test compares them with the literal
// reference on boundary and random inputs).
#include <gtest/gtest.h>

#include "harness.h"

namespace {

using namespace harness;

const Row rows[] = {
  // Wrong kinds: the first argument of a wrong kind fails the call and
  // leaves every argument, the output included, as it was.
    {"addNat_iio",  {Sym("a"), I(4), S("old")},          fails()            },
    {"addNat_iio",  {I(3), S("4"), S("old")},            fails()            },
    {"addNat_iio",  {Null, I(4), I(9)},                  fails()            },
    {"addNat_iii",  {I(3), I(4), S("7")},                fails()            },
    {"addNat_ioi",  {I(3), I(0), Sym("5")},              fails()            },
    {"addNat_oii",  {I(0), Null, I(5)},                  fails()            },
    {"subNat_iii",  {S("5"), I(3), I(2)},                fails()            },
    {"subNat_oii",  {I(0), I(3), Sym("4")},              fails()            },
    {"multNat_iio", {I(2), Sym("x"), Null},              fails()            },
    {"divNat_iii",  {I(7), I(2), Null},                  fails()            },
    {"modNat_iio",  {S("7"), I(3), Null},                fails()            },
    {"evenNat_i",   {S("4")},                            fails()            },
    {"oddNat_i",    {Sym("3")},                          fails()            },
 // The output argument is neither read nor tested: any kind is replaced.
    {"addNat_iio",  {I(3), I(4), S("old")},              gives(I(7))        },
    {"addNat_iio",  {I(3), I(4), Sym("old")},            gives(I(7))        },
    {"addNat_iio",  {I(3), I(4), I(100)},                gives(I(7))        },
    {"addNat_iii",  {I(2147483647), I(1), I(INT32_MIN)}, holds()            },
    {"addNat_iii",  {I(3), I(4), I(8)},                  fails()            },
    {"addNat_ioi",  {I(5), Null, I(3)},                  fails()            },
    {"addNat_ioi",  {I(3), Null, I(5)},                  gives(I(2))        },
    {"addNat_ioi",  {I(3), Null, I(3)},                  gives(I(0))        },
    {"addNat_ioi",  {I(INT32_MIN), Null, I(2147483647)}, gives(I(-1))       },
    {"addNat_oii",  {Null, I(4), I(4)},                  gives(I(0))        },
    {"addNat_oii",  {Null, I(-2), I(3)},                 gives(I(5))        },
    {"addNat_oii",  {S("old"), I(5), I(4)},              fails()            },
    {"subNat_iii",  {I(5), I(3), I(2)},                  holds()            },
    {"subNat_iii",  {I(3), I(5), I(-2)},                 fails()            },
    {"subNat_iio",  {I(2147483647), I(-1), Null},        gives(I(INT32_MIN))},
    {"subNat_iio",  {I(3), I(5), Null},                  fails()            },
    {"subNat_ioi",  {I(5), Null, I(3)},                  gives(I(2))        },
    {"subNat_ioi",  {I(3), Null, I(5)},                  fails()            },
    {"subNat_oii",  {Null, I(3), I(4)},                  gives(I(7))        },
    {"subNat_oii",  {Null, I(-5), I(2)},                 gives(I(-3))       },
    {"multNat_iio", {I(65536), I(65536), Null},          gives(I(0))        },
    {"multNat_iii", {I(65536), I(65536), I(0)},          holds()            },
    {"multNat_iio", {I(-3), I(7), Null},                 gives(I(-21))      },
    {"divNat_iio",  {I(7), I(2), Null},                  gives(I(3))        },
    {"divNat_iio",  {I(-7), I(2), Null},                 gives(I(-3))       },
    {"divNat_iio",  {I(7), I(-2), Null},                 gives(I(-3))       },
    {"divNat_iio",  {I(7), I(0), S("old")},              fails()            },
    {"divNat_iii",  {I(7), I(0), I(0)},                  fails()            },
    {"divNat_iii",  {I(7), I(2), I(3)},                  holds()            },
    {"modNat_iio",  {I(7), I(3), Null},                  gives(I(1))        },
    {"modNat_iio",  {I(-7), I(2), Null},                 gives(I(-1))       },
    {"modNat_iio",  {I(7), I(-2), Null},                 gives(I(1))        },
    {"modNat_iio",  {I(7), I(0), Null},                  fails()            },
    {"modNat_iii",  {I(7), I(0), I(7)},                  fails()            },
 // The quotient without a 32-bit value wraps; its remainder is exactly 0.
    {"divNat_iio",  {I(INT32_MIN), I(-1), Null},         gives(I(INT32_MIN))},
    {"divNat_iii",  {I(INT32_MIN), I(-1), I(INT32_MIN)}, holds()            },
    {"modNat_iio",  {I(INT32_MIN), I(-1), Null},         gives(I(0))        },
    {"modNat_iii",  {I(INT32_MIN), I(-1), I(0)},         holds()            },
    {"evenNat_i",   {I(0)},                              holds()            },
    {"evenNat_i",   {I(4)},                              holds()            },
    {"evenNat_i",   {I(-4)},                             holds()            },
    {"evenNat_i",   {I(INT32_MIN)},                      holds()            },
    {"evenNat_i",   {I(3)},                              fails()            },
    {"evenNat_i",   {I(-3)},                             fails()            },
    {"oddNat_i",    {I(1)},                              holds()            },
    {"oddNat_i",    {I(3)},                              holds()            },
    {"oddNat_i",    {I(2147483647)},                     holds()            },
    {"oddNat_i",    {I(0)},                              fails()            },
    {"oddNat_i",    {I(2)},                              fails()            },
    {"oddNat_i",    {I(-1)},                             fails()            },
    {"oddNat_i",    {I(-3)},                             fails()            },
};

TEST(Arithmetic, EdgeCases) {
  for (const Row& row : rows) checkRow(row);
}

}  // namespace
