// A host linked directly against the installed library: one compute call
// with a number output and one with a text output.
#include <cstdio>
#include <memory>

#include "math_N.h"

int main() {
  CONSTANT sum[3] = {CONSTANT(3), CONSTANT(4), CONSTANT()};
  CONSTANT binary[2] = {CONSTANT(5), CONSTANT()};
  if (!addNat_iio(sum) || !d2bNat_io(binary) || !binary[1].isString()) return 1;
  std::unique_ptr<const char[]> text(binary[1].toString());
  std::printf("%d %s\n", sum[2].toInt(), text.get());
  return 0;
}
