// The envelope map and the aircraft's flights agree: the aircraft flies
// across each region the map draws (the descent bands' sink rate and pull
// up, the terrain envelope), and the alert the region stands for starts
// within one frame of the first frame whose state the map's own probe puts
// inside it. The probe is the map's: the cell the sweep flies, asked at the
// aircraft's exact state in each frame (its height above the ground and
// vertical speed; its height above the terrain and how fast that shrank
// into the frame), not at the nearest grid cell. So a fault in what the
// aircraft serves the GPWS (a unit, a scale, a frame late) shows here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "flight_text.h"
#include "flown_flight.h"
#include "host/envelope/descent_sweep.h"
#include "host/envelope/gpws_probe.h"
#include "host/envelope/terrain_sweep.h"

namespace {

using aircraft_flights::FlownFlight;
using aircraft_flights::num;
using host::envelope::DescentAlert;

// The modules of this build, or those GAUGE_MODULE_DIR names (the emulated twin).
const host::envelope::SweepSetup kSetup{testing_host::module_dir(), SIM_ROOT,
                                        testing_host::loader()};
constexpr double kSpeedKt = 140.0;

std::string frame_text(const FlownFlight& flight, std::optional<uint32_t> frame) {
  if (!frame) return "never";
  size_t i = 0;
  while (i < flight.frames.size() && flight.frames[i].frame != *frame) ++i;
  if (i == flight.frames.size()) return "frame " + std::to_string(*frame);
  const aircraft_flights::FlownFrame& f = flight.frames[i];
  char text[160];
  std::snprintf(text, sizeof text,
                "frame %u (%.1f ft above the ground, %.0f ft/min, closing %.0f ft/min)", *frame,
                f.height_ft(), f.aircraft.vertical_speed_fpm,
                i > 0 ? flight.closure_fpm(i, host::envelope::kFramesPerSecond) : 0.0);
  return text;
}

// Both never, or both within one frame of each other.
void expect_within_a_frame(const FlownFlight& flight, const char* region,
                           std::optional<uint32_t> map_says, std::optional<uint32_t> flight_shows,
                           bool crossed) {
  SCOPED_TRACE(std::string(region) + ": the map says inside from " + frame_text(flight, map_says) +
               ", the alert starts " + frame_text(flight, flight_shows));
  EXPECT_EQ(map_says.has_value(), crossed) << "the flight was meant to cross this boundary or not";
  ASSERT_EQ(map_says.has_value(), flight_shows.has_value());
  if (!map_says) return;
  const int64_t apart = int64_t{*flight_shows} - int64_t{*map_says};
  EXPECT_LE(std::abs(apart), 1) << apart << " frames apart";
}

// Descent bands ---------------------------------------------------------------

struct DescentEntry {
  std::optional<uint32_t> any_alert;  // sink rate or pull up drawn
  std::optional<uint32_t> pull_up;
};

// The first frame of the flight whose state the descent map's cell calls
// sink rate (or worse) and pull up. The sink-rate voice plays in both
// regions the map draws: pull up is drawn over it.
DescentEntry where_the_descent_map_says(const FlownFlight& flight) {
  host::PanelHost probe(testing_host::options());
  host::envelope::place_gpws(probe);
  DescentEntry entry;
  for (const aircraft_flights::FlownFrame& f : flight.frames) {
    const DescentAlert alert =
        host::envelope::descent_alert(probe, f.height_ft(), f.aircraft.vertical_speed_fpm);
    if (alert != DescentAlert::kNone && !entry.any_alert) entry.any_alert = f.frame;
    if (alert == DescentAlert::kPullUp) {
      entry.pull_up = f.frame;
      break;
    }
  }
  return entry;
}

struct DescentCase {
  const char* name;
  double height_ft;     // above level ground at sea level
  double start_fpm;     // the vertical speed it starts with
  double descend_fpm;   // commanded from the start, reached at the bounded rate
  double seconds;       // of flight
  bool into_sink_rate;  // the flight crosses into the sink-rate region (or straight into pull up)
  bool into_pull_up;
};

TEST(EnvelopeAndFlights, TheDescentAlertsStartWhereTheMapSays) {
  const DescentCase cases[] = {
      {"2400 ft/min down through the 1000 and 750 ft edges", 1030, -2400, 2400, 7.5, true, true},
      {"1200 ft/min down into the lowest band, both at once", 560, -1200, 1200, 4, true, true},
      {"5500 ft/min down under the top of the bands", 2600, -5500, 5500, 2.5, true, false},
      {"steepening from 3000 to 5200 ft/min at 1600 ft", 1600, -3000, 5200, 5, true, true},
      {"steepening from 3800 to 6500 ft/min at 2200 ft", 2200, -3800, 6500, 5, true, true},
      {"900 ft/min at 600 ft stays quiet", 600, -900, 900, 4, false, false},
  };
  for (const DescentCase& c : cases) {
    SCOPED_TRACE(c.name);
    const FlownFlight flight = aircraft_flights::fly(
        "gauge vrn_gpws test\nstart\naircraft 8 nm " + num(c.height_ft) + " ft " + num(kSpeedKt) +
        " kt " + num(c.start_fpm) + " fpm\ndescend " + num(c.descend_fpm) + " fpm\nat " +
        num(c.seconds) + "\nstop\n");
    ASSERT_EQ(flight.failures, std::vector<std::string>{});
    ASSERT_FALSE(flight.frames.empty()) << "no aircraft flew";
    ASSERT_EQ(flight.frames.back().on_ground, 0.0) << "the flights end in the air";
    const DescentEntry map = where_the_descent_map_says(flight);
    expect_within_a_frame(flight, "sink rate", map.any_alert, flight.first_voice("sinkrate"),
                          c.into_sink_rate);
    expect_within_a_frame(flight, "pull up", map.pull_up,
                          flight.first_shown(aircraft_flights::kPullUpLamp), c.into_pull_up);
  }
}

// Terrain envelope ------------------------------------------------------------

// The first frame whose state (height above the terrain, closure rate) the
// terrain map's cell puts inside the envelope. Each cell flies a module of
// its own for 8 s, so rather than every frame this asks the frames a
// bisection picks: along these flights the closure rate holds once the
// terrain starts rising and the height only falls, so the cells go from
// outside to inside once. The frames either side of the edge are asked too.
std::optional<uint32_t> where_the_terrain_map_says(const FlownFlight& flight) {
  auto inside = [&](size_t i) {
    return host::envelope::terrain_alert(kSetup, flight.frames[i].height_ft(),
                                         flight.closure_fpm(i, host::envelope::kFramesPerSecond));
  };
  EXPECT_FALSE(inside(1)) << "the flight starts inside the envelope";
  size_t lo = 2;
  size_t hi = flight.frames.size();
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (inside(mid)) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  if (lo == flight.frames.size()) return std::nullopt;
  EXPECT_FALSE(inside(lo - 1)) << "not the edge";
  return flight.frames[lo].frame;
}

struct TerrainCase {
  double closure_fpm;  // level flight over a slope: the ground speed times the slope
  bool alert;
};

TEST(EnvelopeAndFlights, TheTerrainAlertStartsWhereTheMapSays) {
  // The envelope's edge lies near 1650 ft x (closure - 2000) / 2000. Each
  // flight flies 4 s level over level ground (the closure estimator settles
  // from the module's start, as in the sweep's cell), then level over a
  // slope for 7 s before it reaches that height and 2 s after.
  const TerrainCase cases[] = {{2600, true}, {3200, true}, {3800, true}, {1800, false}};
  const double slope_starts_nm = 3.0;
  const double level_s = 4.0;
  const double before_s = 7.0;
  const double after_s = 2.0;
  for (const TerrainCase& c : cases) {
    SCOPED_TRACE("closing at " + num(c.closure_fpm) + " ft/min");
    const double edge_ft = std::max(1650.0 * (c.closure_fpm - 2000.0) / 2000.0, 200.0);
    const double altitude_ft = edge_ft + c.closure_fpm * before_s / 60.0;
    // Rising towards the runway for longer than the flight flies over it.
    const double slope_nm = aircraft_flights::nm_per_second(kSpeedKt) * (before_s + after_s + 2.0);
    const double ft_per_nm = c.closure_fpm / (kSpeedKt / 60.0);
    const std::string profile = aircraft_flights::write_profile(
        "slope_" + num(c.closure_fpm),
        {{slope_starts_nm - slope_nm, ft_per_nm * slope_nm}, {slope_starts_nm, 0.0}});
    const double start_nm = slope_starts_nm + aircraft_flights::nm_per_second(kSpeedKt) * level_s;
    const FlownFlight flight =
        aircraft_flights::fly("gauge vrn_gpws test\nstart\naircraft " + num(start_nm) + " nm " +
                              num(altitude_ft) + " ft " + num(kSpeedKt) + " kt\nterrain " +
                              profile + "\nat " + num(level_s + before_s + after_s) + "\nstop\n");
    ASSERT_EQ(flight.failures, std::vector<std::string>{});
    ASSERT_GT(flight.frames.size(), 2u) << "no aircraft flew";
    ASSERT_GT(flight.frames.back().height_ft(), 0.0) << "the flights end in the air";
    // The lamp follows the frame that found the alert by one update, as the
    // sweep's cell allows for.
    expect_within_a_frame(flight, "terrain", where_the_terrain_map_says(flight),
                          flight.first_shown(aircraft_flights::kPullUpLamp), c.alert);
    if (c.alert) {
      EXPECT_TRUE(flight.first_voice("terrain1").has_value()) << "the terrain's own voice";
    }
  }
}

}  // namespace
