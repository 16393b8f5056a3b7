// For the boundary's benchmark (bench.pl): the cheapest foreign predicate of
// addNat(X, 4, Z)'s shape, registered the way library(math_n) registers its
// predicates, and the switch that confines callgrind's count to the loop.
#include <SWI-Prolog.h>
#include <valgrind/callgrind.h>

#include <cstdint>

namespace {

// minimal_add(X, Y, Z): Z is the wrapped sum of the 32-bit integers X and
// Y; fails on anything else.
foreign_t minimalAdd(term_t t0, int, control_t) {
  int x, y;
  return PL_get_integer(t0, &x) && PL_get_integer(t0 + 1, &y) &&
         PL_unify_integer(t0 + 2, std::int32_t(std::uint32_t(x) + std::uint32_t(y)));
}

// callgrind_toggle: starts or stops callgrind's count (nothing outside it).
foreign_t callgrindToggle() {
  CALLGRIND_TOGGLE_COLLECT;
  return true;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) install_t install_minimal() {
  PL_register_foreign("minimal_add", 3, reinterpret_cast<pl_function_t>(&minimalAdd), PL_FA_VARARGS);
  PL_register_foreign("callgrind_toggle", 0, reinterpret_cast<pl_function_t>(&callgrindToggle), 0);
}
