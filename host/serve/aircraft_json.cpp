#include "host/serve/aircraft_json.h"

namespace host::serve {

nlohmann::json aircraft_json(const aircraft::AircraftState* state) {
  if (state == nullptr) return nullptr;
  const aircraft::AircraftState& a = *state;
  return {
      {"distance_nm", a.distance_nm},
      {"altitude_ft", a.altitude_ft},
      {"ground_elevation_ft", a.ground_elevation_ft},
      {"ground_speed_kt", a.ground_speed_kt},
      {"vertical_speed_fpm", a.vertical_speed_fpm},
      {"commanded_vertical_speed_fpm", a.commanded_vertical_speed_fpm},
      {"commanded_speed_kt", a.commanded_speed_kt},
      {"gear", a.gear},
      {"flaps", a.flaps},
      {"gear_lever_down", a.gear_lever_down},
      {"flap_lever", a.flap_lever},
      {"on_ground", a.on_ground},
      {"power", a.power},
      {"following_dots",
       a.following_dots ? nlohmann::json(*a.following_dots) : nlohmann::json(nullptr)},
  };
}

}  // namespace host::serve
