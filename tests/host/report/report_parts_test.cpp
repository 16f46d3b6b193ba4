// The report's parts on their own: base64, the events read from log lines,
// the plot's round ranges and the timeline's SVG.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "host/report/base64.h"
#include "host/report/flight_events.h"
#include "host/report/html_text.h"
#include "host/report/plot_scale.h"
#include "host/report/timeline_svg.h"
#include "test_events.h"

namespace {

using host::report::MarkKind;

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(ReportBase64, EncodesAsTheStandardSays) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {{"", ""},
                        {"f", "Zg=="},
                        {"fo", "Zm8="},
                        {"foo", "Zm9v"},
                        {"foob", "Zm9vYg=="},
                        {"fooba", "Zm9vYmE="},
                        {"foobar", "Zm9vYmFy"},
                        {"\xff\xfe\xfd", "//79"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    const std::string in = c.in;
    EXPECT_EQ(host::report::base64(std::vector<uint8_t>(in.begin(), in.end())), c.out);
  }
}

using testing_host::test_event;

TEST(ReportEvents, MarksWhatTheSummaryLists) {
  using K = host::EventKind;
  host::Event write = test_event(K::kNamedWrite, 941, 0, 0, 0, "radalt_gpws");
  write.x = 1;
  struct Case {
    const char* name;
    host::Event event;
    std::optional<MarkKind> kind;
    const char* what;
  };
  const Case cases[] = {
      {"a voice heard", test_event(K::kSoundPlay, 941, 4, 0, 1, "Sound\\minimums.wav"),
       MarkKind::kVoice, "minimums"},
      {"a loop heard", test_event(K::kSoundPlay, 7, 7, 1, 1, "Sound\\sinkrate.wav"), MarkKind::kVoice,
       "sinkrate"},
      {"a refused play is no voice", test_event(K::kSoundPlay, 9, 4, 0, 0, "Sound\\minimums.wav"),
       MarkKind::kSoundFailed, "minimums: play failed"},
      {"a failed load", test_event(K::kSoundLoad, 0, 0, 0, 0, "Sound\\pullup.wav"),
       MarkKind::kSoundFailed, "pullup: load failed"},
      {"a load", test_event(K::kSoundLoad, 0, 1, 0, 1, "Sound\\a.wav"), std::nullopt, ""},
      {"a key event", test_event(K::kKeyEvent, 941, 65814), MarkKind::kKey, "key 65814"},
      {"a lamp shown", test_event(K::kElementFlags, 217, 0, 0x40000007, 0x7, nullptr, "below", 1),
       MarkKind::kLamp, "below#1 shown"},
      {"a lamp hidden", test_event(K::kElementFlags, 12, 0, 0x3, 0x40000003, nullptr, "radalt", 6),
       MarkKind::kLamp, "radalt#6 hidden"},
      {"other flags", test_event(K::kElementFlags, 3, 0, 0x1, 0x3, nullptr, "test", 1), std::nullopt,
       ""},
      {"a named variable", write, MarkKind::kVar, "radalt_gpws = 1"},
      {"a lookup", test_event(K::kLookup, 3, 73), std::nullopt, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto e = host::report::flight_event(c.event);
    ASSERT_EQ(e.has_value(), c.kind.has_value());
    if (!e) continue;
    EXPECT_EQ(e->kind, *c.kind);
    EXPECT_EQ(e->frame, c.event.frame);
    EXPECT_EQ(e->what, c.what);
  }
}

TEST(ReportPlotScale, RangesHoldEveryValueAndEndOnRoundTicks) {
  struct Case {
    const char* name;
    std::vector<double> values;
    double low, high;
    std::vector<double> ticks;
  };
  const double nan = std::nan("");
  const Case cases[] = {
      {"a descent from 984 ft", {984.0, 500.0, 0.0}, 0, 1000, {0, 200, 400, 600, 800, 1000}},
      {"sinking at 900 ft/min", {-900.0}, -1000, 0, {-1000, -800, -600, -400, -200, 0}},
      {"climb and sink", {-900.0, 500.0}, -1000, 500, {-1000, -500, 0, 500}},
      {"flat at zero", {0.0, 0.0}, -1, 1, {-1, -0.5, 0, 0.5, 1}},
      {"NaN left out", {nan, 40.0}, 0, 40, {0, 10, 20, 30, 40}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const host::report::PlotRange r = host::report::nice_range(c.values, 0.0);
    EXPECT_DOUBLE_EQ(r.low, c.low);
    EXPECT_DOUBLE_EQ(r.high, c.high);
    EXPECT_EQ(host::report::nice_ticks(r), c.ticks);
  }
}

TEST(ReportHtml, EscapesWhatMarkupWouldRead) {
  EXPECT_EQ(host::report::escape_html("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&#39;");
  EXPECT_EQ(host::report::escape_html("Sound\\pullup.wav"), "Sound\\pullup.wav");
}

TEST(ReportTimeline, DrawsEachSeriesAndOneMarkerPerKindAndFrame) {
  std::vector<host::report::FlightSample> samples;
  for (uint32_t f = 1; f <= 36; ++f) {
    samples.push_back({f, 1000.0 - f, -900.0, f < 18 ? std::nullopt : std::optional(200.0)});
  }
  using K = host::EventKind;
  const auto events = host::report::flight_events({
      test_event(K::kSoundPlay, 12, 4, 0, 1, "Sound\\minimums.wav"),
      test_event(K::kKeyEvent, 12, 65814),
      test_event(K::kElementFlags, 12, 0, 0x40000007, 0x7, nullptr, "radalt", 6),
      test_event(K::kElementFlags, 12, 0, 0x3, 0x40000003, nullptr, "radalt", 4),
      test_event(K::kElementFlags, 20, 0, 0x7, 0x40000007, nullptr, "radalt", 6),
      test_event(K::kNamedWrite, 20, 0, 0, 0, "radalt_gpws"),
  });
  struct Case {
    const char* name;
    bool with_decision_height;
  };
  for (const Case& c : {Case{"with a radar altimeter", true}, Case{"without", false}}) {
    SCOPED_TRACE(c.name);
    const std::string svg =
        host::report::timeline_svg(samples, events, 18.0, c.with_decision_height);
    EXPECT_EQ(svg.rfind("<svg id=\"timeline\"", 0), 0u);
    EXPECT_EQ(count(svg, "class=\"series height\""), 1u);
    EXPECT_EQ(count(svg, "class=\"series vertical-speed\""), 1u);
    EXPECT_EQ(count(svg, "class=\"series decision-height\""), c.with_decision_height ? 1u : 0u);
    EXPECT_EQ(count(svg, "class=\"marker voice\""), 1u);
    EXPECT_EQ(count(svg, "class=\"marker key\""), 1u);
    EXPECT_EQ(count(svg, "class=\"marker lamp\""), 2u) << "frames 12 and 20";
    EXPECT_EQ(count(svg, "class=\"marker var\""), 0u) << "writes are in the table only";
    EXPECT_NE(svg.find(">minimums</text>"), std::string::npos);
    EXPECT_NE(svg.find(">radalt#6 shown, radalt#4 hidden</text>"), std::string::npos);
    EXPECT_NE(svg.find("data-time=\"0.7\""), std::string::npos) << "frame 12 at 18 per second";
  }
}

TEST(ReportTimeline, MissingValuesBreakTheLineInsteadOfDrawingNonsense) {
  std::vector<host::report::FlightSample> samples = {
      {1, 100.0, 0.0, {}}, {2, std::nan(""), 0.0, {}}, {3, 50.0, 0.0, {}}};
  const std::string svg = host::report::timeline_svg(samples, {}, 1.0, false);
  const size_t at = svg.find("class=\"series height\"");
  ASSERT_NE(at, std::string::npos);
  const std::string path = svg.substr(at, svg.find("/>", at) - at);
  EXPECT_EQ(count(path, "M"), 2u) << path;
  EXPECT_EQ(count(path, "L"), 0u) << path;
  EXPECT_EQ(path.find("nan"), std::string::npos);
}

}  // namespace
