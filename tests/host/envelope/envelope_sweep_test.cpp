// The GPWS envelope found by flying the real module on coarse grids: the
// cells next to the known edges of the descent bands and of the terrain
// envelope.
#include <gtest/gtest.h>

#include <string>

#include "host/envelope/descent_sweep.h"
#include "host/envelope/terrain_sweep.h"
#include "host/host_error.h"
#include "host_fixture.h"

namespace {

using host::envelope::DescentAlert;
using host::envelope::GridAxis;
using host::envelope::SweepSetup;

// The modules of this build, or those GAUGE_MODULE_DIR names (the emulated twin).
const SweepSetup kSetup{testing_host::module_dir(), SIM_ROOT, testing_host::loader()};

// Every 200 ft from 0 to 2600, every 200 ft/min from 0 to -8000.
const GridAxis kHeights{0.0, 2600.0, 14};
const GridAxis kDescent{0.0, -8000.0, 41};

int32_t index_of(const GridAxis& axis, double value) {
  for (int32_t i = 0; i < axis.cells; ++i) {
    if (axis.at(i) == value) return i;
  }
  ADD_FAILURE() << value << " is not on the grid";
  return 0;
}

const char* name(DescentAlert a) {
  switch (a) {
    case DescentAlert::kNone:
      return "none";
    case DescentAlert::kSinkRate:
      return "sink rate";
    case DescentAlert::kPullUp:
      return "pull up";
  }
  return "?";
}

TEST(EnvelopeGrid, CellsLandOnRoundValuesAtBothEnds) {
  EXPECT_EQ(kHeights.at(0), 0.0);
  EXPECT_EQ(kHeights.at(2), 400.0);
  EXPECT_EQ(kHeights.at(13), 2600.0);
  EXPECT_EQ(kDescent.at(5), -1000.0);
  EXPECT_EQ(kDescent.at(40), -8000.0);
}

TEST(EnvelopeDescent, TheBandsBeginWhereTheGpwsSaysTheyDo) {
  const auto map = host::envelope::sweep_descent(kSetup, kHeights, kDescent);
  ASSERT_EQ(map.cells.size(), 14u * 41u);
  struct Case {
    double height_ft;
    double vertical_speed_fpm;
    DescentAlert expected;
  };
  // The GPWS sees whole metres: 400 ft is 121 m (396 ft), 600 ft 182 m (597 ft).
  const Case cases[] = {
      {400, -1000, DescentAlert::kNone},      {400, -1200, DescentAlert::kPullUp},
      {600, -1400, DescentAlert::kNone},      {600, -1600, DescentAlert::kSinkRate},
      {600, -2200, DescentAlert::kSinkRate},  {600, -2400, DescentAlert::kPullUp},
      {1000, -2200, DescentAlert::kNone},     {1000, -2400, DescentAlert::kSinkRate},
      {1000, -2800, DescentAlert::kSinkRate}, {1000, -3000, DescentAlert::kPullUp},
      {2400, -5000, DescentAlert::kNone},     {2400, -5200, DescentAlert::kSinkRate},
      {2400, -7200, DescentAlert::kPullUp},   {2600, -8000, DescentAlert::kNone},
      {0, -8000, DescentAlert::kNone},        {200, 0, DescentAlert::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.height_ft)) + " ft at " +
                 std::to_string(static_cast<int>(c.vertical_speed_fpm)) + " ft/min");
    const DescentAlert got =
        map.at(index_of(kHeights, c.height_ft), index_of(kDescent, c.vertical_speed_fpm));
    EXPECT_STREQ(name(got), name(c.expected));
  }
}

TEST(EnvelopeDescent, AboveTheBandsNothingAtAll) {
  const auto map = host::envelope::sweep_descent(kSetup, GridAxis{2520.0, 2600.0, 2}, kDescent);
  for (int32_t row = 0; row < 2; ++row) {
    for (int32_t column = 0; column < kDescent.cells; ++column) {
      SCOPED_TRACE("row " + std::to_string(row) + ", column " + std::to_string(column));
      EXPECT_EQ(map.at(row, column), DescentAlert::kNone);
    }
  }
}

TEST(EnvelopeDescent, RefusesToSweepDeaf) {
  EXPECT_THROW(
      host::envelope::sweep_descent(SweepSetup{kSetup.modules_dir, "/nonexistent", kSetup.loader},
                                    kHeights, kDescent),
      host::HostError);
}

TEST(EnvelopeTerrain, TheAlertBeginsAboveTheLineFrom2000To4000FtPerMinute) {
  // The alert rate rises from 2000 ft/min at the terrain to 4000 at 1650 ft:
  // 3212 at 1000 ft, 3818 at 1500 ft.
  const GridAxis heights{0.0, 2000.0, 5};
  const GridAxis closure{0.0, 8000.0, 41};
  const auto map = host::envelope::sweep_terrain(kSetup, heights, closure);
  struct Case {
    double height_ft;
    double closure_fpm;
    bool alert;
  };
  const Case cases[] = {
      {0, 1800, false},    {0, 2200, true},    {500, 2400, false},  {500, 2800, true},
      {1000, 3200, false}, {1000, 3400, true}, {1500, 3800, false}, {1500, 4000, true},
      {2000, 8000, false}, {1000, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.height_ft)) + " ft closing at " +
                 std::to_string(static_cast<int>(c.closure_fpm)) + " ft/min");
    EXPECT_EQ(map.at(index_of(heights, c.height_ft), index_of(closure, c.closure_fpm)) != 0,
              c.alert);
  }
}

TEST(EnvelopeTerrain, AtAThousandFeetTheLimitIsAbout3212FtPerMinute) {
  struct Case {
    double closure_fpm;
    bool alert;
  };
  const Case cases[] = {{3150, false}, {3195, false}, {3230, true}, {3280, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.closure_fpm)) + " ft/min");
    EXPECT_EQ(host::envelope::terrain_alert(kSetup, 1000.0, c.closure_fpm), c.alert);
  }
}

}  // namespace
