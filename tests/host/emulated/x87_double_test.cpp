// 80-bit x87 values to doubles: exact where the double holds the value,
// rounded to nearest even where it does not, and the special values kept.
#include "host/emulated/x87_double.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace {

using host::emu::x87_to_double;

constexpr uint64_t kOne = uint64_t{1} << 63;

TEST(X87Double, ConvertsExactlyAndRoundsToNearestEven) {
  struct Row {
    const char* name;
    uint64_t mantissa;
    uint16_t sign_exponent;
    double expected;
  };
  const Row rows[] = {
      {"one", kOne, 0x3fff, 1.0},
      {"minus two and a half", kOne | (kOne >> 2), 0xc000, -2.5},
      {"zero", 0, 0, 0.0},
      {"half way rounds to even (down)", kOne | (uint64_t{1} << 10), 0x3fff, 1.0},
      {"half way rounds to even (up)", kOne | (uint64_t{3} << 10), 0x3fff,
       1.0 + 2 * std::numeric_limits<double>::epsilon()},
      {"above half way rounds up", kOne | (uint64_t{1} << 10) | 1, 0x3fff,
       1.0 + std::numeric_limits<double>::epsilon()},
      {"all ones rounds up to two", ~uint64_t{0}, 0x3fff, 2.0},
      {"too large is infinite", kOne, 0x3fff + 1024, std::numeric_limits<double>::infinity()},
      {"smallest subnormal", kOne, 0x3fff - 1074, std::numeric_limits<double>::denorm_min()},
      {"below half the smallest subnormal is zero", kOne, 0x3fff - 1076, 0.0},
      {"infinity", kOne, 0xffff, -std::numeric_limits<double>::infinity()},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(std::bit_cast<uint64_t>(x87_to_double(row.mantissa, row.sign_exponent)),
              std::bit_cast<uint64_t>(row.expected));
  }
  EXPECT_TRUE(std::isnan(x87_to_double(kOne | (kOne >> 1), 0x7fff)));
  EXPECT_TRUE(std::signbit(x87_to_double(0, 0x8000)));
}

}  // namespace
