// Another build of the library that exports only three entry points, with
// its own copy of CONSTANT: natcall must report what a library really
// offers, and values must cross between two loaded copies of CONSTANT.
#include "arith.h"
#include "convention.h"

namespace {
using namespace math_n;
using I = In<Int>;
using O = Out<Int>;
}  // namespace

extern "C" {
EXTPRED_EXPORT MATH_N_ENTRY(addNat_iio, wrapping_add, I, I, O) EXTPRED_EXPORT
    MATH_N_ENTRY(addNat_oii, missing_addend, O, I, I) EXTPRED_EXPORT MATH_N_ENTRY(evenNat_i, is_even, I)
}
