#pragma once
// How the aircraft's rows of the command table (flight_commands.cpp) read
// their words and what they do in flight: start the aircraft, command its
// vertical speed and speed, move its levers, give it the ground and the
// glide path, follow the path; and `release` of a name it drives.
#include <string>
#include <vector>

#include "host/flight_commands.h"

namespace host::aircraft_commands {

void parse_aircraft(const FlightCommand& c, const FlightSetup& s, CommandArgs& a);
void parse_descend(const FlightCommand& c, const FlightSetup& s, CommandArgs& a);
void parse_climb(const FlightCommand& c, const FlightSetup& s, CommandArgs& a);
void parse_speed(const FlightCommand& c, const FlightSetup& s, CommandArgs& a);
void parse_gear(const FlightCommand& c, const FlightSetup& s, CommandArgs& a);
void parse_flaps(const FlightCommand& c, const FlightSetup& s, CommandArgs& a);
void parse_power(const FlightCommand& c, const FlightSetup& s, CommandArgs& a);
void parse_terrain(const FlightCommand& c, const FlightSetup& s, CommandArgs& a);
void parse_glidepath(const FlightCommand& c, const FlightSetup& s, CommandArgs& a);
void parse_follow(const FlightCommand& c, const FlightSetup& s, CommandArgs& a);
// A gauge the flight placed, else a simulation variable's name, else a
// gauge label as before.
void parse_release(const FlightCommand& c, const FlightSetup& s, CommandArgs& a);

void run_aircraft(FlightRun& r, const FlightLine& l);
void run_vertical_speed(FlightRun& r, const FlightLine& l);  // descend, climb, level
void run_speed(FlightRun& r, const FlightLine& l);
void run_gear(FlightRun& r, const FlightLine& l);
void run_flaps(FlightRun& r, const FlightLine& l);
void run_power(FlightRun& r, const FlightLine& l);
void run_terrain(FlightRun& r, const FlightLine& l);
void run_glidepath(FlightRun& r, const FlightLine& l);
void run_follow(FlightRun& r, const FlightLine& l);
void run_release(FlightRun& r, const FlightLine& l);

// A saved flight names the profile by its full path.
std::vector<std::string> saved_terrain(const CommandArgs& a);

}  // namespace host::aircraft_commands
