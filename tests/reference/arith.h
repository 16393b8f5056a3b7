// A literal reference of the basic arithmetic and parity: 64-bit arithmetic,
// then the low 32 bits taken as a signed value; the guards as described.
#ifndef MATH_N_REFERENCE_ARITH_H
#define MATH_N_REFERENCE_ARITH_H

#include <functional>
#include <map>
#include <optional>

#include "reference/common.h"

namespace reference {

using Value = std::optional<std::int64_t>;
using Formula = std::function<Value(std::size_t, std::int64_t, std::int64_t, std::int64_t)>;

// Each predicate's value from (x, y, z) when argument `o` is the one
// computed (2 in check mode too: z is compared with it); empty where the
// guard refuses. The parity tests give 1 where they hold.
inline const std::map<std::string, Formula>& arithmetic() {
  // clang-format off
  static const std::map<std::string, Formula> table = {
    {"addNat",  [](auto o, auto x, auto y, auto z) -> Value {
                  if (o == 2) return x + y;
                  const auto addend = o == 0 ? y : x;  // the known one
                  return z < addend ? Value() : z - addend; }},
    {"subNat",  [](auto o, auto x, auto y, auto z) -> Value {
                  if (o == 0) return z + y;
                  if (o == 1) return x < z ? Value() : x - z;
                  return x < y ? Value() : x - y; }},
    {"multNat", [](auto, auto x, auto y, auto) -> Value { return x * y; }},
    {"divNat",  [](auto, auto x, auto y, auto) -> Value { return y == 0 ? Value() : x / y; }},
    {"modNat",  [](auto, auto x, auto y, auto) -> Value { return y == 0 ? Value() : x % y; }},
    {"evenNat", [](auto, auto x, auto, auto) -> Value { return x % 2 == 0 ? Value(1) : Value(); }},
    {"oddNat",  [](auto, auto x, auto, auto) -> Value { return x % 2 == 1 ? Value(1) : Value(); }},
  };
  // clang-format on
  return table;
}

}  // namespace reference

#endif
