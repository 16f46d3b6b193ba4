// The aircraft on the live page: what the state tells of it, and the
// flying commands the page may send, checked before they reach the flight.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "host/serve/aircraft_json.h"
#include "host/serve/flight_recording.h"
#include "host/serve/live_requests.h"

namespace {

using host::serve::Refusal;
using nlohmann::json;

TEST(AircraftJson, NullWithoutAnAircraftElseEveryFieldTheKeysBuildOn) {
  EXPECT_TRUE(host::serve::aircraft_json(nullptr).is_null());
  host::aircraft::AircraftState a;
  a.distance_nm = 4.25;
  a.altitude_ft = 1320.5;
  a.ground_elevation_ft = 120;
  a.ground_speed_kt = 138;
  a.vertical_speed_fpm = -650;
  a.commanded_vertical_speed_fpm = -800;
  a.commanded_speed_kt = 135;
  a.gear = 8000;
  a.flaps = 10000;
  a.gear_lever_down = true;
  a.flap_lever = 16383;
  a.on_ground = false;
  a.power = false;
  const json expected = {{"distance_nm", 4.25},
                         {"altitude_ft", 1320.5},
                         {"ground_elevation_ft", 120.0},
                         {"ground_speed_kt", 138.0},
                         {"vertical_speed_fpm", -650.0},
                         {"commanded_vertical_speed_fpm", -800.0},
                         {"commanded_speed_kt", 135.0},
                         {"gear", 8000.0},
                         {"flaps", 10000.0},
                         {"gear_lever_down", true},
                         {"flap_lever", 16383.0},
                         {"on_ground", false},
                         {"power", false},
                         {"following_dots", nullptr}};
  EXPECT_EQ(host::serve::aircraft_json(&a), expected);
  a.following_dots = -1.0;
  a.on_ground = true;
  const json following = host::serve::aircraft_json(&a);
  EXPECT_EQ(following["following_dots"], -1.0) << "one dot low";
  EXPECT_EQ(following["on_ground"], true);
}

std::string outcome(const host::serve::Checked<host::FlightCommand>& checked) {
  if (const Refusal* r = std::get_if<Refusal>(&checked)) {
    return std::to_string(r->status) + " " + r->message;
  }
  return host::serve::flight_line(std::get<host::FlightCommand>(checked));
}

// What is no flying command of the page is refused before any row reads it.
TEST(FlyRequest, RefusesWhatDoesNotFlyTheAircraft) {
  const std::string long_line = "speed " + std::string(120, '1') + " kt";
  const struct {
    std::string line;
    const char* outcome;  // its beginning
  } cases[] = {
      {"", "400 no flying command"},
      {"   ", "400 no flying command"},
      {long_line, "400 a flying command is at most 120 bytes, not 129"},
      {"terrain /etc/passwd",
       "404 'terrain' does not fly the aircraft; the page flies with: "
       "aircraft, descend, climb, level, speed, gear, flaps, power, "
       "glidepath, follow"},
      {"set altitude_m 3", "404 'set' does not fly the aircraft"},
      {"stop", "404 'stop' does not fly the aircraft"},
      {"at 5", "404 'at' does not fly the aircraft"},
      {"expect sound x", "404 'expect' does not fly the aircraft"},
      {"Climb 100 fpm", "404 'Climb' does not fly the aircraft"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string got = outcome(host::serve::fly_request(c.line));
    EXPECT_EQ(got.rfind(c.outcome, 0), 0u) << got;
  }
}

}  // namespace
