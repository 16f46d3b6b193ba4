#pragma once
// The aircraft a flight may fly instead of setting values by hand: a point
// mass on a straight track to the runway. Distance shrinks by the ground
// speed, the vertical speed moves toward the commanded one at a bounded
// rate and the altitude follows it, the ground comes from the terrain
// profile, the glideslope deviation from the glide path, and the gear and
// flaps levers move their surfaces over a few seconds. Every frame it serves
// the names it drives through the one write path (sim_write.h), in the
// names' units, except those the flight has overridden with `set` or
// `ramp` until it says `release NAME`.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "host/aircraft/glide_path.h"
#include "host/aircraft/terrain_profile.h"
#include "host/sim_names.h"
#include "host/sim_variables.h"

namespace host::aircraft {

inline constexpr double kMetresPerFoot = 0.3048;
inline constexpr double kMetresPerNauticalMile = 1852.0;
// How fast the vertical speed reaches a new command (about a quarter g).
inline constexpr double kVerticalSpeedChangeFpmPerSecond = 500.0;
inline constexpr double kSpeedChangeKtPerSecond = 2.0;
// Full travel of the surfaces, 0 up to 16383 down.
inline constexpr double kGearTravelSeconds = 6.0;
inline constexpr double kFlapTravelSeconds = 8.0;
inline constexpr double kSurfaceDown = 16383.0;
inline constexpr double kApproachFlaps = 10000.0;
// How fast `follow glidepath` closes an altitude error: the error over this.
inline constexpr double kPathCaptureSeconds = 2.0;

// What the aircraft is doing now; altitude above sea level.
struct AircraftState {
  double distance_nm = 0.0;
  double altitude_ft = 0.0;
  double ground_elevation_ft = 0.0;  // of the terrain below it
  double ground_speed_kt = 0.0;
  double vertical_speed_fpm = 0.0;
  double gear = 0.0;   // 0 up .. 16383 down
  double flaps = 0.0;  // 0 up .. 16383 landing
  bool on_ground = false;
  bool power = true;
  // Commanded, reached at the bounded rates above.
  double commanded_vertical_speed_fpm = 0.0;
  double commanded_speed_kt = 0.0;
  bool gear_lever_down = false;
  double flap_lever = 0.0;
  std::optional<double> following_dots;  // following the glide path, dots above it
};

class Aircraft {
 public:
  // Starts with the gear and flaps where `sim` has them and the power on.
  Aircraft(double distance_nm, double altitude_ft, double speed_kt, double vertical_speed_fpm,
           const SimVariables& sim);

  // A vertical speed ends following the glide path; the other levers
  // (speed, gear, flaps, power) and a new terrain or path leave it on.
  void command_vertical_speed(double fpm);
  void command_speed(double kt);
  void command_gear(bool down);
  void command_flaps(double position);
  void set_power(bool on);
  void set_terrain(TerrainProfile profile);
  void set_glide_path(GlidePath path);
  void follow_glide_path(double dots);  // a glide path must be set

  // Moves on by one frame of `seconds`.
  void step(double seconds);
  // Serves every name it drives that is not in `overridden` (tokens).
  void serve(SimVariables& sim, std::span<const uint32_t> overridden) const;

  const AircraftState& state() const { return state_; }
  const TerrainProfile& terrain() const { return terrain_; }
  const std::optional<GlidePath>& glide_path() const { return glide_path_; }

 private:
  // The ground below it now; an aircraft at or below it stands on it.
  void settle();
  std::optional<double> value_of(uint32_t token) const;

  AircraftState state_;
  TerrainProfile terrain_;
  std::optional<GlidePath> glide_path_;
};

// The names an aircraft drives, in the name table's order: altitude_m,
// ground_elevation_m, terrain_height_m, vertical_speed_fpm, gear, flaps,
// on_ground, power, climb_altitude, and glideslope_deviation once a glide
// path is set.
bool drives(const SimName& name);

}  // namespace host::aircraft
