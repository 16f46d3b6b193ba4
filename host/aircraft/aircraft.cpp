#include "host/aircraft/aircraft.h"

#include <algorithm>
#include <cmath>

#include "host/host_error.h"
#include "host/sim_write.h"

namespace host::aircraft {
namespace {

constexpr double kSecondsPerHour = 3600.0;
constexpr double kSecondsPerMinute = 60.0;
// The steepest vertical speed `follow glidepath` asks for.
constexpr double kFollowLimitFpm = 6000.0;

// The tokens an aircraft drives, in the name table's order of the comment
// on drives().
constexpr uint32_t kDriven[] = {
    kTokenAltitude,      kTokenGroundElevation,
    kTokenTerrainHeight, kTokenVerticalSpeed,
    kTokenGear,          facts::token::kFlaps,
    kTokenOnGround,      kTokenPower,
    kTokenClimbAltitude, facts::token::kGlideslopeDeviation,
};

// `from` moved toward `to` by at most `step`.
double toward(double from, double to, double step) {
  if (from < to) return std::min(from + step, to);
  return std::max(from - step, to);
}

}  // namespace

bool drives(const SimName& name) {
  return std::ranges::find(kDriven, name.token) != std::end(kDriven);
}

Aircraft::Aircraft(double distance_nm, double altitude_ft, double speed_kt,
                   double vertical_speed_fpm, const SimVariables& sim) {
  state_.distance_nm = distance_nm;
  state_.altitude_ft = altitude_ft;
  state_.ground_speed_kt = speed_kt;
  state_.commanded_speed_kt = speed_kt;
  state_.vertical_speed_fpm = vertical_speed_fpm;
  state_.commanded_vertical_speed_fpm = vertical_speed_fpm;
  state_.gear = std::clamp(sim.get(kTokenGear), 0.0, kSurfaceDown);
  state_.flaps = std::clamp(sim.get(facts::token::kFlaps), 0.0, kSurfaceDown);
  state_.gear_lever_down = state_.gear >= kSurfaceDown / 2;
  state_.flap_lever = state_.flaps;
  settle();
}

void Aircraft::command_vertical_speed(double fpm) {
  state_.commanded_vertical_speed_fpm = fpm;
  state_.following_dots.reset();
}

void Aircraft::command_speed(double kt) {
  state_.commanded_speed_kt = kt;
}

void Aircraft::command_gear(bool down) {
  state_.gear_lever_down = down;
}

void Aircraft::command_flaps(double position) {
  state_.flap_lever = std::clamp(position, 0.0, kSurfaceDown);
}

void Aircraft::set_power(bool on) {
  state_.power = on;
}

void Aircraft::set_terrain(TerrainProfile profile) {
  terrain_ = std::move(profile);
  settle();
}

void Aircraft::set_glide_path(GlidePath path) {
  glide_path_ = path;
}

void Aircraft::follow_glide_path(double dots) {
  if (!glide_path_) throw HostError("no glide path to follow: give one with `glidepath ANGLE deg`");
  state_.following_dots = dots;
}

// The ground below it now; an aircraft at or below it stands on it.
void Aircraft::settle() {
  AircraftState& s = state_;
  s.ground_elevation_ft = terrain_.elevation_ft(s.distance_nm);
  if (s.on_ground || !(s.altitude_ft > s.ground_elevation_ft)) {
    s.altitude_ft = s.ground_elevation_ft;
    s.vertical_speed_fpm = 0.0;
    s.on_ground = true;
  }
}

void Aircraft::step(double seconds) {
  AircraftState& s = state_;
  if (s.following_dots && glide_path_) {
    // The path's own rate at this ground speed, and the altitude error
    // (both where the aircraft is now) closed over the capture time.
    const double dots = *s.following_dots;
    const double on_path = glide_path_->altitude_ft(s.distance_nm, dots);
    const double minute_on = s.distance_nm - s.ground_speed_kt / kSecondsPerMinute;
    const double path_rate = glide_path_->altitude_ft(minute_on, dots) - on_path;
    const double closing = (on_path - s.altitude_ft) / kPathCaptureSeconds * kSecondsPerMinute;
    s.commanded_vertical_speed_fpm =
        std::clamp(path_rate + closing, -kFollowLimitFpm, kFollowLimitFpm);
  }
  s.ground_speed_kt =
      toward(s.ground_speed_kt, s.commanded_speed_kt, kSpeedChangeKtPerSecond * seconds);
  s.distance_nm -= s.ground_speed_kt * seconds / kSecondsPerHour;
  // On the ground it stays there until a climb is commanded.
  if (s.on_ground && s.commanded_vertical_speed_fpm > 0.0) s.on_ground = false;
  if (!s.on_ground) {
    s.vertical_speed_fpm = toward(s.vertical_speed_fpm, s.commanded_vertical_speed_fpm,
                                  kVerticalSpeedChangeFpmPerSecond * seconds);
    s.altitude_ft += s.vertical_speed_fpm * seconds / kSecondsPerMinute;
  }
  settle();
  const double target_gear = s.gear_lever_down ? kSurfaceDown : 0.0;
  s.gear = toward(s.gear, target_gear, kSurfaceDown / kGearTravelSeconds * seconds);
  s.flaps = toward(s.flaps, s.flap_lever, kSurfaceDown / kFlapTravelSeconds * seconds);
}

// Each driven name's value in the unit its name carries, or nothing.
std::optional<double> Aircraft::value_of(uint32_t token) const {
  const AircraftState& s = state_;
  const double altitude_m = s.altitude_ft * kMetresPerFoot;
  switch (token) {
    case kTokenAltitude:
      return altitude_m;
    case kTokenGroundElevation:
      return s.ground_elevation_ft * kMetresPerFoot;
    case kTokenTerrainHeight:
      return std::max(0.0, s.altitude_ft - s.ground_elevation_ft) * kMetresPerFoot;
    case kTokenVerticalSpeed:
      return s.vertical_speed_fpm;
    case kTokenGear:
      return s.gear;
    case facts::token::kFlaps:
      return s.flaps;
    case kTokenOnGround:
      return s.on_ground ? 1.0 : 0.0;
    case kTokenPower:
      return s.power ? 1.0 : 0.0;
    case kTokenClimbAltitude:
      return altitude_m * kFeetPerMetre;
    case facts::token::kGlideslopeDeviation:
      if (!glide_path_) return std::nullopt;
      return glide_path_->deviation_units(s.distance_nm, s.altitude_ft);
    default:
      return std::nullopt;
  }
}

void Aircraft::serve(SimVariables& sim, std::span<const uint32_t> overridden) const {
  for (const SimName& name : sim_names()) {
    if (!drives(name) || std::ranges::find(overridden, name.token) != overridden.end()) continue;
    if (std::optional<double> value = value_of(name.token)) serve_variable(sim, name, *value);
  }
}

}  // namespace host::aircraft
