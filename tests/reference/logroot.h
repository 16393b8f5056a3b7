// A literal reference of the logarithms and roots: the formulas as written,
// each maths function correctly rounded to double by MPFR (53 bits, round to
// nearest), every double operation likewise, then the truncation. Nothing here
// depends on the host's maths library or rounding mode.
#ifndef MATH_N_REFERENCE_LOGROOT_H
#define MATH_N_REFERENCE_LOGROOT_H

#include <mpfr.h>

#include <cstdint>
#include <optional>

namespace reference {

// One double-precision value held by MPFR.
class Double {
 public:
  Double() { mpfr_init2(v_, 53); }
  explicit Double(long n) : Double() { mpfr_set_si(v_, n, MPFR_RNDN); }
  explicit Double(double d) : Double() { mpfr_set_d(v_, d, MPFR_RNDN); }
  Double(const Double&) = delete;
  Double& operator=(const Double&) = delete;
  ~Double() { mpfr_clear(v_); }
  mpfr_ptr get() { return v_; }

 private:
  mpfr_t v_;
};

inline std::int32_t trunc(Double& v) {
  if (mpfr_nan_p(v.get()) || mpfr_inf_p(v.get())) return INT32_MIN;
  Double t;
  mpfr_trunc(t.get(), v.get());
  if (mpfr_cmp_si(t.get(), INT32_MIN) < 0 || mpfr_cmp_si(t.get(), INT32_MAX) > 0) return INT32_MIN;
  return static_cast<std::int32_t>(mpfr_get_si(t.get(), MPFR_RNDZ));
}

// trunc(log(y) / log(x))
inline std::optional<std::int32_t> logNat(std::int32_t x, std::int32_t y) {
  if (x < 2 || y < 1) return std::nullopt;
  Double a(long{y}), b(long{x}), q;
  mpfr_log(a.get(), a.get(), MPFR_RNDN);
  mpfr_log(b.get(), b.get(), MPFR_RNDN);
  mpfr_div(q.get(), a.get(), b.get(), MPFR_RNDN);
  return trunc(q);
}

// trunc(log10(x))
inline std::optional<std::int32_t> log10Nat(std::int32_t x) {
  if (x < 1) return std::nullopt;
  Double a(long{x});
  mpfr_log10(a.get(), a.get(), MPFR_RNDN);
  return trunc(a);
}

// trunc(log(x) / log(2.0)): the logarithm to base 2, the double 2.0 being
// the integer 2 converted.
inline std::optional<std::int32_t> log2Nat(std::int32_t x) { return logNat(2, x); }

// trunc(log(x))
inline std::optional<std::int32_t> lnNat(std::int32_t x) {
  if (x < 1) return std::nullopt;
  Double a(long{x});
  mpfr_log(a.get(), a.get(), MPFR_RNDN);
  return trunc(a);
}

// trunc(pow(y, 1.0 / x))
inline std::optional<std::int32_t> rootNat(std::int32_t x, std::int32_t y) {
  if (x == 0) return std::nullopt;
  Double e(1.0), index(long{x}), base(long{y}), p;
  mpfr_div(e.get(), e.get(), index.get(), MPFR_RNDN);
  mpfr_pow(p.get(), base.get(), e.get(), MPFR_RNDN);
  return trunc(p);
}

// trunc(pow(x, 0.5))
inline std::int32_t sqrtNat(std::int32_t x) {
  Double base(long{x}), half(0.5), p;
  mpfr_pow(p.get(), base.get(), half.get(), MPFR_RNDN);
  return trunc(p);
}

}  // namespace reference

#endif
