// The side view of flights that fly the aircraft through the real GPWS: the
// trail follows the aircraft frame by frame and turns to the alert the GPWS
// gave at the very frame of its voice or lamp; the report shows the side
// view only for a flight with an aircraft.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "host/event_marks.h"
#include "host/flight_script.h"
#include "host/report/flight_report.h"
#include "host/report/side_view.h"
#include "host_fixture.h"

namespace {

namespace fs = std::filesystem;
using host::report::GpwsAlert;
using host::report::SideView;
using host::report::TrailPoint;

constexpr double kFps = 18.0;

// The frame of the first event `is` takes.
template <typename Is>
std::optional<uint32_t> first_frame(const std::vector<host::Event>& events, Is is) {
  for (const host::Event& e : events) {
    if (is(e)) return e.frame;
  }
  return std::nullopt;
}
std::optional<uint32_t> first_voice(const std::vector<host::Event>& events, const char* voice) {
  return first_frame(events, [&](const host::Event& e) {
    return host::voice_heard(e) && host::voice_name(e.text) == voice;
  });
}
std::optional<uint32_t> pull_up_lamp_lit(const std::vector<host::Event>& events) {
  return first_frame(events, [](const host::Event& e) {
    return host::visibility_changed(e) && host::element_now_shown(e) &&
           host::element_text(e) == "warning_lamp of test";
  });
}

// A flight flown with a side view, and when the GPWS first gave its signs.
struct Flown {
  std::vector<TrailPoint> trail;
  std::string json;
  std::optional<uint32_t> sink_rate, terrain, lamp;
};

Flown fly(const std::string& text) {
  const host::FlightScript f = host::FlightScript::parse(text, "side_view_test.flight");
  host::PanelHost panel(testing_host::options());
  SideView view(panel, kFps, host::report::kMostReportTrailPoints);
  panel.add_frame_observer([&](uint32_t frame) { view.after_frame(frame); });
  const std::vector<std::string> failed = f.run(panel);
  EXPECT_TRUE(failed.empty()) << failed.front();
  const std::vector<host::Event>& events = panel.events().events();
  return {view.trail(), view.json(), first_voice(events, "sinkrate"),
          first_voice(events, "terrain1"), pull_up_lamp_lit(events)};
}

const TrailPoint& at_frame(const std::vector<TrailPoint>& trail, uint32_t frame) {
  static const TrailPoint none{};
  for (const TrailPoint& p : trail) {
    if (p.frame == frame) return p;
  }
  ADD_FAILURE() << "no point of the trail at frame " << frame;
  return none;
}

// Where the trail first shows `alert` or more.
std::optional<uint32_t> first_at_least(const std::vector<TrailPoint>& trail, GpwsAlert alert) {
  for (const TrailPoint& p : trail) {
    if (p.alert >= alert) return p.frame;
  }
  return std::nullopt;
}

// Gear down (no terrain alert), descending ever faster over level ground:
// into the sink-rate band, then past the pull-up line.
const char* const kSteepDescent =
    "gauge vrn_gpws test\n"
    "start\n"
    "set power 1\n"
    "set gear 16383\n"
    "at 1\n"
    "aircraft 6 nm 2400 ft 140 kt -1000 fpm\n"
    "descend 4500 fpm\n"
    "at 22\n";

TEST(SideViewFlight, TheTrailFollowsTheAircraftFrameByFrame) {
  const Flown f = fly(kSteepDescent);
  ASSERT_EQ(f.trail.size(), 21u * 18u) << "a point a frame from the aircraft's start";
  EXPECT_EQ(f.trail.front().frame, 19u);
  EXPECT_NEAR(f.trail.front().distance_nm, 6.0 - 140.0 / 3600.0 / kFps, 1e-9);
  for (size_t i = 1; i < f.trail.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(f.trail[i].frame, f.trail[i - 1].frame + 1);
    EXPECT_NEAR(f.trail[i - 1].distance_nm - f.trail[i].distance_nm, 140.0 / 3600.0 / kFps, 1e-9);
    EXPECT_LT(f.trail[i].altitude_ft, f.trail[i - 1].altitude_ft) << "descending";
  }
}

TEST(SideViewFlight, ASteepDescentTurnsCautionAtTheSinkRateVoiceThenWarningAtTheLamp) {
  const Flown f = fly(kSteepDescent);
  const std::optional<uint32_t> sink_rate = f.sink_rate;
  const std::optional<uint32_t> lamp = f.lamp;
  ASSERT_TRUE(sink_rate && lamp) << "the flight reaches both bands";
  ASSERT_LT(*sink_rate, *lamp);
  EXPECT_EQ(at_frame(f.trail, *sink_rate - 1).alert, GpwsAlert::kNone);
  EXPECT_EQ(at_frame(f.trail, *sink_rate).alert, GpwsAlert::kCaution);
  EXPECT_EQ(at_frame(f.trail, *lamp - 1).alert, GpwsAlert::kCaution) << "the sink rate loops";
  EXPECT_EQ(at_frame(f.trail, *lamp).alert, GpwsAlert::kWarning);
  EXPECT_EQ(first_at_least(f.trail, GpwsAlert::kCaution), sink_rate);
  // The lamp flashes from here on: its dark halves stay warning.
  for (const TrailPoint& p : f.trail) {
    if (p.frame >= *lamp) EXPECT_EQ(p.alert, GpwsAlert::kWarning) << "at frame " << p.frame;
  }
  EXPECT_EQ(first_at_least(f.trail, GpwsAlert::kTerrain), std::nullopt) << "gear down";
}

TEST(SideViewFlight, RisingTerrainAheadGivesTheTerrainAlertBeforeTheGround) {
  const fs::path dir = fs::path(testing::TempDir()) / "side_view_terrain";
  fs::create_directories(dir);
  const fs::path profile = dir / "steep.profile";
  // Level out to 2.6 nm, then a slope up to a ridge from 2 nm to 1.4 nm.
  std::ofstream(profile) << "# a ridge\n0 0\n1 0\n1.4 900\n2 900\n2.6 0\n";
  const Flown f =
      fly("gauge vrn_gpws test\nstart\nset power 1\nat 1\n"
          "aircraft 4 nm 1000 ft 160 kt\n"
          "terrain " +
          profile.string() +
          "\n"
          "at 50\n");
  const std::optional<uint32_t> terrain = f.terrain;
  const std::optional<uint32_t> lamp = f.lamp;
  ASSERT_TRUE(terrain && lamp);
  EXPECT_EQ(first_at_least(f.trail, GpwsAlert::kWarning), lamp) << "the lamp comes first";
  EXPECT_EQ(first_at_least(f.trail, GpwsAlert::kTerrain), terrain);
  EXPECT_EQ(at_frame(f.trail, *terrain - 1).alert, GpwsAlert::kWarning);
  const TrailPoint& alerted = at_frame(f.trail, *terrain);
  EXPECT_EQ(alerted.alert, GpwsAlert::kTerrain);
  EXPECT_GT(alerted.distance_nm, 2.0) << "before the ridge";
  EXPECT_NE(f.json.find("[2,900],[2.6,0]"), std::string::npos) << "the profile, as flown";
}

TEST(SideViewFlight, NoAircraftNoSideView) {
  const Flown f = fly("gauge vrn_gpws test\nstart\nset power 1\nset altitude_m 100\nat 2\n");
  EXPECT_TRUE(f.trail.empty());
  EXPECT_EQ(f.json, "null");
}

// The report's page, from a flight with the GPWS but no envelope swept.
std::string report_page(const std::string& text) {
  const host::FlightScript f = host::FlightScript::parse(text, "side_view_report.flight");
  host::report::ReportSetup setup{
      {testing_host::options().modules_dir, SIM_ROOT}, std::nullopt, "not swept here"};
  host::PanelHost panel(testing_host::options());
  host::report::FlightReport report(panel, f, "side_view_report.flight", std::move(setup));
  return report.page(f.fly(panel));
}

TEST(SideViewReport, OnlyAFlightWithAnAircraftHasTheSideView) {
  const std::string with = report_page(kSteepDescent);
  EXPECT_NE(with.find("<canvas id=\"side-view\""), std::string::npos);
  EXPECT_NE(with.find("const sideViewData = {\"profile\":"), std::string::npos);
  EXPECT_NE(with.find("SideView.follow("), std::string::npos);
  EXPECT_LT(with.find("const timelineData"), with.find("SideView.follow("))
      << "after the timeline it follows";
  const std::string without =
      report_page("gauge vrn_gpws test\nstart\nset power 1\nset altitude_m 100\nat 2\n");
  EXPECT_EQ(without.find("side-view"), std::string::npos);
  EXPECT_EQ(without.find("SideView"), std::string::npos);
}

}  // namespace
