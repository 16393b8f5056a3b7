// A host in a few lines: it loads the library at run time and finds entry
// points by name, as a rules host does, and links it for CONSTANT's members.
// Built against an installed library by the install and package tests;
// find_package(math_N) and `pkg-config --cflags math_N` both put the
// headers' directory, <prefix>/include/math_N, on the include path.
#include <dlfcn.h>

#include <cstdio>

#include "extpred.h"

int main() {
  void* library = dlopen("libmath_N.so.1", RTLD_NOW);
  if (!library) {
    std::puts(dlerror());
    return 1;
  }
  using EntryPoint = bool (*)(CONSTANT*);
  auto addNat_iio = reinterpret_cast<EntryPoint>(dlsym(library, "addNat_iio"));
  CONSTANT sum[3] = {CONSTANT(3), CONSTANT(4), CONSTANT()};  // the third is open
  if (addNat_iio && addNat_iio(sum)) std::printf("%d\n", sum[2].toInt());  // 7
  auto d2bNat_io = reinterpret_cast<EntryPoint>(dlsym(library, "d2bNat_io"));
  CONSTANT binary[2] = {CONSTANT(5), CONSTANT()};
  if (d2bNat_io && d2bNat_io(binary)) {
    const char* digits = binary[1].toString();  // 101, without the quotes
    std::puts(digits);
    delete[] digits;
  }
}
