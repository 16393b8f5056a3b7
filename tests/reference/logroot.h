// A literal reference of the logarithms and roots: the formulas as written,
// each maths function and each double operation correctly rounded by MPFR
// (53 bits, round to nearest), then the truncation. Nothing here depends on
// the platform's maths library, its evaluation of doubles or the rounding mode.
#ifndef MATH_N_REFERENCE_LOGROOT_H
#define MATH_N_REFERENCE_LOGROOT_H

#include <mpfr.h>

#include <optional>

#include "reference/common.h"

namespace reference {

// Returns: f(a) or f(a, b) rounded to the nearest double. Every double and
// every 32-bit integer converts to 53 bits exactly.
inline double rounded(int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t), double a) {
  mpfr_t v;
  mpfr_init2(v, 53);
  mpfr_set_d(v, a, MPFR_RNDN);
  f(v, v, MPFR_RNDN);
  const double result = mpfr_get_d(v, MPFR_RNDN);
  mpfr_clear(v);
  return result;
}
inline double rounded(int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t), double a, double b) {
  mpfr_t v, w;
  mpfr_inits2(53, v, w, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_d(v, a, MPFR_RNDN);
  mpfr_set_d(w, b, MPFR_RNDN);
  f(v, v, w, MPFR_RNDN);
  const double result = mpfr_get_d(v, MPFR_RNDN);
  mpfr_clears(v, w, static_cast<mpfr_ptr>(nullptr));
  return result;
}

inline std::optional<std::int32_t> logNat(std::int32_t x, std::int32_t y) {
  if (x < 2 || y < 1) return std::nullopt;
  return trunc(rounded(mpfr_div, rounded(mpfr_log, y), rounded(mpfr_log, x)));
}
inline std::optional<std::int32_t> log10Nat(std::int32_t x) {
  if (x < 1) return std::nullopt;
  return trunc(rounded(mpfr_log10, x));
}
// The double 2.0 is the integer 2 converted.
inline std::optional<std::int32_t> log2Nat(std::int32_t x) { return logNat(2, x); }
inline std::optional<std::int32_t> lnNat(std::int32_t x) {
  if (x < 1) return std::nullopt;
  return trunc(rounded(mpfr_log, x));
}
inline std::optional<std::int32_t> rootNat(std::int32_t x, std::int32_t y) {
  if (x == 0) return std::nullopt;
  return trunc(rounded(mpfr_pow, y, rounded(mpfr_div, 1.0, x)));
}
inline std::int32_t sqrtNat(std::int32_t x) { return trunc(rounded(mpfr_pow, x, 0.5)); }

}  // namespace reference

#endif
