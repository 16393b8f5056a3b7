// The benchmark program: every entry point on typical and worst inputs,
// beside the floors they are measured against.
#include "bench.h"

BENCHMARK_MAIN();
