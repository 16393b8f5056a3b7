// Double-double arithmetic (an unevaluated sum hi + lo, about 106 bits) and a
// natural logarithm of 32-bit integers accurate to about 2^-100, enough to
// round it correctly to double. Every operation assumes round to nearest.
#ifndef MATH_N_DOUBLE_DOUBLE_H
#define MATH_N_DOUBLE_DOUBLE_H

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace math_n::dd {

struct Number {
  double hi = 0;
  double lo = 0;
};

// Returns: s + e = a + b exactly, s = RN(a + b).
constexpr Number two_sum(double a, double b) {
  double s = a + b;
  double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// As two_sum, for |a| >= |b|.
constexpr Number fast_two_sum(double a, double b) {
  double s = a + b;
  return {s, b - (s - a)};
}

// Returns: p + e = a * b exactly (Dekker: no fused multiply-add needed).
constexpr Number two_product(double a, double b) {
  constexpr double splitter = 134217729.0;  // 2^27 + 1
  double ta = splitter * a, tb = splitter * b;
  double ah = ta - (ta - a), bh = tb - (tb - b);
  double al = a - ah, bl = b - bh;
  double p = a * b;
  return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

constexpr Number add(Number a, Number b) {
  Number s = two_sum(a.hi, b.hi);
  Number t = two_sum(a.lo, b.lo);
  s = fast_two_sum(s.hi, s.lo + t.hi);
  return fast_two_sum(s.hi, s.lo + t.lo);
}

constexpr Number multiply(Number a, Number b) {
  Number p = two_product(a.hi, b.hi);
  return fast_two_sum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

constexpr Number multiply(Number a, double b) { return multiply(a, Number{b, 0}); }

constexpr Number divide(Number a, Number b) {
  double q1 = a.hi / b.hi;
  Number r = add(a, multiply(b, -q1));
  double q2 = r.hi / b.hi;
  r = add(r, multiply(b, -q2));
  double q3 = r.hi / b.hi;
  return add(fast_two_sum(q1, q2), Number{q3, 0});
}

inline constexpr Number ln2 = {0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};

// 1/(2i+1) for the terms of atanh kept in double-double.
inline constexpr int exact_terms = 11;
inline constexpr std::array<Number, exact_terms> odd_reciprocals = [] {
  std::array<Number, exact_terms> table{};
  for (int i = 0; i < exact_terms; ++i) table[i] = divide(Number{1, 0}, Number{2.0 * i + 1, 0});
  return table;
}();

// Returns: ln n for n >= 1, within about 2^-100 (relative).
// n = 2^k f with f in [1/sqrt 2, sqrt 2]; ln f = 2 atanh s, s = (f-1)/(f+1),
// |s| <= 0.172, so s^2 < 2^-5 and 22 terms of the series reach 2^-110.
inline Number log(std::uint32_t n) {
  int k = static_cast<int>(std::bit_width(n)) - 1;
  double f = std::ldexp(static_cast<double>(n), -k);
  if (f > 1.4142135623730951) {
    f *= 0.5;
    ++k;
  }
  Number scaled_ln2 = two_product(k, ln2.hi);
  scaled_ln2 = fast_two_sum(scaled_ln2.hi, scaled_ln2.lo + k * ln2.lo);
  if (f == 1) return scaled_ln2;
  // f has at most 32 significant bits: f - 1 and f + 1 are exact.
  Number s = divide(Number{f - 1, 0}, Number{f + 1, 0});
  Number z = multiply(s, s);
  // z^11 < 2^-55: the tail beyond the first 11 terms needs only double.
  double tail = 0;
  for (int i = 21; i >= exact_terms; --i) tail = tail * z.hi + 1.0 / (2 * i + 1);
  Number series{tail, 0};
  for (int i = exact_terms - 1; i >= 0; --i) series = add(multiply(series, z), odd_reciprocals[i]);
  Number log_f = multiply(multiply(series, s), 2.0);
  return add(scaled_ln2, log_f);
}

// Returns: ln n rounded to nearest double (add normalises: hi = RN(hi + lo)).
inline double log_rounded(std::uint32_t n) { return log(n).hi; }

}  // namespace math_n::dd

#endif
