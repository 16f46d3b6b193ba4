// Whole flights over the shipped terrain profiles: a steady descent over
// flat ground hears the sink-rate voice in the band the envelope map shows
// at its vertical speed and sees the pull-up warning past it; level flight
// into the ridge gives the terrain alert before the ground is reached.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "flight_text.h"
#include "flown_flight.h"
#include "host/aircraft/terrain_profile.h"
#include "host/envelope/descent_sweep.h"

namespace {

using aircraft_flights::FlownFlight;
using aircraft_flights::FlownFrame;
using aircraft_flights::num;
using host::envelope::DescentAlert;
using host::envelope::GridAxis;

const host::envelope::SweepSetup kSetup{testing_host::module_dir(), SIM_ROOT,
                                        testing_host::loader()};
const std::string kTerrainDir = std::string(SCENARIO_DIR) + "/terrain/";

// Where the map's column at one vertical speed changes, from the top: the
// highest height it draws sink rate and the highest it draws pull up.
struct Column {
  double sink_rate_top_ft = -1.0;
  double pull_up_top_ft = -1.0;
};

Column column_of(const host::envelope::SweepMap<DescentAlert>& map) {
  Column c;
  for (int32_t row = map.rows.cells - 1; row >= 0; --row) {
    const DescentAlert a = map.at(row, 0);
    if (a == DescentAlert::kSinkRate && c.sink_rate_top_ft < 0)
      c.sink_rate_top_ft = map.rows.at(row);
    if (a == DescentAlert::kPullUp && c.pull_up_top_ft < 0) c.pull_up_top_ft = map.rows.at(row);
  }
  return c;
}

TEST(ShippedTerrain, SteadyDescentOverFlatGroundSinkRateInTheBandThenPullUp) {
  const host::aircraft::TerrainProfile flat =
      host::aircraft::TerrainProfile::load(kTerrainDir + "flat.profile");
  struct Case {
    double fpm;
    double from_ft;  // above the ground
    double seconds;
  };
  // Each through its sink-rate band into pull up, as the map draws them,
  // ending above the height where the descent's own closure on the ground
  // would enter the terrain envelope (330 ft at 2400 ft/min, 825 ft at 3000).
  const Case cases[] = {{2400, 1100, 11}, {3000, 1400, 10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(num(c.fpm) + " ft/min");
    // The map's column at this vertical speed, every 10 ft.
    const GridAxis heights{0.0, 2000.0, 201};
    const Column map =
        column_of(host::envelope::sweep_descent(kSetup, heights, GridAxis{-c.fpm, -c.fpm, 2}));
    ASSERT_GT(map.sink_rate_top_ft, map.pull_up_top_ft) << "a sink-rate band above pull up";
    ASSERT_GT(map.pull_up_top_ft, 0.0);
    ASSERT_LT(map.sink_rate_top_ft, c.from_ft);

    const double start_nm = 6.0;
    const FlownFlight flight = aircraft_flights::fly(
        "gauge vrn_gpws test\nstart\naircraft " + num(start_nm) + " nm " +
        num(flat.elevation_ft(start_nm) + c.from_ft) + " ft 150 kt -" + num(c.fpm) +
        " fpm\nterrain " + kTerrainDir + "flat.profile\nat " + num(c.seconds) + "\nstop\n");
    ASSERT_EQ(flight.failures, std::vector<std::string>{});
    ASSERT_FALSE(flight.frames.empty());
    ASSERT_GT(flight.frames.back().height_ft(), 0.0) << "still in the air at the end";

    const auto sink = flight.first_voice("sinkrate");
    const auto lamp = flight.first_shown(aircraft_flights::kPullUpLamp);
    const auto pull_up_voice = flight.first_voice("pullup");
    ASSERT_TRUE(sink.has_value());
    ASSERT_TRUE(lamp.has_value());
    ASSERT_TRUE(pull_up_voice.has_value());
    // Within the map's cell at the band's edge or the one above it.
    const double sink_ft = flight.at(*sink)->height_ft();
    const double lamp_ft = flight.at(*lamp)->height_ft();
    EXPECT_GT(sink_ft, map.sink_rate_top_ft - 10.0);
    EXPECT_LE(sink_ft, map.sink_rate_top_ft + 10.0);
    EXPECT_GT(lamp_ft, map.pull_up_top_ft - 10.0);
    EXPECT_LE(lamp_ft, map.pull_up_top_ft + 10.0);
    // The lamp a second before the voice, as the warning cycle goes.
    EXPECT_LT(*sink, *lamp);
    EXPECT_EQ(*pull_up_voice, *lamp + 18);
    EXPECT_FALSE(flight.first_voice("terrain1").has_value() &&
                 *flight.first_voice("terrain1") < *lamp)
        << "a descent over flat ground alerts by its bands first";
  }
}

TEST(ShippedTerrain, LevelIntoTheRidgeTheTerrainAlertComesBeforeTheGround) {
  const std::string ridge_path = kTerrainDir + "ridge.profile";
  const host::aircraft::TerrainProfile ridge = host::aircraft::TerrainProfile::load(ridge_path);
  // Its crest, and where the climb to it starts on the far side.
  const auto& points = ridge.points();
  const auto crest = std::max_element(
      points.begin(), points.end(),
      [](const auto& a, const auto& b) { return a.elevation_ft < b.elevation_ft; });
  ASSERT_NE(crest, points.end());
  auto foot = crest;
  while (foot + 1 != points.end() && (foot + 1)->elevation_ft < foot->elevation_ft) ++foot;
  ASSERT_NE(foot, crest) << "the ridge rises from the far side";
  const double speed_kt = 140.0;
  // Level 150 ft below the crest, from half a mile short of the foot of
  // the ridge, until well past where the ridge meets that altitude.
  const double start_nm = foot->distance_nm + 0.5;
  const double altitude_ft = crest->elevation_ft - 150.0;
  const double seconds =
      (start_nm - crest->distance_nm) / aircraft_flights::nm_per_second(speed_kt);
  const FlownFlight flight = aircraft_flights::fly(
      "gauge vrn_gpws test\nstart\naircraft " + num(start_nm) + " nm " + num(altitude_ft) + " ft " +
      num(speed_kt) + " kt\nterrain " + ridge_path + "\nat " + num(seconds) + "\nstop\n");
  ASSERT_EQ(flight.failures, std::vector<std::string>{});
  ASSERT_FALSE(flight.frames.empty());

  uint32_t ground = 0;
  for (const FlownFrame& f : flight.frames) {
    if (f.on_ground != 0.0) {
      ground = f.frame;
      break;
    }
  }
  ASSERT_NE(ground, 0u) << "the aircraft never reached the ridge";
  const auto lamp = flight.first_shown(aircraft_flights::kPullUpLamp);
  const auto terrain = flight.first_voice("terrain1");
  ASSERT_TRUE(lamp.has_value()) << "no terrain alert";
  ASSERT_TRUE(terrain.has_value()) << "no terrain voice";
  EXPECT_LT(*terrain, ground) << "the terrain voice before the ground";
  EXPECT_GT(flight.at(*lamp)->height_ft(), 0.0);
  EXPECT_FALSE(flight.first_voice("sinkrate").has_value()) << "level: no descent band";
  EXPECT_FALSE(flight.first_voice("pullup").has_value() && *flight.first_voice("pullup") < *terrain)
      << "the terrain's own voice first";
}

}  // namespace
