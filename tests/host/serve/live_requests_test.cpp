// Every request the page can send, checked before it reaches the flight:
// what is refused with which status and message, and the flight line made
// of what is not.
#include "host/serve/live_requests.h"

#include <gtest/gtest.h>

#include "host/flight_run.h"
#include "host/serve/flight_recording.h"

namespace {

using host::serve::Checked;
using host::serve::Refusal;

// A panel picture 100 x 80 with one gauge of 50 x 50 own pixels drawn
// twice as large at (10, 10).
host::serve::PanelLayout one_gauge() {
  return {100, 80, {{"radalt", 10, 10, 50, 50, 25, 25, {}}}};
}

template <typename T>
std::string outcome(const Checked<T>& checked) {
  if (const Refusal* r = std::get_if<Refusal>(&checked)) {
    return std::to_string(r->status) + " " + r->message;
  }
  if constexpr (std::is_same_v<T, host::FlightCommand>) {
    return host::serve::flight_line(std::get<T>(checked));
  } else if constexpr (std::is_same_v<T, double>) {
    return std::to_string(std::get<T>(checked));
  } else {
    return std::get<T>(checked);
  }
}

TEST(LiveRequests, SetTakesAKnownNameAndAFiniteNumberInItsRange) {
  const std::string long_number(41, '1');
  const struct {
    const char* name;
    const char* value;
    const char* outcome;  // its beginning
  } cases[] = {
      {"altitude_m", "300", "set altitude_m 300"},
      {"altitude_m", "-12.5e1", "set altitude_m -12.5e1"},
      {"power", "1", "set power 1"},
      {"sound3", "0", "set sound3 0"},
      {"altitude", "300", "404 unknown variable 'altitude'; known: altitude_m (aircraft"},
      {"73", "300", "404 unknown variable '73'"},
      {"", "1", "404 unknown variable ''"},
      {"altitude_m", "", "400 altitude_m must be a number, not ''"},
      {"altitude_m", "high", "400 altitude_m must be a number, not 'high'"},
      {"altitude_m", "nan", "400 altitude_m must be a number, not 'nan'"},
      {"altitude_m", "inf", "400 altitude_m must be a number, not 'inf'"},
      {"altitude_m", "1e999", "400 altitude_m must be a finite number, not '1e999'"},
      {"altitude_m", "0x10", "400 altitude_m must be a number, not '0x10'"},
      {"altitude_m", " 5", "400 altitude_m must be a number, not ' 5'"},
      {"altitude_m", "5 6", "400 altitude_m must be a number, not '5 6'"},
      {"altitude_m", "1-2", "400 altitude_m must be a finite number, not '1-2'"},
      {"altitude_m", "12001", "400 altitude_m must be between -500 and 12000, not 12001"},
      {"power", "2", "400 power must be between 0 and 1, not 2"},
      {"gear", "-1", "400 gear must be between 0 and 16383, not -1"},
      {"altitude_m", long_number.c_str(), "400 altitude_m must be a number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " = " + c.value);
    EXPECT_EQ(outcome(host::serve::set_request(c.name, c.value)).rfind(c.outcome, 0), 0u)
        << outcome(host::serve::set_request(c.name, c.value));
  }
}

TEST(LiveRequests, APressFindsTheGaugesOwnPixel) {
  const struct {
    const char* x;
    const char* y;
    const char* outcome;
  } cases[] = {
      {"10", "10", "hold radalt 0 0"},
      {"59", "59", "hold radalt 24 24"},
      {"35", "20", "hold radalt 12 5"},
      {"60", "10", "400 no gauge at 60, 10"},
      {"5", "5", "400 no gauge at 5, 5"},
      {"100", "10", "400 x must be between 0 and 99, not 100"},
      {"10", "-1", "400 y must be between 0 and 79, not -1"},
      {"10.5", "10", "400 x must be a whole pixel, not 10.5"},
      {"", "10", "400 x must be a number, not ''"},
      {"nan", "10", "400 x must be a number, not 'nan'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.x) + ", " + c.y);
    EXPECT_EQ(outcome(host::serve::press_request(one_gauge(), c.x, c.y)), c.outcome);
  }
  EXPECT_EQ(outcome(host::serve::release_request(one_gauge(), "radalt")), "release radalt");
  EXPECT_EQ(outcome(host::serve::release_request(one_gauge(), "radalt@2")),
            "404 no gauge 'radalt@2' on this panel");
}

TEST(LiveRequests, SpeedsAndScenariosComeFromTheirLists) {
  EXPECT_EQ(outcome(host::serve::speed_request("2")), "2.000000");
  EXPECT_EQ(outcome(host::serve::speed_request("0")), "400 speed must be between 0.1 and 8, not 0");
  EXPECT_EQ(outcome(host::serve::speed_request("9")), "400 speed must be between 0.1 and 8, not 9");
  const std::vector<host::serve::ScenarioFile> known{{"approach.flight", "approach.flight"},
                                                     {"terrain.flight", "terrain.flight"},
                                                     {"latin\\xE9.flight", "latin\xe9.flight"}};
  EXPECT_EQ(outcome(host::serve::scenario_request(known, "terrain.flight")), "terrain.flight");
  EXPECT_EQ(outcome(host::serve::scenario_request(known, "latin\\xE9.flight")), "latin\xe9.flight")
      << "a name shown escaped chooses the file of that name";
  EXPECT_EQ(outcome(host::serve::scenario_request(known, "latin\xe9.flight")),
            "404 no flight 'latin\xe9.flight' in the scenarios folder");
  EXPECT_EQ(outcome(host::serve::scenario_request(known, "../approach.flight")),
            "404 no flight '../approach.flight' in the scenarios folder");
  EXPECT_EQ(outcome(host::serve::scenario_request(known, "")),
            "404 no flight '' in the scenarios folder");
}

// The times of a saved flight's `at` lines must land on the frame the
// session applied the input at, at any rate.
TEST(FlightRecording, EveryFrameHasATimeThatLandsOnIt) {
  for (double fps : {18.0, 9.0, 30.0, 7.0, 1000.0}) {
    for (uint32_t frame = 0; frame < 5000; ++frame) {
      const std::string t = host::serve::flight_time(frame, fps);
      ASSERT_EQ(host::frames_in(std::stod(t), fps), frame) << t << " at " << fps << " fps";
    }
  }
  EXPECT_EQ(host::serve::flight_time(9, 18), "0.5");
  EXPECT_EQ(host::serve::flight_time(1, 18), "0.06");
}

TEST(FlightRecording, LinesGoUnderTheirTimesAndWhatWasSeenAfter) {
  host::serve::FlightRecording recording(18);
  recording.add(0, {"x", "gauge", {"vrn_gpws", "test"}});
  recording.add(0, {"x", "start", {}});
  recording.add(9, {"x", "set", {"power", "1"}});
  recording.add(9, {"x", "hold", {"test", "3", "4"}});
  recording.add(36, {"x", "release", {"test"}});
  recording.heard(20, "Sound\\minimums.wav");
  recording.element(21, "radalt", 6, "", true);
  recording.element(22, "radalt", 6, "dh_lamp", false);
  EXPECT_EQ(recording.text(54, "a test"),
            "# a test\n"
            "gauge vrn_gpws test\nstart\n"
            "at 0.5\nset power 1\nhold test 3 4\n"
            "at 2\nrelease test\n"
            "at 3\n"
            "# what the session saw\n"
            "expect sound Sound\\minimums.wav between 1.03 and 1.19\n"
            "expect element 6 of radalt shown at 1.17\n"
            "expect element dh_lamp of radalt hidden at 1.2\n");
}

}  // namespace
