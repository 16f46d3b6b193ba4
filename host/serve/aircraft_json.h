#pragma once
// What the page is told of the aircraft the flight flies: where it is, how
// it moves, what is commanded and where its levers are; null when no
// aircraft flies.
#include <nlohmann/json.hpp>

#include "host/aircraft/aircraft.h"

namespace host::serve {

nlohmann::json aircraft_json(const aircraft::AircraftState* state);

}  // namespace host::serve
