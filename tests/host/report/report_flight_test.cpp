// The report of flights flown through the host: the values sampled on each
// frame, the panel pictures at the events, and the page with its parts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/envelope/envelope_picture.h"
#include "host/flight_script.h"
#include "host/host_error.h"
#include "host/report/envelope_track.h"
#include "host/report/flight_recorder.h"
#include "host/report/flight_report.h"
#include "host_fixture.h"

namespace {

namespace fs = std::filesystem;

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

host::FlightScript flight(const std::string& text) {
  return host::FlightScript::parse(text, "report_test.flight");
}

TEST(ReportRecorder, SamplesHeightAboveGroundVerticalSpeedAndTheDecisionHeight) {
  const host::FlightScript f = flight(
      "gauge vrn_radalt radalt\n"
      "start\n"
      "set power 1\n"
      "set altitude_m 300\n"
      "set ground_elevation_m 10\n"
      "set vertical_speed_fpm -900\n"
      "at 1\n"
      "click radalt area 2\n"  // DH 50 -> 60 ft
      "set altitude_m 200\n"
      "set vertical_speed_fpm -500\n"
      "at 2\n");
  host::PanelHost panel(testing_host::options());
  host::report::FlightRecorder recorder(panel, f.layout());
  panel.add_frame_observer([&](uint32_t frame) { recorder.after_frame(frame); });
  f.run(panel);

  ASSERT_TRUE(recorder.has_decision_height());
  ASSERT_EQ(recorder.samples().size(), 36u);
  struct Row {
    uint32_t frame;
    double height_ft;
    double vertical_speed_fpm;
    double decision_height_ft;
  };
  const Row rows[] = {
      {1, 290 * 3.28084, -900, 50},
      {18, 290 * 3.28084, -900, 50},
      {19, 190 * 3.28084, -500, 60},
      {36, 190 * 3.28084, -500, 60},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("frame " + std::to_string(r.frame));
    const host::report::FlightSample& s = recorder.samples()[r.frame - 1];
    EXPECT_EQ(s.frame, r.frame);
    EXPECT_NEAR(s.height_ft, r.height_ft, 1e-9);
    EXPECT_EQ(s.vertical_speed_fpm, r.vertical_speed_fpm);
    ASSERT_TRUE(s.decision_height_ft.has_value());
    EXPECT_EQ(*s.decision_height_ft, r.decision_height_ft);
  }
}

TEST(ReportRecorder, NoRadarAltimeterNoDecisionHeight) {
  const host::FlightScript f = flight("gauge vrn_gpws test\nstart\nset power 1\nframes 3\n");
  host::PanelHost panel(testing_host::options());
  host::report::FlightRecorder recorder(panel, f.layout());
  panel.add_frame_observer([&](uint32_t frame) { recorder.after_frame(frame); });
  f.run(panel);
  EXPECT_FALSE(recorder.has_decision_height());
  ASSERT_EQ(recorder.samples().size(), 3u);
  for (const auto& s : recorder.samples()) EXPECT_FALSE(s.decision_height_ft.has_value());
}

TEST(ReportRecorder, KeepsAnEvenSampleOfTheEventPicturesWithTheFirstAndLast) {
  // Each change of the display set hides one face and shows the other.
  const host::FlightScript f = flight(
      "gauge vrn_radalt radalt\nstart\nset power 1\nset display_variant 1\n"
      "at 1\nset display_variant 0\nat 2\nset display_variant 1\n"
      "at 3\nset display_variant 0\nat 4\nset display_variant 1\nat 5\n");
  struct Case {
    size_t most;
    std::vector<uint32_t> frames;
  };
  const Case cases[] = {{40, {1, 19, 37, 55, 73}}, {3, {1, 37, 73}}, {2, {1, 73}}};
  for (const Case& c : cases) {
    SCOPED_TRACE("at most " + std::to_string(c.most));
    host::PanelHost panel(testing_host::options());
    host::report::FlightRecorder recorder(panel, f.layout(), c.most);
    panel.add_frame_observer([&](uint32_t frame) { recorder.after_frame(frame); });
    f.run(panel);
    EXPECT_EQ(recorder.event_frames(), 5u);
    std::vector<uint32_t> frames;
    std::vector<size_t> pictures;
    for (const auto* s : recorder.snapshots()) {
      frames.push_back(s->frame);
      ASSERT_TRUE(s->picture.has_value());
      const std::vector<uint8_t>& png = recorder.pictures().pngs().at(*s->picture);
      ASSERT_GT(png.size(), 8u);
      EXPECT_EQ(std::string(png.begin(), png.begin() + 4), "\x89PNG");
      EXPECT_FALSE(s->events.empty());
      pictures.push_back(*s->picture);
    }
    EXPECT_EQ(frames, c.frames);
    // A panel that looks as at an earlier event is kept once (with the test
    // bitmaps both faces look alike).
    const auto& pngs = recorder.pictures().pngs();
    EXPECT_EQ(std::set<std::vector<uint8_t>>(pngs.begin(), pngs.end()).size(), pngs.size());
    EXPECT_EQ(std::set<size_t>(pictures.begin(), pictures.end()).size(), 1u);
  }
}

TEST(ReportPage, TheApproachHasEveryPartAndNothingFromOutside) {
  const host::FlightScript f = host::FlightScript::load(SCENARIO_DIR "/approach.flight");
  auto setup = host::report::prepare_report(f, {testing_host::options().modules_dir, SIM_ROOT});
  ASSERT_TRUE(setup.envelope.has_value()) << setup.no_envelope_why;
  host::PanelHost panel(testing_host::options());
  host::report::FlightReport report(panel, f, "scenarios/approach.flight", std::move(setup));
  const std::vector<host::ExpectationResult> results = f.fly(panel);
  const std::vector<std::string> failed = host::failure_lines(results);
  ASSERT_TRUE(failed.empty()) << failed.front();
  const std::string page = report.page(results);

  struct Part {
    const char* what;
    std::string text;
    size_t at_least;
  };
  const Part parts[] = {
      {"the plot", "<div id=\"timeline\"></div>", 1},
      {"its library", "Dygraph", 1},
      {"the series", "\"height above ground, ft\",\"decision height, ft\",\"vertical speed", 1},
      {"glideslope, minimums and too low flaps", ",\"voice\",\"", 4},
      {"the DH key event", ",\"key\",\"key ", 1},
      {"lamps with pictures", ",\"lamp\",\"dh_lamp of radalt shown\",", 1},
      {"panel pictures", "class=\"panel\" data-picture=\"", 5},
      {"the sound track as Ogg",
       "<audio id=\"track\" controls preload=\"auto\" src=\"data:audio/ogg;base64,T2dnUw", 1},
      {"what happened", "<td>voice</td><td>minimums</td>", 1},
      {"lamps with their pictures", "<td>lamp</td><td><img class=\"element\" data-picture=\"", 4},
      {"the elements that changed", "<span class=\"element-count\"><img class=\"element\"", 2},
      {"met expectations", "<span class=\"met\">met</span>", 13},
      {"the flight's name", "<h1>approach.flight</h1>", 1},
      {"the GPWS envelope with the track", "<img id=\"envelope-map\"", 1},
  };
  for (const Part& p : parts) {
    SCOPED_TRACE(p.what);
    EXPECT_GE(count(page, p.text), p.at_least);
  }
  // Every picture once: as many table entries as different pictures shown.
  const size_t table = page.find("const reportPictures = [");
  ASSERT_NE(table, std::string::npos);
  const std::string pictures = page.substr(table, page.find("];", table) - table);
  std::set<std::string> shown;
  for (size_t at = page.find("data-picture=\""); at != std::string::npos;
       at = page.find("data-picture=\"", at + 1)) {
    shown.insert(page.substr(at, page.find('"', at + 14) - at));
  }
  EXPECT_EQ(count(pictures, "\"iVBORw0KGgo"), shown.size());
  EXPECT_LE(count(page, "class=\"panel\""), 40u);
  EXPECT_EQ(count(page, "http:"), 0u);
  // Only in the inlined library's licence notice, which loads nothing.
  EXPECT_EQ(count(page, "https:"), count(page, "/*! @license https:"));
  EXPECT_EQ(count(page, " href="), 0u);
  EXPECT_EQ(count(page, "class=\"failed\""), 0u);
  EXPECT_LT(page.size(), 500u * 1024) << "a page one can still mail";
}

TEST(ReportPage, NamesFailedExpectationsAndGoesOnWithoutSounds) {
  const host::FlightScript f = flight(
      "gauge vrn_gpws test\nstart\nset power 1\nset altitude_m 122\n"
      "set vertical_speed_fpm -1001\nat 2\n"
      "expect sound Sound\\sinkrate.wav between 0 and 1\n"
      "expect no sound Sound\\pullup.wav\n");
  // The voices play, but the report finds no WAV files to mix.
  const std::string empty_root = (fs::path(testing::TempDir()) / "report_no_sounds").string();
  fs::create_directories(empty_root);
  auto setup = host::report::prepare_report(f, {testing_host::options().modules_dir, empty_root});
  host::PanelHost panel(testing_host::options());
  host::report::FlightReport report(panel, f, "report_test.flight", std::move(setup));
  const std::vector<host::ExpectationResult> results = f.fly(panel);
  const std::vector<std::string> failed = host::failure_lines(results);
  const std::string page = report.page(results);
  ASSERT_EQ(failed.size(), 1u) << "the pull-up voice follows 18 ticks after the lamp";
  EXPECT_EQ(count(page, "<span class=\"failed\">failed</span>: "), 1u);
  EXPECT_EQ(count(page, "<span class=\"met\">met</span>"), 1u);
  EXPECT_EQ(count(page, "1 of 2 expectations met"), 1u);
  EXPECT_EQ(count(page, "<audio"), 0u);
  EXPECT_EQ(count(page, "No sound track"), 1u);
  // Without the sink-rate voice the descent bands cannot be found.
  EXPECT_EQ(count(page, "No envelope map: "), 1u);
}

TEST(ReportEnvelope, OnlyFlightsWithTheGpwsSweepIt) {
  struct Case {
    const char* name;
    const char* flight;
    bool swept;
  };
  const Case cases[] = {
      {"the GPWS", "gauge vrn_gpws test\nstart\nframes 2\n", true},
      {"a radar altimeter alone", "gauge vrn_radalt radalt\nstart\nframes 2\n", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const host::FlightScript f = flight(c.flight);
    const auto setup =
        host::report::prepare_report(f, {testing_host::options().modules_dir, SIM_ROOT});
    EXPECT_EQ(setup.envelope.has_value(), c.swept);
    EXPECT_EQ(setup.no_envelope_why, "");
    host::PanelHost panel(testing_host::options());
    host::report::FlightReport report(panel, f, "t.flight", setup);
    EXPECT_EQ(count(report.page(f.fly(panel)), "<section id=\"envelope\">"), c.swept ? 1u : 0u);
  }
}

TEST(ReportEnvelope, TheTrackIsDrawnWhereItsValuesLie) {
  const auto maps =
      host::report::sweep_envelope({testing_host::options().modules_dir, SIM_ROOT}, 14);
  // Level at 1300 ft (2600 / 2: a cell centre) sinking at 4000 ft/min
  // (-8000 / 2), over terrain rising at 4000 ft/min.
  std::vector<host::report::FlightSample> samples;
  for (uint32_t f = 1; f <= 54; ++f) {
    host::report::FlightSample s{f, 1300.0, -4000.0, std::nullopt, 0.0};
    s.height_above_terrain_ft = 1000.0 - 4000.0 / 60.0 / 18.0 * f;
    samples.push_back(s);
  }
  const std::vector<double> closure = host::report::closure_rates(samples, 18.0);
  EXPECT_EQ(closure[0], 0.0) << "no second before the first";
  EXPECT_NEAR(closure[40], 4000.0, 1e-6);
  const host::render::Image picture = host::report::envelope_with_track(maps, samples, 18.0);
  const host::render::Image bare = host::report::envelope_with_track(maps, {}, 18.0);
  // The pixel where a value pair lies: 14 cells from the axes' start to end.
  auto pixel = [&](int map, double row_fraction, double column_fraction) {
    const auto first = host::envelope::cell_box(maps.descent, maps.terrain, map, 0, 0);
    const auto last = host::envelope::cell_box(maps.descent, maps.terrain, map, 13, 13);
    const double x = first.x + first.side / 2.0 + column_fraction * (last.x - first.x);
    const double y = first.y + first.side / 2.0 + row_fraction * (last.y - first.y);
    return std::make_pair(static_cast<int32_t>(x) - 1, static_cast<int32_t>(y) - 1);
  };
  struct Case {
    const char* name;
    std::pair<int32_t, int32_t> at;
    bool track;
  };
  const Case cases[] = {
      {"1300 ft sinking at 4000 ft/min", pixel(0, 1300.0 / 2600, 4000.0 / 8000), true},
      {"2000 ft sinking at 1000 ft/min", pixel(0, 2000.0 / 2600, 1000.0 / 8000), false},
      {"900 ft above terrain closing at 4000 ft/min", pixel(1, 900.0 / 2000, 4000.0 / 8000), true},
      {"1500 ft above terrain", pixel(1, 1500.0 / 2000, 4000.0 / 8000), false},
  };
  size_t track_pixels = 0;
  for (int32_t y = 0; y < picture.height(); ++y) {
    for (int32_t x = 0; x < picture.width(); ++x) {
      if (picture.at(x, y) == host::report::kTrackColour) ++track_pixels;
      EXPECT_EQ(bare.at(x, y) == host::report::kTrackColour, false);
    }
  }
  EXPECT_GT(track_pixels, 10u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(picture.at(c.at.first, c.at.second) == host::report::kTrackColour, c.track);
  }
}

TEST(ReportFile, IsWrittenWholeOrNotAtAll) {
  const fs::path dir = fs::path(testing::TempDir()) / "report_file";
  fs::remove_all(dir);
  fs::create_directories(dir);
  struct Case {
    const char* name;
    fs::path path;
    bool written;
  };
  const Case cases[] = {{"a folder that exists", dir / "a.html", true},
                        {"a folder that does not", dir / "missing" / "a.html", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.written) {
      host::report::write_text_file(c.path.string(), "<p>page</p>\n");
      std::ifstream in(c.path);
      std::stringstream text;
      text << in.rdbuf();
      EXPECT_EQ(text.str(), "<p>page</p>\n");
    } else {
      EXPECT_THROW(host::report::write_text_file(c.path.string(), "x"), host::HostError);
      EXPECT_FALSE(fs::exists(c.path));
    }
    EXPECT_FALSE(fs::exists(c.path.string() + ".tmp"));
  }
}

}  // namespace
