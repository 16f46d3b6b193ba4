// The aircraft as a flight meets it: the names it serves over the frames
// (altitude falling at the commanded rate once the vertical speed has
// reached it, the ground from the profile, standing on it without a
// bounce, the levers' travel, the power switch), a `set` or `ramp` that
// overrides a driven name until `release NAME`, and the glideslope
// deviation's scale, in the names' units as the modules are served them.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "host/flight_script.h"
#include "host/sim_write.h"
#include "host_fixture.h"

namespace {

constexpr double kFps = 18.0;

// The value of each name in `names` after every frame of the flight.
struct Served {
  std::map<std::string, std::vector<double>> by_name;
  double at(const std::string& name, double seconds) const {
    const std::vector<double>& values = by_name.at(name);
    const auto frame = static_cast<size_t>(std::lround(seconds * kFps));
    EXPECT_GE(frame, 1u);
    EXPECT_LE(frame, values.size());
    return values.at(frame - 1);
  }
};

Served fly(const std::string& body, const std::vector<std::string>& names,
           host::aircraft::AircraftState* end_state = nullptr) {
  host::PanelHost panel(testing_host::options());
  Served served;
  panel.add_frame_observer([&](uint32_t) {
    for (const std::string& name : names) {
      served.by_name[name].push_back(host::variable_value(panel.sim(), *host::find_sim_name(name)));
    }
  });
  const std::string flight = "gauge vrn_radalt radalt\nstart\n" + body;
  host::FlightScript::parse(flight, ::testing::TempDir() + "/a.flight").fly(panel);
  if (end_state != nullptr) *end_state = panel.aircraft()->state();
  return served;
}

constexpr double kFoot = 0.3048;

TEST(AircraftFlight, ServesWhatItDoesFrameByFrame) {
  const struct {
    const char* what;
    std::string body;
    const char* name;
    double seconds;
    double value;
    double within;
  } cases[] = {
      // The vertical speed reaches a command at 500 ft/min per second.
      {"half way to the descent", "aircraft 5 nm 3000 ft 140 kt\ndescend 1000 fpm\nat 4\n",
       "vertical_speed_fpm", 1, -500, 1e-6},
      {"the descent reached", "aircraft 5 nm 3000 ft 140 kt\ndescend 1000 fpm\nat 4\n",
       "vertical_speed_fpm", 2, -1000, 1e-6},
      {"climbing back", "aircraft 5 nm 3000 ft 140 kt -1000 fpm\nclimb 1000 fpm\nat 5\n",
       "vertical_speed_fpm", 3, 500, 1e-6},
      {"levelled", "aircraft 5 nm 3000 ft 140 kt -1000 fpm\nat 1\nlevel\nat 5\n",
       "vertical_speed_fpm", 4, 0, 1e-6},
      // The altitude integrates it: a steady 600 ft/min is 10 ft a second.
      {"a steady descent", "aircraft 5 nm 3000 ft 140 kt -600 fpm\nat 10\n", "altitude_m", 6,
       (3000 - 60) * kFoot, 1e-6},
      {"in feet too", "aircraft 5 nm 3000 ft 140 kt -600 fpm\nat 10\n", "climb_altitude", 6,
       (3000 - 60) * kFoot * host::kFeetPerMetre, 1e-6},
      {"above the ground", "aircraft 5 nm 3000 ft 140 kt -600 fpm\nat 10\n", "terrain_height_m", 6,
       (3000 - 60) * kFoot, 1e-6},
      // Standing on the ground: 100 ft at 600 ft/min is 10 s, then it stays.
      {"on the ground", "aircraft 5 nm 100 ft 140 kt -600 fpm\nat 20\n", "on_ground", 11, 1, 0},
      {"not yet on it", "aircraft 5 nm 100 ft 140 kt -600 fpm\nat 20\n", "on_ground", 9.5, 0, 0},
      {"no sinking into it", "aircraft 5 nm 100 ft 140 kt -600 fpm\nat 20\n", "vertical_speed_fpm",
       15, 0, 0},
      {"no bounce", "aircraft 5 nm 100 ft 140 kt -600 fpm\nat 20\n", "altitude_m", 20, 0, 0},
      {"a climb lifts it off", "aircraft 5 nm 0 ft 140 kt\nat 1\nclimb 600 fpm\nat 4\n",
       "on_ground", 2, 0, 0},
      // The levers: the gear in 6 s, the flaps in 8 s, full travel.
      {"gear half down", "aircraft 5 nm 3000 ft 140 kt\ngear down\nat 8\n", "gear", 3, 8191.5,
       1e-6},
      {"gear down", "aircraft 5 nm 3000 ft 140 kt\ngear down\nat 8\n", "gear", 7, 16383, 0},
      {"flaps half", "aircraft 5 nm 3000 ft 140 kt\nflaps landing\nat 9\n", "flaps", 4, 8191.5,
       1e-6},
      {"approach flaps", "aircraft 5 nm 3000 ft 140 kt\nflaps approach\nat 9\n", "flaps", 9, 10000,
       0},
      {"flaps by position", "aircraft 5 nm 3000 ft 140 kt\nflaps 4000\nat 9\n", "flaps", 9, 4000,
       0},
      {"starts where the sim has them", "set gear 16383\naircraft 5 nm 3000 ft 140 kt\nat 1\n",
       "gear", 1, 16383, 0},
      {"power on at the start", "aircraft 5 nm 3000 ft 140 kt\nat 1\n", "power", 1, 1, 0},
      {"power off", "aircraft 5 nm 3000 ft 140 kt\npower off\nat 1\n", "power", 1, 0, 0},
      // The ground from the profile: the ridge rises 1400 ft from 6.5 to
      // 5.8 nm; 6.2 nm is 3/7 of the way up, 600 ft. 360 kt is 0.1 nm a second.
      {"the ground of the profile",
       "aircraft 6.3 nm 3000 ft 360 kt\nterrain " SCENARIO_DIR "/terrain/ridge.profile\nat 2\n",
       "ground_elevation_m", 1, 600 * kFoot, 1e-6},
      // A set overrides a driven name until release; ramps too.
      {"set overrides", "aircraft 5 nm 3000 ft 140 kt -600 fpm\nset altitude_m 50\nat 3\n",
       "altitude_m", 3, 50, 0},
      {"until released",
       "aircraft 5 nm 3000 ft 140 kt -600 fpm\nset altitude_m 50\nat 2\nrelease altitude_m\nat 3\n",
       "altitude_m", 3, (3000 - 30) * kFoot, 1e-6},
      {"ramp overrides", "aircraft 5 nm 3000 ft 140 kt\nramp vertical_speed_fpm 900 over 1\nat 3\n",
       "vertical_speed_fpm", 3, 900, 0},
      {"others still served", "aircraft 5 nm 3000 ft 140 kt\nset altitude_m 50\nat 3\n",
       "terrain_height_m", 3, 3000 * kFoot, 1e-6},
      {"a new aircraft serves them all",
       "aircraft 5 nm 3000 ft 140 kt\nset altitude_m 50\naircraft 5 nm 2000 ft 140 kt\nat 1\n",
       "altitude_m", 1, 2000 * kFoot, 1e-6},
      // The glideslope deviation: one dot low is -63.5, clamped at -127.
      {"on the path", "aircraft 3 nm 955 ft 140 kt\nglidepath 3 deg\nfollow glidepath\nat 20\n",
       "glideslope_deviation", 20, 0, 0.5},
      {"one dot low",
       "aircraft 3 nm 955 ft 140 kt\nglidepath 3 deg\nfollow glidepath -1 dots\nat 20\n",
       "glideslope_deviation", 20, -63.5, 0.5},
      {"half a dot high",
       "aircraft 3 nm 955 ft 140 kt\nglidepath 3 deg\nfollow glidepath 0.5 dot\nat 20\n",
       "glideslope_deviation", 20, 31.75, 0.5},
      {"far below", "aircraft 3 nm 300 ft 140 kt\nglidepath 3 deg\nat 1\n", "glideslope_deviation",
       1, -127, 0},
      {"far above", "aircraft 3 nm 3000 ft 140 kt\nglidepath 3 deg\nat 1\n", "glideslope_deviation",
       1, 127, 0},
      {"none without a path", "set glideslope_deviation 7\naircraft 3 nm 300 ft 140 kt\nat 1\n",
       "glideslope_deviation", 1, 7, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Served served = fly(c.body, {c.name});
    EXPECT_NEAR(served.at(c.name, c.seconds), c.value, c.within);
  }
}

// Once on the ground, every frame after: VS 0, on_ground 1, no height.
TEST(AircraftFlight, StaysOnTheGroundWithoutBouncing) {
  const Served served = fly("aircraft 5 nm 100 ft 140 kt -600 fpm\nat 30\n",
                            {"on_ground", "vertical_speed_fpm", "terrain_height_m"});
  const std::vector<double>& on_ground = served.by_name.at("on_ground");
  const auto first =
      static_cast<size_t>(std::find(on_ground.begin(), on_ground.end(), 1.0) - on_ground.begin());
  ASSERT_LT(first, on_ground.size());
  EXPECT_NEAR(first / kFps, 10.0, 1.5 / kFps);
  for (size_t i = first; i < on_ground.size(); ++i) {
    EXPECT_EQ(on_ground[i], 1.0) << "frame " << i;
    EXPECT_EQ(served.by_name.at("vertical_speed_fpm")[i], 0.0) << "frame " << i;
    EXPECT_EQ(served.by_name.at("terrain_height_m")[i], 0.0) << "frame " << i;
  }
}

// Distance shrinks by the ground speed, which reaches a command at 2 kt/s,
// and goes on past the threshold.
TEST(AircraftFlight, DistanceShrinksByTheGroundSpeed) {
  host::aircraft::AircraftState state;
  fly("aircraft 0.2 nm 0 ft 360 kt\nat 10\n", {}, &state);
  EXPECT_NEAR(state.distance_nm, 0.2 - 1.0, 1e-9);
  fly("aircraft 5 nm 3000 ft 140 kt\nspeed 150 kt\nat 10\n", {}, &state);
  EXPECT_DOUBLE_EQ(state.ground_speed_kt, 150);
  // 5 s at 140 to 150 kt, 5 s at 150 kt: 1450/3600 nm, to a frame's rounding.
  EXPECT_NEAR(state.distance_nm, 5 - (145 * 5 + 150 * 5) / 3600.0, 0.5 / 3600);
  // Rolling on, it follows the ground as it rises.
  fly("aircraft 6.6 nm 0 ft 360 kt\nterrain " SCENARIO_DIR "/terrain/ridge.profile\nat 3\n", {},
      &state);
  EXPECT_TRUE(state.on_ground);
  EXPECT_NEAR(state.altitude_ft, 1400.0 * 0.2 / 0.7, 1e-6);  // 6.3 nm up the ridge
}

// A flight that flies no aircraft serves nothing of it: what it sets stays.
TEST(AircraftFlight, WithoutOneNothingIsServed) {
  const Served served = fly("set altitude_m 77\nset gear 5\nat 2\n", {"altitude_m", "gear"});
  EXPECT_EQ(served.at("altitude_m", 2), 77);
  EXPECT_EQ(served.at("gear", 2), 5);
}

}  // namespace
