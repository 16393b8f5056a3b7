// The exported entry points. Hosts usually find them with dlsym by name;
// this header serves hosts that link the library directly.
#ifndef MATH_N_H
#define MATH_N_H

#include "extpred.h"

extern "C" {
#define ENTRY_POINT(predicate, pattern, ...) EXTPRED_EXPORT bool predicate##_##pattern(CONSTANT* argv);
#include "entry_points.def"
#undef ENTRY_POINT
}

#endif
