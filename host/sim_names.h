#pragma once
// Readable names for the simulation variables a flight sets, with the scale
// from the unit in the name to what the host serves (ground elevation is
// served in 1/256 m). A plain token number works as a name too.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace host {

struct SimName {
  const char* name;
  uint32_t token;
  double scale;  // flight value x scale = host value
  bool integer;  // served as a 32-bit integer
  const char* what;
  // The values a person at the panel sensibly gives it, in the name's unit
  // (a range of 0 to 1 is a switch).
  double low;
  double high;
};

// The variable `name` stands for, or nothing when it is neither a known name
// nor a token number.
std::optional<SimName> find_sim_name(const std::string& name);

// Every readable name, in the table's order.
std::span<const SimName> sim_names();

// Every known name with its meaning, for the documentation and error messages.
std::string sim_names_help();

// The tokens the host itself reads or sets (the report, the live panel, the
// envelope sweeps), as the table below names them.
inline constexpr uint32_t kTokenGroundElevation = 2;  // served in 1/256 m
inline constexpr uint32_t kTokenOnGround = 60;
inline constexpr uint32_t kTokenVerticalSpeed = 65;  // ft/min
inline constexpr uint32_t kTokenAltitude = 73;       // metres
inline constexpr uint32_t kTokenClimbAltitude = 74;
inline constexpr uint32_t kTokenGear = 332;
inline constexpr uint32_t kTokenTimeSeconds = 604;
inline constexpr uint32_t kTokenTerrainHeight = 614;  // metres above the terrain
inline constexpr uint32_t kTokenPower = 773;
inline constexpr double kGroundElevationScale = 256.0;  // served per metre
inline constexpr double kFeetPerMetre = 3.28084;

}  // namespace host
