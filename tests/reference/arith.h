// A literal reference of the basic arithmetic: 64-bit arithmetic, then the
// low 32 bits taken as a signed value; the guards exactly as described.
#ifndef MATH_N_REFERENCE_ARITH_H
#define MATH_N_REFERENCE_ARITH_H

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace reference {

inline std::int32_t low32(std::int64_t v) {
  v &= 0xffffffffLL;
  return std::int32_t(v >= 0x80000000LL ? v - 0x100000000LL : v);
}

using Value = std::optional<std::int64_t>;
using Arithmetic = std::function<Value(std::int64_t x, std::int64_t y, std::int64_t z)>;

// Each entry point's value from (x, y, z), the open argument ignored; empty
// where the guard refuses. Check-mode entries give the value z is compared with.
inline const std::map<std::string, Arithmetic>& arithmetic() {
  static const std::map<std::string, Arithmetic> table = {
      {"addNat_iii",  [](auto x, auto y, auto) -> Value { return x + y; }                    },
      {"addNat_iio",  [](auto x, auto y, auto) -> Value { return x + y; }                    },
      {"addNat_ioi",  [](auto x, auto,   auto z) -> Value { return z < x ? Value() : z - x; }},
      {"addNat_oii",  [](auto,   auto y, auto z) -> Value { return z < y ? Value() : z - y; }},
      {"subNat_iii",  [](auto x, auto y, auto) -> Value { return x < y ? Value() : x - y; }  },
      {"subNat_iio",  [](auto x, auto y, auto) -> Value { return x < y ? Value() : x - y; }  },
      {"subNat_ioi",  [](auto x, auto,   auto z) -> Value { return x < z ? Value() : x - z; }},
      {"subNat_oii",  [](auto,   auto y, auto z) -> Value { return z + y; }                  },
      {"multNat_iii", [](auto x, auto y, auto) -> Value { return x * y; }                    },
      {"multNat_iio", [](auto x, auto y, auto) -> Value { return x * y; }                    },
      {"divNat_iii",  [](auto x, auto y, auto) -> Value { return y == 0 ? Value() : x / y; } },
      {"divNat_iio",  [](auto x, auto y, auto) -> Value { return y == 0 ? Value() : x / y; } },
      {"modNat_iii",  [](auto x, auto y, auto) -> Value { return y == 0 ? Value() : x % y; } },
      {"modNat_iio",  [](auto x, auto y, auto) -> Value { return y == 0 ? Value() : x % y; } },
  };
  return table;
}

inline bool even(std::int64_t x) { return x % 2 == 0; }
inline bool odd(std::int64_t x) { return x % 2 == 1; }

}  // namespace reference

#endif
