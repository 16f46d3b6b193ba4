#include "host/aircraft_commands.h"

#include <cmath>
#include <filesystem>

#include "frame/convert.h"
#include "host/aircraft/aircraft.h"
#include "host/flight_run.h"
#include "host/host_error.h"

namespace host::aircraft_commands {
namespace {

using Args = CommandArgs;
using Setup = FlightSetup;

// The bounds below are whole numbers, written as such.
std::string whole_text(double bound) {
  return std::to_string(frame::trunc_to_i32(bound));
}

// A number followed by its unit, within the bounds a flight sensibly gives.
double measure_arg(const FlightCommand& c, size_t i, const char* unit, double low, double high,
                   const char* what) {
  const double value = f64_arg(c, i);
  if (!std::isfinite(value) || value < low || value > high) {
    fail_at(c, std::string(what) + " is from " + whole_text(low) + " to " + whole_text(high) + " " +
                   unit + ", not " + c.args[i]);
  }
  keyword_arg(c, i + 1, unit);
  return value;
}

constexpr double kLongestTrackNm = 1000;
constexpr double kHighestFt = 60000;
constexpr double kLowestFt = -1500;  // the lowest ground there is
constexpr double kFastestKt = 600;
constexpr double kSteepestFpm = 10000;

}  // namespace

void parse_aircraft(const FlightCommand& c, const Setup&, Args& a) {
  if (c.args.size() != 6 && c.args.size() != 8) {
    fail_at(c, "'aircraft' takes DISTANCE nm ALTITUDE ft SPEED kt [RATE fpm]");
  }
  a.distance_nm = measure_arg(c, 0, "nm", -kLongestTrackNm, kLongestTrackNm, "a distance");
  a.altitude_ft = measure_arg(c, 2, "ft", kLowestFt, kHighestFt, "an altitude");
  a.speed_kt = measure_arg(c, 4, "kt", 0, kFastestKt, "a speed");
  if (c.args.size() == 8) {
    a.rate_fpm = measure_arg(c, 6, "fpm", -kSteepestFpm, kSteepestFpm, "a vertical speed");
  }
}
void parse_descend(const FlightCommand& c, const Setup&, Args& a) {
  a.rate_fpm = -measure_arg(c, 0, "fpm", 0, kSteepestFpm, "a rate of descent");
}
void parse_climb(const FlightCommand& c, const Setup&, Args& a) {
  a.rate_fpm = measure_arg(c, 0, "fpm", 0, kSteepestFpm, "a rate of climb");
}
void parse_speed(const FlightCommand& c, const Setup&, Args& a) {
  a.speed_kt = measure_arg(c, 0, "kt", 0, kFastestKt, "a speed");
}
void parse_gear(const FlightCommand& c, const Setup&, Args& a) {
  if (c.args[0] != "up" && c.args[0] != "down") fail_at(c, "gear is 'up' or 'down'");
  a.on = c.args[0] == "down";
}
void parse_flaps(const FlightCommand& c, const Setup&, Args& a) {
  const std::string& word = c.args[0];
  if (word == "up") {
    a.value = 0;
  } else if (word == "approach") {
    a.value = aircraft::kApproachFlaps;
  } else if (word == "landing") {
    a.value = aircraft::kSurfaceDown;
  } else {
    double position = 0;
    try {
      position = f64_arg(c, 0);
    } catch (const HostError&) {
      fail_at(c, "flaps are up, approach, landing or a position 0 .. 16383, not '" + word + "'");
    }
    if (!(position >= 0 && position <= aircraft::kSurfaceDown)) {
      fail_at(c, "a flap position is from 0 to 16383, not " + word);
    }
    a.value = position;
  }
}
void parse_power(const FlightCommand& c, const Setup&, Args& a) {
  if (c.args[0] != "on" && c.args[0] != "off") fail_at(c, "power is 'on' or 'off'");
  a.on = c.args[0] == "on";
}
// Found from the flight's folder as a panel file is, and read now, so a
// profile that does not read stops the flight before it flies.
void parse_terrain(const FlightCommand& c, const Setup& s, Args& a) {
  const bool full = std::filesystem::path(c.args[0]).is_absolute();
  a.path = full ? c.args[0] : s.folder + c.args[0];
  std::error_code error;
  if (!std::filesystem::is_regular_file(a.path, error)) {
    fail_at(c, "cannot read terrain profile " + a.path);
  }
  a.profile =
      std::make_shared<const aircraft::TerrainProfile>(aircraft::TerrainProfile::load(a.path));
}
void parse_glidepath(const FlightCommand& c, const Setup&, Args& a) {
  if (c.args.size() != 2 && c.args.size() != 4) {
    fail_at(c, "'glidepath' takes ANGLE deg [ELEVATION ft]");
  }
  a.value = f64_arg(c, 0);
  if (!(a.value > 0 && a.value <= 15)) {
    fail_at(c, "a glide path's angle is above 0 and at most 15 deg, not " + c.args[0]);
  }
  keyword_arg(c, 1, "deg");
  if (c.args.size() == 4) {
    a.elevation_ft = measure_arg(c, 2, "ft", kLowestFt, kHighestFt, "a threshold elevation");
  }
}
void parse_follow(const FlightCommand& c, const Setup&, Args& a) {
  if (c.args.size() != 1 && c.args.size() != 3) {
    fail_at(c, "'follow' takes glidepath [OFFSET dots]");
  }
  keyword_arg(c, 0, "glidepath");
  a.value = 0;
  if (c.args.size() == 3) {
    a.value = f64_arg(c, 1);
    constexpr double kFurthestDots = 5;
    if (!(std::abs(a.value) <= kFurthestDots)) {
      fail_at(c, "an offset from the glide path is from -5 to 5 dots, not " + c.args[1]);
    }
    if (c.args[2] != "dots" && c.args[2] != "dot") {
      fail_at(c, "expected 'dots' instead of '" + c.args[2] + "'");
    }
  }
}
void parse_release(const FlightCommand& c, const Setup& s, Args& a) {
  a.gauge = c.args[0];
  for (const PanelGauge& g : s.layout) {
    if (g.gauge == a.gauge || a.gauge.rfind(g.gauge + "@", 0) == 0) return;
  }
  if (std::optional<SimName> name = find_sim_name(a.gauge)) {
    a.var = *name;
    a.variable = true;
  }
}

void run_aircraft(FlightRun& r, const FlightLine& l) {
  const Args& a = l.args;
  r.start_aircraft(
      aircraft::Aircraft(a.distance_nm, a.altitude_ft, a.speed_kt, a.rate_fpm, r.host().sim()));
}
void run_vertical_speed(FlightRun& r, const FlightLine& l) {
  r.flying().command_vertical_speed(l.args.rate_fpm);
}
void run_speed(FlightRun& r, const FlightLine& l) {
  r.flying().command_speed(l.args.speed_kt);
}
void run_gear(FlightRun& r, const FlightLine& l) {
  r.flying().command_gear(l.args.on);
}
void run_flaps(FlightRun& r, const FlightLine& l) {
  r.flying().command_flaps(l.args.value);
}
void run_power(FlightRun& r, const FlightLine& l) {
  r.flying().set_power(l.args.on);
}
void run_terrain(FlightRun& r, const FlightLine& l) {
  r.flying().set_terrain(*l.args.profile);
}
void run_glidepath(FlightRun& r, const FlightLine& l) {
  aircraft::Aircraft& a = r.flying();
  const double elevation = l.args.elevation_ft ? *l.args.elevation_ft : a.terrain().elevation_ft(0);
  a.set_glide_path(aircraft::GlidePath{l.args.value, elevation});
}
void run_follow(FlightRun& r, const FlightLine& l) {
  r.flying().follow_glide_path(l.args.value);
}
void run_release(FlightRun& r, const FlightLine& l) {
  if (l.args.variable) {
    r.release_override(l.args.var);
  } else {
    r.release(l.args.gauge);
  }
}

std::vector<std::string> saved_terrain(const Args& a) {
  return {std::filesystem::absolute(a.path).lexically_normal().string()};
}

}  // namespace host::aircraft_commands
