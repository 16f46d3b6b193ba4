#include "host/sim_names.h"

#include <charconv>
#include <iterator>

namespace host {
namespace {

constexpr SimName kNames[] = {
    {"altitude_m", kTokenAltitude, 1.0, false, "aircraft altitude, metres", -500, 12000},
    {"ground_elevation_m", kTokenGroundElevation, kGroundElevationScale, false,
     "ground elevation below the aircraft, metres", -500, 9000},
    {"vertical_speed_fpm", kTokenVerticalSpeed, 1.0, false,
     "vertical speed, ft/min, negative descending", -10000, 10000},
    {"gear", kTokenGear, 1.0, false, "gear position, 0 up .. 16383 down", 0, 16383},
    {"flaps", facts::token::kFlaps, 1.0, false, "flap position, 16380 and above: landing flaps", 0,
     16383},
    {"phase", facts::token::kPhase, 1.0, false, "above 0 on approach, below 0 departing", -1, 1},
    {"glideslope_deviation", facts::token::kGlideslopeDeviation, 1.0, false,
     "below -59 is below the glideslope", -200, 200},
    {"on_ground", kTokenOnGround, 1.0, false, "1 on the ground, 0 airborne", 0, 1},
    {"power", kTokenPower, 1.0, false, "GPWS and radar altimeter power, 1 on", 0, 1},
    {"terrain_height_m", kTokenTerrainHeight, 1.0, false, "height above the terrain, metres", 0,
     12000},
    {"time_s", kTokenTimeSeconds, 1.0, false, "time, seconds (follows the flight unless set)", 0,
     1000000},
    {"climb_altitude", kTokenClimbAltitude, 1.0, false, "altitude measured during a terrain alert",
     -1000, 50000},
    {"altitude_units", facts::token::kAltitudeUnits, 1.0, false,
     "2 when climb_altitude is in metres, else feet", 0, 2},
    {"display_variant", facts::token::kDisplayVariant, 1.0, false,
     "1 selects the radar altimeter's set A", 0, 1},
    {"ground_test", facts::token::kGroundTest, 1.0, false,
     "1 with on_ground 1: the radar altimeter's ground test", 0, 1},
    {"radalt_off_flag", facts::token::kRadaltOffFlag, 1.0, true,
     "nonzero keeps the radar altimeter's OFF flag in view", 0, 1},
    {"sound1", facts::token::kSound1, 1.0, false, "cockpit sound trigger 1", 0, 1},
    {"sound2", facts::token::kSound2, 1.0, false, "cockpit sound trigger 2", 0, 1},
    {"sound3", facts::token::kSound3, 1.0, false, "cockpit sound trigger 3", 0, 1},
    {"sound4", facts::token::kSound4, 1.0, false, "cockpit sound trigger 4", 0, 1},
};
static_assert(std::size(kNames) == 20);

}  // namespace

std::optional<SimName> find_sim_name(const std::string& name) {
  for (const SimName& n : kNames) {
    if (name == n.name) return n;
  }
  uint32_t token = 0;
  auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), token);
  if (error == std::errc() && end == name.data() + name.size() && token != 0) {
    return SimName{"token", token, 1.0, false, "a host token", -1e300, 1e300};
  }
  return std::nullopt;
}

std::span<const SimName> sim_names() {
  return kNames;
}

std::string sim_names_help() {
  std::string out;
  for (const SimName& n : kNames) out += std::string(n.name) + " (" + n.what + "), ";
  return out + "or a token number";
}

}  // namespace host
