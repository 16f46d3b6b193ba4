// The edges of every expectation form: a window holds both its ends, a
// negated expectation fails when the thing happens, and the summary keeps
// the flight's last event. One flight, its voice and key event at frame 19.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/flight_script.h"
#include "host/flight_summary.h"
#include "host_fixture.h"

namespace {

using Lines = std::vector<std::string>;

// sound1 on at 1 s: the voice starts and the key event goes out at frame 19
// (1.0555555555555556 s at 18 frames a second), then it is switched off.
constexpr const char* kFlight = R"(gauge cabsound XML-Sound
start
at 1
set sound1 1
frames 1
set sound1 0
wait 1
)";
constexpr const char* kAt = "1.0555555555555556";

struct Edge {
  std::string expectation;
  std::string failure;  // "" when it must be met
};

TEST(ExpectationEdges, WindowsHoldBothEndsAndNegationsCanFail) {
  const std::string at = kAt;
  const std::vector<Edge> edges = {
      {"expect sound Sound\\zel-sound1.wav between " + at + " and 2", ""},
      {"expect sound Sound\\zel-sound1.wav between 0 and " + at, ""},
      {"expect sound Sound\\zel-sound1.wav between " + at + " and " + at, ""},
      {"expect sound Sound\\zel-sound1.wav between 0 and 1.05", "it never happened then"},
      {"expect sound Sound\\zel-sound1.wav between 1.06 and 3", "it never happened then"},
      {"expect no sound Sound\\zel-sound1.wav between 0 and " + at, "it happened at " + at + " s"},
      {"expect no sound Sound\\zel-sound1.wav between " + at + " and 9",
       "it happened at " + at + " s"},
      {"expect no sound Sound\\zel-sound1.wav between 0 and 1.05", ""},
      {"expect key 66359 between " + at + " and " + at, ""},
      {"expect key 66359 between 0 and 1.05", "it never happened then"},
      {"expect no key 66359", "it happened at " + at + " s"},
      {"expect no key 66359 between 0 and " + at, "it happened at " + at + " s"},
      {"expect no key 66360", ""},
      {"expect key 66360", "it never happened"},
  };
  for (const Edge& edge : edges) {
    host::PanelHost panel(testing_host::options());
    const Lines failed =
        host::FlightScript::parse(std::string(kFlight) + edge.expectation + "\n", "e.flight")
            .run(panel);
    const Lines wanted = edge.failure.empty()
                             ? Lines{}
                             : Lines{"e.flight:8: " + edge.expectation + ": " + edge.failure};
    EXPECT_EQ(failed, wanted) << edge.expectation;
  }
}

TEST(ExpectationEdges, TheSummaryKeepsTheLastEvent) {
  host::PanelHost panel(testing_host::options());
  host::FlightScript::parse(kFlight, "s.flight").run(panel);
  const std::vector<host::Event>& events = panel.events().events();
  // The events up to the flight's key event: the summary ends with it.
  auto last_key = std::find_if(events.rbegin(), events.rend(), [](const host::Event& e) {
    return e.kind == host::EventKind::kKeyEvent;
  });
  ASSERT_NE(last_key, events.rend());
  const std::vector<host::Event> upto(events.begin(), last_key.base());
  const Lines lines = host::summarize(upto, 18.0);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "    1.06 s  key    66359");
}

}  // namespace
