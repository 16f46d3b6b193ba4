// Where needles point: the radar altimeter's own tables, the ends, the
// angle half way, and tables that cross the +-180 degree line.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "host/render/needle_angle.h"
#include "radalt/needle_tables.h"

namespace {

using host::render::angle_to;
using host::render::needle_angle;
using host::render::normalized_angle;

constexpr int32_t kPivot = 151;
constexpr double kPi = std::numbers::pi;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Degrees between two angles, the short way round.
double apart_deg(double a, double b) {
  return std::fabs(normalized_angle(a - b)) * 180.0 / kPi;
}

double to_point(int32_t x, int32_t y) {
  return angle_to(kPivot, kPivot, x, y);
}

struct HeightCase {
  double metres;
  double expected;  // radians
};

std::vector<HeightCase> height_cases() {
  const auto& t = radalt::kHeightTable;
  auto mean = [&](size_t i) {
    return normalized_angle(
        to_point(t[i].x, t[i].y) +
        normalized_angle(to_point(t[i + 1].x, t[i + 1].y) - to_point(t[i].x, t[i].y)) / 2.0);
  };
  return {
      {0.0, to_point(143, 27)},        {762.0, to_point(39, 204)},
      {770.0, to_point(28, 170)},      {771.0, to_point(28, 170)},
      {1e9, to_point(28, 170)},        {kInf, to_point(28, 170)},
      {-5.0, to_point(143, 27)},       {-kInf, to_point(143, 27)},
      {kNaN, to_point(143, 27)},       {152.4, to_point(151, 273)},
      {(15.24 + 30.48) / 2, mean(1)},  {(152.4 + 304.8) / 2, mean(6)},
      {(762.0 + 770.0) / 2, mean(10)}, {(0.0 + 15.24) / 2, mean(0)},
  };
}

TEST(NeedleAngle, TheRadaltHeightPointerFollowsItsTable) {
  for (const HeightCase& c : height_cases()) {
    SCOPED_TRACE(std::to_string(c.metres) + " m");
    auto angle = needle_angle(kPivot, kPivot, radalt::kHeightTable.data(),
                              radalt::kHeightTable.size(), c.metres);
    ASSERT_TRUE(angle.has_value());
    EXPECT_LT(apart_deg(*angle, c.expected), 1e-9);
  }
}

TEST(NeedleAngle, HalfWayIsTheMeanOfTheTwoEntryAnglesAllRoundTheDhTable) {
  const auto& t = radalt::kDhMarkerTable;
  for (size_t i = 0; i + 1 < t.size(); ++i) {
    SCOPED_TRACE("between " + std::to_string(t[i].value) + " and " +
                 std::to_string(t[i + 1].value));
    const double a0 = to_point(t[i].x, t[i].y);
    const double a1 = to_point(t[i + 1].x, t[i + 1].y);
    auto half = needle_angle(kPivot, kPivot, t.data(), t.size(), (t[i].value + t[i + 1].value) / 2);
    ASSERT_TRUE(half.has_value());
    EXPECT_LT(apart_deg(*half, a0), apart_deg(a1, a0));
    EXPECT_NEAR(apart_deg(*half, a0), apart_deg(*half, a1), 1e-9);
  }
}

// A dial whose scale runs across the left, where atan2 jumps from +180 to
// -180 degrees: the needle must still move the short way.
struct WrapCase {
  const char* name;
  std::vector<frame::NeedleEntry> table;
  double value;
  double expected_deg;
};

std::vector<WrapCase> wrap_cases() {
  // Pivot (100, 100); points at 170, 180 and -170 degrees, 50 px out.
  const frame::NeedleEntry at170{51, 109, 0.0, 0.0};   // atan2(9, -49)
  const frame::NeedleEntry at190{51, 91, 10.0, 0.0};   // atan2(-9, -49)
  const frame::NeedleEntry down{100, 150, 20.0, 0.0};  // 90 degrees
  const double a170 = std::atan2(9.0, -49.0) * 180.0 / kPi;
  return {
      {"half way across the left", {at170, at190}, 5.0, 180.0},
      {"a quarter", {at170, at190}, 2.5, a170 + (360.0 - 2 * a170) / 4},
      {"descending values", {{51, 91, 10.0, 0.0}, {51, 109, 0.0, 0.0}}, 5.0, 180.0},
      {"one entry", {down}, -100.0, 90.0},
      {"one entry, any value", {down}, 100.0, 90.0},
      {"equal values take the first", {{200, 100, 1.0, 0.0}, {100, 200, 1.0, 0.0}}, 1.0, 0.0},
  };
}

TEST(NeedleAngle, MovesTheShortWayAcrossTheLeft) {
  for (const WrapCase& c : wrap_cases()) {
    SCOPED_TRACE(c.name);
    auto angle = needle_angle(100, 100, c.table.data(), c.table.size(), c.value);
    ASSERT_TRUE(angle.has_value());
    EXPECT_LT(apart_deg(*angle, c.expected_deg * kPi / 180.0), 1e-9);
  }
}

TEST(NeedleAngle, AnEmptyTableGivesNoAngle) {
  EXPECT_FALSE(needle_angle(0, 0, nullptr, 0, 1.0).has_value());
  EXPECT_FALSE(needle_angle(0, 0, radalt::kHeightTable.data(), 0, 1.0).has_value());
  EXPECT_FALSE(needle_angle(0, 0, nullptr, 5, 1.0).has_value());
}

TEST(NeedleAngle, NormalizesIntoOneTurn) {
  struct Case {
    double in, out;
  };
  for (const Case& c : {Case{0.0, 0.0}, Case{kPi, kPi}, Case{-kPi, kPi}, Case{2.5 * kPi, 0.5 * kPi},
                        Case{-0.5 * kPi, -0.5 * kPi}, Case{kInf, 0.0}, Case{kNaN, 0.0}}) {
    SCOPED_TRACE(std::to_string(c.in));
    EXPECT_NEAR(normalized_angle(c.in), c.out, 1e-12);
  }
}

}  // namespace
