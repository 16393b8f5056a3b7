// PLACEHOLDER, to be replaced: kernels of logNat, log10Nat, log2Nat, lnNat, rootNat, sqrtNat.
#ifndef MATH_N_LOGROOT_H
#define MATH_N_LOGROOT_H
#include <cmath>
#include <cstdint>
#include <optional>
namespace math_n {
inline std::int32_t truncate_to_int32(double v) {
  if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}
inline std::optional<std::int32_t> logarithm(std::int32_t x, std::int32_t y) {
  if (x < 2 || y < 1) return std::nullopt;
  return truncate_to_int32(std::log(y) / std::log(x));
}
inline std::optional<std::int32_t> decimal_logarithm(std::int32_t x) {
  if (x < 1) return std::nullopt;
  return truncate_to_int32(std::log10(x));
}
inline std::optional<std::int32_t> binary_logarithm(std::int32_t x) {
  if (x < 1) return std::nullopt;
  return truncate_to_int32(std::log(x) / std::log(2.0));
}
inline std::optional<std::int32_t> natural_logarithm(std::int32_t x) {
  if (x < 1) return std::nullopt;
  return truncate_to_int32(std::log(x));
}
inline std::optional<std::int32_t> root(std::int32_t x, std::int32_t y) {
  if (x == 0) return std::nullopt;
  return truncate_to_int32(std::pow(y, 1.0 / x));
}
inline std::int32_t square_root(std::int32_t x) { return truncate_to_int32(std::pow(x, 0.5)); }
}  // namespace math_n
#endif
