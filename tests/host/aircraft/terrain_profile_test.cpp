// Terrain profiles as a flight's author writes them, and the glide path's
// geometry: each malformed profile refused with its file:line, elevations
// linear between points and held at the ends, the shipped profiles read,
// and the deviation scale (one dot is 0.35 deg and 63.5 units, clamped at
// two dots, negative below).
#include "host/aircraft/terrain_profile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "host/aircraft/glide_path.h"
#include "host_fixture.h"

namespace {

using host::aircraft::GlidePath;
using host::aircraft::TerrainProfile;
using testing_host::error_of;

TEST(TerrainProfile, AMalformedProfileIsRefusedWithItsLine) {
  const struct {
    const char* text;
    const char* error;  // "" when it reads
  } cases[] = {
      {"0 0\n", ""},
      {"# a comment\n\n0 100   # the threshold\n2.5 300\n", ""},
      {"-1 -20\n0 0\n", ""},
      {"0 0\n1\n",
       "p.profile:2: a point is two numbers, DISTANCE_NM ELEVATION_FT; this line has 1"},
      {"0 0 0\n", "p.profile:1: a point is two numbers, DISTANCE_NM ELEVATION_FT; this line has 3"},
      {"0 0\n1 high\n", "p.profile:2: 'high' is not a number (elevation, ft)"},
      {"1nm 0\n", "p.profile:1: '1nm' is not a number (distance, nm)"},
      {"0 0\n1 1e999\n", "p.profile:2: '1e999' is not a number"},
      {"0 0\nnan 5\n", "p.profile:2: 'nan' is not"},
      {"0 0\n2 10\n2 20\n", "p.profile:3: distances must grow from line to line: 2 nm"},
      {"0 0\n2 10\n1 20\n", "p.profile:3: distances must grow from line to line: 1 nm"},
      {"", "p.profile:1: no points"},
      {"# only a comment\n\n", "p.profile:2: no points"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string error = error_of([&] { TerrainProfile::parse(c.text, "p.profile"); });
    if (c.error[0] == '\0') {
      EXPECT_EQ(error, "(no error)");
    } else {
      EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
  }
  EXPECT_EQ(error_of([] { TerrainProfile::load("/nonexistent/x.profile"); }),
            "cannot read terrain profile /nonexistent/x.profile");
}

TEST(TerrainProfile, LinearBetweenPointsHeldAtTheEnds) {
  const TerrainProfile p = TerrainProfile::parse("1 100\n3 500\n4 200\n", "p.profile");
  const struct {
    double distance_nm, elevation_ft;
  } cases[] = {
      {-5, 100}, {0, 100},   {1, 100}, {2, 300},  {2.5, 400},
      {3, 500},  {3.5, 350}, {4, 200}, {40, 200}, {NAN, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.distance_nm);
    EXPECT_DOUBLE_EQ(p.elevation_ft(c.distance_nm), c.elevation_ft);
  }
  EXPECT_EQ(p.path(), "p.profile");
  EXPECT_EQ(TerrainProfile().elevation_ft(3), 0.0);  // level ground at sea level
}

TEST(TerrainProfile, TheShippedProfilesRead) {
  const struct {
    const char* name;
    double distance_nm, elevation_ft;
  } cases[] = {
      {"flat", 5, 0},      {"ridge", 5.5, 1500}, {"ridge", 3, 0},
      {"rising", 1, 4700}, {"rising", 10, 0},    {"valley", 3, 200},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TerrainProfile p =
        TerrainProfile::load(SCENARIO_DIR "/terrain/" + std::string(c.name) + ".profile");
    EXPECT_NEAR(p.elevation_ft(c.distance_nm), c.elevation_ft, 1e-9);
  }
}

TEST(GlidePath, OneDotIsAStatedAngleAndUnitsClampedAtTwo) {
  const GlidePath path{3.0, 100.0};
  constexpr double kFeetPerNm = 1852.0 / 0.3048;
  auto at_angle = [&](double distance_nm, double degrees) {
    return 100.0 + distance_nm * kFeetPerNm * std::tan(degrees * std::numbers::pi / 180);
  };
  const struct {
    double distance_nm, altitude_ft, units;
  } cases[] = {
      {3, at_angle(3, 3.0), 0},
      {3, at_angle(3, 2.65), -63.5},
      {1, at_angle(1, 2.65), -63.5},
      {3, at_angle(3, 3.35), 63.5},
      {3, at_angle(3, 2.825), -31.75},
      {3, at_angle(3, 2.3), -127},
      {3, at_angle(3, 1.0), -127},
      {3, at_angle(3, 6.0), 127},
      {0.005, 0, 0},
      {-0.5, 100, 0},  // at and past the threshold
      {3, NAN, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.distance_nm) + " nm " + std::to_string(c.altitude_ft) + " ft");
    EXPECT_NEAR(path.deviation_units(c.distance_nm, c.altitude_ft), c.units, 1e-9);
  }
  EXPECT_NEAR(path.altitude_ft(3), at_angle(3, 3.0), 1e-9);
  EXPECT_NEAR(path.altitude_ft(3, -1), at_angle(3, 2.65), 1e-9);
  EXPECT_DOUBLE_EQ(path.altitude_ft(0), 100.0);
}

}  // namespace
