// Calls one entry point N times on one argument vector, for tools/callcount
// to count its instructions under callgrind. NAME is found in the library with
// dlsym, as a host finds it; plain_NAME is the plain transcription of NAME's
// formula with the platform's log, log10 and pow, behind the same convention.
//
// Usage: callcount LIBRARY NAME N ARG... (an ARG of "-" is the output, one in
// double quotes a String, any other an Integer)
#include <dlfcn.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "convention.h"
#include "reference/common.h"

namespace {

using namespace math_n;
using I = In<Int>;
using O = Out<Int>;

using reference::trunc;

std::optional<std::int32_t> log_formula(std::int32_t x, std::int32_t y) {
  if (x < 2 || y < 1) return std::nullopt;
  return trunc(std::log(double(y)) / std::log(double(x)));
}
std::optional<std::int32_t> log10_formula(std::int32_t x) {
  if (x < 1) return std::nullopt;
  return trunc(std::log10(double(x)));
}
std::optional<std::int32_t> log2_formula(std::int32_t x) {
  if (x < 1) return std::nullopt;
  return trunc(std::log(double(x)) / std::log(2.0));
}
std::optional<std::int32_t> ln_formula(std::int32_t x) {
  if (x < 1) return std::nullopt;
  return trunc(std::log(double(x)));
}
std::optional<std::int32_t> root_formula(std::int32_t x, std::int32_t y) {
  if (x == 0) return std::nullopt;
  return trunc(std::pow(double(y), 1.0 / x));
}
std::int32_t sqrt_formula(std::int32_t x) { return trunc(std::pow(double(x), 0.5)); }

}  // namespace

extern "C" {
// clang-format off
MATH_N_ENTRY(plain_logNat_iio,   log_formula,   I, I, O)
MATH_N_ENTRY(plain_log10Nat_io,  log10_formula, I, O)
MATH_N_ENTRY(plain_log2Nat_io,   log2_formula,  I, O)
MATH_N_ENTRY(plain_lnNat_io,     ln_formula,    I, O)
MATH_N_ENTRY(plain_rootNat_iio,  root_formula,  I, I, O)
MATH_N_ENTRY(plain_sqrtNat_io,   sqrt_formula,  I, O)
// clang-format on
}

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: callcount LIBRARY NAME N ARG...\n");
    return 2;
  }
  using Entry = bool (*)(CONSTANT*);
  const struct {
    const char* name;
    Entry entry;
  } plain[] = {
      {"plain_logNat_iio",  plain_logNat_iio },
      {"plain_log10Nat_io", plain_log10Nat_io},
      {"plain_log2Nat_io",  plain_log2Nat_io },
      {"plain_lnNat_io",    plain_lnNat_io   },
      {"plain_rootNat_iio", plain_rootNat_iio},
      {"plain_sqrtNat_io",  plain_sqrtNat_io },
  };
  Entry entry = nullptr;
  for (const auto& p : plain)
    if (!std::strcmp(p.name, argv[2])) entry = p.entry;
  if (!entry) {
    void* library = dlopen(argv[1], RTLD_NOW);
    entry = reinterpret_cast<Entry>(library ? dlsym(library, argv[2]) : nullptr);
  }
  if (!entry) {
    std::fprintf(stderr, "no entry point %s\n", argv[2]);
    return 1;
  }
  std::vector<CONSTANT> args;
  for (int i = 4; i < argc; ++i)
    args.push_back(!std::strcmp(argv[i], "-") ? CONSTANT()
                   : argv[i][0] == '"'        ? CONSTANT(argv[i], true)
                                              : CONSTANT(std::atoi(argv[i])));
  long calls = std::atol(argv[3]);
  bool all = true;
  for (long i = 0; i < calls; ++i) all &= entry(args.data());
  std::printf("%s %s\n", argv[2], all ? "true" : "false");
  return 0;
}
