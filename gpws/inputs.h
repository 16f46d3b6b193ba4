#pragma once
// The fourteen simulation values the GPWS reads on every update (their
// tokens: frame/host_facts.h).
namespace gpws {

struct GpwsInputs {
  double clock_ticks;           // host ticks, the base of every deadline
  double aircraft_altitude;     // metres
  double ground_elevation;      // metres x 256
  double gear_position;         // 0 up .. 16383 down
  double flap_position;         // 16380 and above is landing flaps
  double phase_input;           // > 0 approach, < 0 departure
  double vertical_speed;        // ft/min, negative descending
  double glideslope_deviation;  // below -59 is below the glideslope
  double on_ground;             // 1.0 on the ground
  double gpws_power;            // exactly 1.0 when powered
  double terrain_height;        // metres above the terrain
  double time_seconds;
  double climb_altitude;
  double altitude_units;  // 2.0 means climb_altitude is in metres
};

// Gear and flap positions run from 0 (up) to 16383 (fully down).
inline constexpr double kGearDown = 16383.0;
inline constexpr double kGearDownForRearm = 16380.0;  // minimums re-arm: more than this
inline constexpr double kLandingFlaps = 16380.0;      // too low flaps: less than this
inline constexpr double kMetresSelector = 2.0;        // altitude_units: climb altitude in metres

// Refreshes every input through the host, in the GPWS's fixed token order.
GpwsInputs refresh_inputs();

// What the test switch needs to decide whether a self-test may start.
struct SwitchInputs {
  double clock_ticks;
  double aircraft_altitude;
  double ground_elevation;
  double on_ground;
  double gpws_power;
};

SwitchInputs refresh_switch_inputs();

}  // namespace gpws
