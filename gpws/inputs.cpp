#include "gpws/inputs.h"

#include "frame/host_facts.h"
#include "frame/module_var.h"

namespace gpws {
namespace {

using frame::ModuleVar;
namespace token = facts::token;

constinit ModuleVar clock_ticks_var{token::kClockTicks, nullptr, 0, 0.0, {}};
constinit ModuleVar aircraft_altitude_var{token::kAltitude, nullptr, 0, 0.0, {}};
constinit ModuleVar ground_elevation_var{token::kGroundElevation, nullptr, 0, 0.0, {}};
constinit ModuleVar gear_position_var{token::kGear, nullptr, 0, 0.0, {}};
constinit ModuleVar flap_position_var{token::kFlaps, nullptr, 0, 0.0, {}};
constinit ModuleVar phase_input_var{token::kPhase, nullptr, 0, 0.0, {}};
constinit ModuleVar vertical_speed_var{token::kVerticalSpeed, nullptr, 0, 0.0, {}};
constinit ModuleVar glideslope_deviation_var{token::kGlideslopeDeviation, nullptr, 0, 0.0, {}};
constinit ModuleVar on_ground_var{token::kOnGround, nullptr, 0, 0.0, {}};
constinit ModuleVar gpws_power_var{token::kPower, nullptr, 0, 0.0, {}};
constinit ModuleVar terrain_height_var{token::kTerrainHeight, nullptr, 0, 0.0, {}};
constinit ModuleVar time_seconds_var{token::kTimeSeconds, nullptr, 0, 0.0, {}};
constinit ModuleVar climb_altitude_var{token::kClimbAltitude, nullptr, 0, 0.0, {}};
constinit ModuleVar altitude_units_var{token::kAltitudeUnits, nullptr, 0, 0.0, {}};

}  // namespace

GpwsInputs refresh_inputs() {
  GpwsInputs in;
  in.clock_ticks = frame::lookup_f64(clock_ticks_var);
  in.aircraft_altitude = frame::lookup_f64(aircraft_altitude_var);
  in.ground_elevation = frame::lookup_f64(ground_elevation_var);
  in.gear_position = frame::lookup_f64(gear_position_var);
  in.flap_position = frame::lookup_f64(flap_position_var);
  in.phase_input = frame::lookup_f64(phase_input_var);
  in.vertical_speed = frame::lookup_f64(vertical_speed_var);
  in.glideslope_deviation = frame::lookup_f64(glideslope_deviation_var);
  in.on_ground = frame::lookup_f64(on_ground_var);
  in.gpws_power = frame::lookup_f64(gpws_power_var);
  in.terrain_height = frame::lookup_f64(terrain_height_var);
  in.time_seconds = frame::lookup_f64(time_seconds_var);
  in.climb_altitude = frame::lookup_f64(climb_altitude_var);
  in.altitude_units = frame::lookup_f64(altitude_units_var);
  return in;
}

SwitchInputs refresh_switch_inputs() {
  SwitchInputs in;
  in.clock_ticks = frame::lookup_f64(clock_ticks_var);
  in.aircraft_altitude = frame::lookup_f64(aircraft_altitude_var);
  in.ground_elevation = frame::lookup_f64(ground_elevation_var);
  in.on_ground = frame::lookup_f64(on_ground_var);
  in.gpws_power = frame::lookup_f64(gpws_power_var);
  return in;
}

}  // namespace gpws
