// The closure estimator and the terrain envelope against values worked out
// by hand from the filter's definition.
#include "gpws/terrain_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct EstimatorStep {
  const char* name;
  double terrain_height_m;
  double time_seconds;
  double rate;
  double smoothed_height;
  double rate_ref_height;
  double prev_time_min;
};

// One flight of the estimator from its zero start; each row follows the last.
constexpr EstimatorStep kSteps[] = {
    {"first minute", 1000, 60, -51.263125, 410.105, 410.105, 1.0},
    {"time stands still: height filters, rate stays", 1000, 60, -51.263125, 768.9468750000001,
     410.105, 1.0},
    {"half a minute on, 100 m lower", 900, 90, -202.80973828125002, 1041.923015625, 1041.923015625,
     1.5},
    {"time runs back: rate stays, time follows", 900, 30, -202.80973828125002, 1280.777138671875,
     1041.923015625, 0.5},
    {"a long gap is one step", 800, 120, -211.36193605550133, 1448.7639963378908,
     1448.7639963378908, 2.0},
};

TEST(ClosureEstimator, FollowsTheFilterToTheLastBit) {
  gpws::ClosureEstimator e{};
  for (const EstimatorStep& step : kSteps) {
    SCOPED_TRACE(step.name);
    EXPECT_EQ(gpws::estimate_closure(e, step.terrain_height_m, step.time_seconds), step.rate);
    EXPECT_EQ(e.smoothed_rate, step.rate);
    EXPECT_EQ(e.smoothed_height, step.smoothed_height);
    EXPECT_EQ(e.rate_ref_height, step.rate_ref_height);
    EXPECT_EQ(e.prev_time_min, step.prev_time_min);
  }
}

TEST(ClosureEstimator, ANonFiniteInputLeavesTheFiltersAlone) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  gpws::ClosureEstimator e{};
  gpws::estimate_closure(e, 1000, 60);
  const gpws::ClosureEstimator before = e;
  for (auto [height, time] :
       {std::pair{kNaN, 61.0}, {1000.0, kNaN}, {-kInf, 62.0}, {1000.0, kInf}}) {
    EXPECT_EQ(gpws::estimate_closure(e, height, time), before.smoothed_rate);
  }
  EXPECT_EQ(e.smoothed_height, before.smoothed_height);
  EXPECT_EQ(e.prev_time_min, before.prev_time_min);
  EXPECT_TRUE(std::isfinite(gpws::estimate_closure(e, 900, 90)));
}

struct EnvelopeCase {
  const char* name;
  double terrain_height_m;
  double closure_rate;
  bool alert;
};

constexpr double k1650Ft = 502.9199839065605;  // x = 1650.0 exactly
constexpr double k1650_5Ft = 1650.5 / 3.28084;

constexpr EnvelopeCase kEnvelope[] = {
    {"at the terrain the limit is 2000", 0, 2000.5, true},
    {"at the terrain, exactly 2000", 0, 2000, false},
    {"at 1650 ft the limit is 4000", k1650Ft, 4000.5, true},
    {"at 1650 ft, exactly 4000", k1650Ft, 4000, false},
    {"above 1650 ft never", k1650_5Ft, 1e9, false},
    {"half way, 3000 ft/min", k1650Ft / 2, 3000.5, true},
    {"half way, below 3000", k1650Ft / 2, 2999.5, false},
    {"opening terrain", 100, -500, false},
    {"NaN height", std::numeric_limits<double>::quiet_NaN(), 1e9, false},
};

TEST(TerrainEnvelope, LimitRisesFrom2000To4000FtPerMinute) {
  for (const EnvelopeCase& c : kEnvelope) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(gpws::terrain_envelope(c.terrain_height_m, c.closure_rate), c.alert);
  }
}

}  // namespace
