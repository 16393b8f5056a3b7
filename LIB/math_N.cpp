// The entry points, each built from its row of entry_points.def.
#include "math_N.h"

#include "arith.h"
#include "convention.h"
#include "logroot.h"
#include "loops.h"
#include "text.h"

namespace {
using namespace math_n;
using I = In<Int>;
using C = Compared<Int>;
using O = Out<Int>;
using T = In<Text>;
using OT = Out<Text>;
}  // namespace

extern "C" {
#define ENTRY_POINT(predicate, pattern, kernel, ...)                           \
  static_assert(spells<__VA_ARGS__>(#pattern),                                 \
                #predicate "_" #pattern ": a role the pattern does not name"); \
  MATH_N_ENTRY(predicate##_##pattern, kernel, __VA_ARGS__)
#include "entry_points.def"
#undef ENTRY_POINT
}
