// The decimal and binary texts of every 32-bit number read back as the
// number (the binary text of a negative number as 2147483647). Every number
// in the native release build; elsewhere (emulated or sanitized, many times
// slower) a strided subset.
#include "text.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

#ifdef MATH_N_TEXT_EXHAUSTIVE
constexpr std::uint64_t stride = 1;
#else
constexpr std::uint64_t stride = 251;
#endif

TEST(Text, KernelsRoundTripEveryNumber) {
  std::uint64_t failures[2] = {};
  std::int32_t first[2] = {};
  auto sweep = [&](int half) {
    // Both halves start on the stride, so every build covers 0 and -2147483648.
    const std::uint64_t middle = (std::uint64_t(1) << 31) / stride * stride;
    for (std::uint64_t i = half ? middle : 0; i < (half ? std::uint64_t(1) << 32 : middle); i += stride) {
      std::int32_t x = std::int32_t(std::uint32_t(i));
      bool decimal = math_n::decimal_reading(math_n::decimal_text(x)) == x;
      bool binary = math_n::binary_reading(math_n::binary_text(x)) == (x < 0 ? 2147483647 : x);
      if (!(decimal && binary) && failures[half]++ == 0) first[half] = x;
    }
  };
  std::thread other(sweep, 1);
  sweep(0);
  other.join();
  for (int half : {0, 1}) EXPECT_EQ(failures[half], 0u) << "first at " << first[half];
  EXPECT_EQ(math_n::decimal_reading(math_n::decimal_text(2147483647)), 2147483647);
}

}  // namespace
