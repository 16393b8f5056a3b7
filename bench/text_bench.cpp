// Decimal and binary text conversions: each entry point on a typical input
// and on the longest text, beside the floor it is measured against: the
// array allocations the calling convention itself makes, with their copies.
#include <cstring>
#include <string>

#include "bench.h"

namespace {

void Text(benchmark::State& state, const char* name, std::vector<CONSTANT> argv) {
  bench::call(state, name, std::move(argv));
}

CONSTANT S(const char* text) { return CONSTANT(text, true); }
CONSTANT I(int n) { return CONSTANT(n); }
std::vector<CONSTANT> Args(const CONSTANT& x, const CONSTANT& y) { return {x, y}; }

// A text read by an entry point: toString's array, the stored text without
// its quotes, made and released.
void FloorRead(benchmark::State& state, std::string text) {
  const std::string stored = '"' + text + '"';
  for (auto _ : state) {
    const char* from = stored.c_str();
    benchmark::DoNotOptimize(from);
    std::size_t length = std::strlen(from) - 2;
    char* copy = new char[length + 1];
    std::memcpy(copy, from + 1, length);
    copy[length] = 0;
    benchmark::DoNotOptimize(copy);
    benchmark::ClobberMemory();
    delete[] copy;
  }
}

// A text delivered by an entry point: the text copied into the temporary's
// array with its quotes, that array copied into the output's own, the
// output's old text and the temporary's array released.
void FloorWrite(benchmark::State& state, std::string text) {
  char formed[40];
  char* output = new char[text.size() + 3]();
  for (auto _ : state) {
    std::memcpy(formed, text.c_str(), text.size() + 1);
    benchmark::DoNotOptimize(formed);
    std::size_t length = std::strlen(formed);
    char* temporary = new char[length + 3];
    temporary[0] = '"';
    std::memcpy(temporary + 1, formed, length);
    temporary[length + 1] = '"';
    temporary[length + 2] = 0;
    benchmark::DoNotOptimize(temporary);
    delete[] output;
    output = new char[std::strlen(temporary) + 1];
    std::strcpy(output, temporary);
    benchmark::DoNotOptimize(output);
    delete[] temporary;
    benchmark::ClobberMemory();
  }
  delete[] output;
}

const char* const ones32 = "11111111111111111111111111111111";
// Texts of 40 characters with long runs of white space
// and leading zeros before the digits.
const char* const blanks40 = "                             -2147483648";
const char* const zeros40 = "0000000000000000000000000000000000012345";
const char* const binary_zeros40 = "0000000011111111111111111111111111111111";
// Long texts: a reading skips white space and leading zeros eight bytes a step.
const std::string spaces = std::string(100000, ' ') + "7", zeros = std::string(100000, '0') + "1";

// clang-format off
BENCHMARK_CAPTURE(FloorRead, typical/12345,                   "12345");
BENCHMARK_CAPTURE(FloorRead, longest/-2147483648,             "-2147483648");
BENCHMARK_CAPTURE(FloorRead, typical/101101,                  "101101");
BENCHMARK_CAPTURE(FloorRead, longest/ones32,                  ones32);
BENCHMARK_CAPTURE(FloorRead, blanks40,                       blanks40);
BENCHMARK_CAPTURE(FloorRead, zeros40,                        zeros40);
BENCHMARK_CAPTURE(FloorRead, spaces100000,                     spaces);
BENCHMARK_CAPTURE(FloorRead, zeros100000,                      zeros);
BENCHMARK_CAPTURE(FloorWrite, typical/12345,                  "12345");
BENCHMARK_CAPTURE(FloorWrite, longest/-2147483648,            "-2147483648");
BENCHMARK_CAPTURE(FloorWrite, typical/101101,                 "101101");
BENCHMARK_CAPTURE(FloorWrite, longest/ones32,                 ones32);

BENCHMARK_CAPTURE(Text, s2nNat_ii/typical/12345,              "s2nNat_ii", Args(S("12345"), I(12345)));
BENCHMARK_CAPTURE(Text, s2nNat_ii/longest/-2147483648,        "s2nNat_ii", Args(S("-2147483648"), I(INT32_MIN)));
BENCHMARK_CAPTURE(Text, s2nNat_io/typical/12345,              "s2nNat_io", Args(S("12345"), I(0)));
BENCHMARK_CAPTURE(Text, s2nNat_io/longest/-2147483648,        "s2nNat_io", Args(S("-2147483648"), I(0)));
BENCHMARK_CAPTURE(Text, s2nNat_oi/typical/12345,              "s2nNat_oi", Args(S("old"), I(12345)));
BENCHMARK_CAPTURE(Text, s2nNat_oi/longest/-2147483648,        "s2nNat_oi", Args(S("old"), I(INT32_MIN)));
BENCHMARK_CAPTURE(Text, n2sNat_ii/typical/12345,              "n2sNat_ii", Args(I(12345), S("12345")));
BENCHMARK_CAPTURE(Text, n2sNat_ii/longest/-2147483648,        "n2sNat_ii", Args(I(INT32_MIN), S("-2147483648")));
BENCHMARK_CAPTURE(Text, n2sNat_io/typical/12345,              "n2sNat_io", Args(I(12345), S("old")));
BENCHMARK_CAPTURE(Text, n2sNat_io/longest/-2147483648,        "n2sNat_io", Args(I(INT32_MIN), S("old")));
BENCHMARK_CAPTURE(Text, n2sNat_oi/typical/12345,              "n2sNat_oi", Args(I(0), S("12345")));
BENCHMARK_CAPTURE(Text, n2sNat_oi/longest/-2147483648,        "n2sNat_oi", Args(I(0), S("-2147483648")));
BENCHMARK_CAPTURE(Text, b2dNat_ii/typical/101101,             "b2dNat_ii", Args(S("101101"), I(45)));
BENCHMARK_CAPTURE(Text, b2dNat_ii/longest/ones32,             "b2dNat_ii", Args(S(ones32), I(INT32_MAX)));
BENCHMARK_CAPTURE(Text, b2dNat_io/typical/101101,             "b2dNat_io", Args(S("101101"), I(0)));
BENCHMARK_CAPTURE(Text, b2dNat_io/longest/ones32,             "b2dNat_io", Args(S(ones32), I(0)));
BENCHMARK_CAPTURE(Text, b2dNat_oi/typical/101101,             "b2dNat_oi", Args(S("old"), I(45)));
BENCHMARK_CAPTURE(Text, b2dNat_oi/longest/ones32,             "b2dNat_oi", Args(S("old"), I(-1)));
BENCHMARK_CAPTURE(Text, d2bNat_ii/typical/101101,             "d2bNat_ii", Args(I(45), S("101101")));
BENCHMARK_CAPTURE(Text, d2bNat_ii/longest/ones32,             "d2bNat_ii", Args(I(INT32_MAX), S(ones32)));
BENCHMARK_CAPTURE(Text, d2bNat_io/typical/101101,             "d2bNat_io", Args(I(45), S("old")));
BENCHMARK_CAPTURE(Text, d2bNat_io/longest/ones32,             "d2bNat_io", Args(I(-1), S("old")));
BENCHMARK_CAPTURE(Text, d2bNat_oi/typical/101101,             "d2bNat_oi", Args(I(0), S("101101")));
BENCHMARK_CAPTURE(Text, d2bNat_oi/longest/ones32,             "d2bNat_oi", Args(I(0), S(ones32)));
BENCHMARK_CAPTURE(Text, s2nNat_io/blanks40,                   "s2nNat_io", Args(S(blanks40), I(0)));
BENCHMARK_CAPTURE(Text, s2nNat_io/zeros40,                    "s2nNat_io", Args(S(zeros40), I(0)));
BENCHMARK_CAPTURE(Text, b2dNat_io/blanks40,                   "b2dNat_io", Args(S(blanks40), I(0)));
BENCHMARK_CAPTURE(Text, b2dNat_io/zeros40,                    "b2dNat_io", Args(S(binary_zeros40), I(0)));
BENCHMARK_CAPTURE(Text, s2nNat_io/spaces100000,               "s2nNat_io", Args(S(spaces.c_str()), I(0)));
BENCHMARK_CAPTURE(Text, s2nNat_io/zeros100000,                "s2nNat_io", Args(S(zeros.c_str()), I(0)));
BENCHMARK_CAPTURE(Text, b2dNat_io/spaces100000,               "b2dNat_io", Args(S(spaces.c_str()), I(0)));
BENCHMARK_CAPTURE(Text, b2dNat_io/zeros100000,                "b2dNat_io", Args(S(zeros.c_str()), I(0)));
// clang-format on

}  // namespace
