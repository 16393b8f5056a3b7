// The entry points: one line each, naming the kernel and the role of each
// argument in order (In: read, Is: compared in check mode, Out: delivered).
#include "math_N.h"

#include "arith.h"
#include "convention.h"
#include "logroot.h"
#include "loops.h"
#include "text.h"

namespace {
using namespace math_n;
using I = In<Int>;
using Z = Is<Int>;
using O = Out<Int>;
using T = In<Text>;
using OT = Out<Text>;
}  // namespace

extern "C" {
// clang-format off
MATH_N_ENTRY(addNat_iii,  wrapping_add,            I, I, Z)
MATH_N_ENTRY(addNat_iio,  wrapping_add,            I, I, O)
MATH_N_ENTRY(addNat_ioi,  missing_addend,          I, O, I)
MATH_N_ENTRY(addNat_oii,  missing_addend,          O, I, I)
MATH_N_ENTRY(subNat_iii,  difference_if_not_below, I, I, Z)
MATH_N_ENTRY(subNat_iio,  difference_if_not_below, I, I, O)
MATH_N_ENTRY(subNat_ioi,  difference_if_not_below, I, O, I)
MATH_N_ENTRY(subNat_oii,  wrapping_add,            O, I, I)
MATH_N_ENTRY(multNat_iii, wrapping_mul,            I, I, Z)
MATH_N_ENTRY(multNat_iio, wrapping_mul,            I, I, O)
MATH_N_ENTRY(divNat_iii, truncated_quotient,           I, I, Z)
MATH_N_ENTRY(divNat_iio, truncated_quotient,           I, I, O)
MATH_N_ENTRY(modNat_iii, truncated_remainder,          I, I, Z)
MATH_N_ENTRY(modNat_iio, truncated_remainder,          I, I, O)
MATH_N_ENTRY(evenNat_i,   is_even,                 I)
MATH_N_ENTRY(oddNat_i,    is_odd,                  I)

MATH_N_ENTRY(powNat_iii,  power,                   I, I, Z)
MATH_N_ENTRY(powNat_iio,  power,                   I, I, O)
MATH_N_ENTRY(factNat_ii,  factorial,               I, Z)
MATH_N_ENTRY(factNat_io,  factorial,               I, O)
MATH_N_ENTRY(gcdNat_iii,  common_divisor,          I, I, Z)
MATH_N_ENTRY(gcdNat_iio,  common_divisor,          I, I, O)
MATH_N_ENTRY(lcmNat_iii,  common_multiple,         I, I, Z)
MATH_N_ENTRY(lcmNat_iio,  common_multiple,         I, I, O)
MATH_N_ENTRY(combNat_iii, combinations,            I, I, Z)
MATH_N_ENTRY(combNat_iio, combinations,            I, I, O)
MATH_N_ENTRY(permNat_iii, permutations,            I, I, Z)
MATH_N_ENTRY(permNat_iio, permutations,            I, I, O)

MATH_N_ENTRY(logNat_iii,   logarithm,              I, I, Z)
MATH_N_ENTRY(logNat_iio,   logarithm,              I, I, O)
MATH_N_ENTRY(log10Nat_ii,  decimal_logarithm,      I, Z)
MATH_N_ENTRY(log10Nat_io,  decimal_logarithm,      I, O)
MATH_N_ENTRY(log2Nat_ii,   binary_logarithm,       I, Z)
MATH_N_ENTRY(log2Nat_io,   binary_logarithm,       I, O)
MATH_N_ENTRY(lnNat_ii,     natural_logarithm,      I, Z)
MATH_N_ENTRY(lnNat_io,     natural_logarithm,      I, O)
MATH_N_ENTRY(rootNat_iii,  root,                   I, I, Z)
MATH_N_ENTRY(rootNat_iio,  root,                   I, I, O)
MATH_N_ENTRY(sqrtNat_ii,   square_root,            I, Z)
MATH_N_ENTRY(sqrtNat_io,   square_root,            I, O)

MATH_N_ENTRY(s2nNat_ii,   decimal_reading,         T, Z)
MATH_N_ENTRY(s2nNat_io,   decimal_reading,         T, O)
MATH_N_ENTRY(s2nNat_oi,   decimal_text,            OT, I)
MATH_N_ENTRY(n2sNat_ii,   decimal_reading,         Z, T)
MATH_N_ENTRY(n2sNat_io,   decimal_text,            I, OT)
MATH_N_ENTRY(n2sNat_oi,   decimal_reading,         O, T)
MATH_N_ENTRY(b2dNat_ii,   binary_reading,          T, Z)
MATH_N_ENTRY(b2dNat_io,   binary_reading,          T, O)
MATH_N_ENTRY(b2dNat_oi,   binary_text,             OT, I)
MATH_N_ENTRY(d2bNat_ii,   binary_reading,          Z, T)
MATH_N_ENTRY(d2bNat_io,   binary_text,             I, OT)
MATH_N_ENTRY(d2bNat_oi,   binary_reading,          O, T)
// clang-format on
}
