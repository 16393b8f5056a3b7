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

// Each entry point's value from (x, y, z), the open argument ignored; empty
// where the guard refuses. Check-mode entries give the value z is compared
// with; the parity tests, 1 where they hold.
inline const std::map<std::string, std::function<Value(std::int64_t, std::int64_t, std::int64_t)>>&
arithmetic() {
  static const std::map<std::string, std::function<Value(std::int64_t, std::int64_t, std::int64_t)>> table = {
      {"addNat_iii",  [](auto x, auto y, auto) -> Value { return x + y; }                          },
      {"addNat_iio",  [](auto x, auto y, auto) -> Value { return x + y; }                          },
      {"addNat_ioi",  [](auto x, auto,   auto z) -> Value { return z < x ? Value() : z - x; }      },
      {"addNat_oii",  [](auto,   auto y, auto z) -> Value { return z < y ? Value() : z - y; }      },
      {"subNat_iii",  [](auto x, auto y, auto) -> Value { return x < y ? Value() : x - y; }        },
      {"subNat_iio",  [](auto x, auto y, auto) -> Value { return x < y ? Value() : x - y; }        },
      {"subNat_ioi",  [](auto x, auto,   auto z) -> Value { return x < z ? Value() : x - z; }      },
      {"subNat_oii",  [](auto,   auto y, auto z) -> Value { return z + y; }                        },
      {"multNat_iii", [](auto x, auto y, auto) -> Value { return x * y; }                          },
      {"multNat_iio", [](auto x, auto y, auto) -> Value { return x * y; }                          },
      {"divNat_iii",  [](auto x, auto y, auto) -> Value { return y == 0 ? Value() : x / y; }       },
      {"divNat_iio",  [](auto x, auto y, auto) -> Value { return y == 0 ? Value() : x / y; }       },
      {"modNat_iii",  [](auto x, auto y, auto) -> Value { return y == 0 ? Value() : x % y; }       },
      {"modNat_iio",  [](auto x, auto y, auto) -> Value { return y == 0 ? Value() : x % y; }       },
      {"evenNat_i",   [](auto x, auto,   auto) -> Value { return x % 2 == 0 ? Value(1) : Value(); }},
      {"oddNat_i",    [](auto x, auto,   auto) -> Value { return x % 2 == 1 ? Value(1) : Value(); }},
  };
  return table;
}

}  // namespace reference

#endif
