#pragma once
// Readable names for the simulation variables a flight sets, with the scale
// from the unit in the name to what the host serves (ground elevation is
// served in 1/256 m). A plain token number works as a name too.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "frame/host_facts.h"

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
// envelope sweeps), under the host's names for the shared facts.
inline constexpr uint32_t kTokenGroundElevation = facts::token::kGroundElevation;
inline constexpr uint32_t kTokenOnGround = facts::token::kOnGround;
inline constexpr uint32_t kTokenVerticalSpeed = facts::token::kVerticalSpeed;
inline constexpr uint32_t kTokenAltitude = facts::token::kAltitude;
inline constexpr uint32_t kTokenClimbAltitude = facts::token::kClimbAltitude;
inline constexpr uint32_t kTokenGear = facts::token::kGear;
inline constexpr uint32_t kTokenTimeSeconds = facts::token::kTimeSeconds;
inline constexpr uint32_t kTokenTerrainHeight = facts::token::kTerrainHeight;
inline constexpr uint32_t kTokenPower = facts::token::kPower;
inline constexpr double kGroundElevationScale = facts::kGroundElevationScale;
inline constexpr double kFeetPerMetre = facts::kFeetPerMetre;

}  // namespace host
