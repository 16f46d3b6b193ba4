// The report's parts on their own: base64, the events marked, text made
// safe for the page, the timeline's data, the pictures and the Opus track.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "host/report/base64.h"
#include "host/report/flight_events.h"
#include "host/report/html_text.h"
#include "host/report/ogg_opus.h"
#include "host/report/picture_set.h"
#include "host/report/report_page.h"
#include "host/report/timeline_chart.h"
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

using testing_host::event;

TEST(ReportEvents, MarksWhatTheSummaryLists) {
  using K = host::EventKind;
  const host::Event write = event(K::kNamedWrite, 941, {{"variable", "radalt_gpws"}, {"value", 1}});
  struct Case {
    const char* name;
    host::Event event;
    std::optional<MarkKind> kind;
    const char* what;
  };
  const Case cases[] = {
      {"a voice heard",
       event(K::kSoundPlay, 941, {{"handle", 4}, {"path", "Sound\\minimums.wav"}, {"started", 1}}),
       MarkKind::kVoice, "minimums"},
      {"a loop heard",
       event(K::kSoundPlay, 7,
             {{"handle", 7}, {"path", "Sound\\sinkrate.wav"}, {"loop", 1}, {"started", 1}}),
       MarkKind::kVoice, "sinkrate"},
      {"a refused play is no voice",
       event(K::kSoundPlay, 9, {{"handle", 4}, {"path", "Sound\\minimums.wav"}}),
       MarkKind::kSoundFailed, "minimums: play failed"},
      {"a failed load", event(K::kSoundLoad, 0, {{"path", "Sound\\pullup.wav"}}),
       MarkKind::kSoundFailed, "pullup: load failed"},
      {"a load", event(K::kSoundLoad, 0, {{"path", "Sound\\a.wav"}, {"loaded", 1}, {"handle", 1}}),
       std::nullopt, ""},
      {"a key event", event(K::kKeyEvent, 941, {{"event", 65814}}), MarkKind::kKey, "key 65814"},
      {"a lamp shown",
       event(K::kElementFlags, 217,
             {{"gauge", "below"}, {"element", 1}, {"before", 0x40000007}, {"now", 0x7}}),
       MarkKind::kLamp, "below#1 shown"},
      {"a lamp hidden",
       event(K::kElementFlags, 12,
             {{"gauge", "radalt"}, {"element", 6}, {"before", 0x3}, {"now", 0x40000003}}),
       MarkKind::kLamp, "radalt#6 hidden"},
      {"a lamp its module names",
       event(K::kElementFlags, 12,
             {{"gauge", "radalt@2"},
              {"module", "vrn_radalt"},
              {"element", 6},
              {"before", 0x3},
              {"now", 0x40000003}}),
       MarkKind::kLamp, "dh_lamp of radalt@2 hidden"},
      {"a gauge of that name from another module",
       event(K::kElementFlags, 12,
             {{"gauge", "radalt"},
              {"module", "other_radalt"},
              {"element", 6},
              {"before", 0x3},
              {"now", 0x40000003}}),
       MarkKind::kLamp, "radalt#6 hidden"},
      {"an element its module does not name",
       event(K::kElementFlags, 12,
             {{"gauge", "radalt"},
              {"module", "vrn_radalt"},
              {"element", 40},
              {"before", 0x3},
              {"now", 0x40000003}}),
       MarkKind::kLamp, "radalt#40 hidden"},
      {"other flags",
       event(K::kElementFlags, 3,
             {{"gauge", "test"}, {"element", 1}, {"before", 0x1}, {"now", 0x3}}),
       std::nullopt, ""},
      {"a named variable", write, MarkKind::kVar, "radalt_gpws = 1"},
      {"a lookup", event(K::kLookup, 3, {{"token", 73}}), std::nullopt, ""},
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

TEST(ReportHtml, EscapesWhatMarkupWouldRead) {
  EXPECT_EQ(host::report::escape_html("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&#39;");
  EXPECT_EQ(host::report::escape_html("Sound\\pullup.wav"), "Sound\\pullup.wav");
}

TEST(ReportHtml, ScriptStringsCannotEndTheScript) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {{"minimums", "\"minimums\""},
                        {"Sound\\a \"b\"", "\"Sound\\\\a \\\"b\\\"\""},
                        {"</script><b>", "\"\\u003c/script>\\u003cb>\""},
                        {"a\nb\tc", "\"a\\u000ab\\u0009c\""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(host::report::js_string(c.in), c.out);
  }
}

TEST(ReportTimeline, HoldsEverySeriesEachEventAndGapsForMissingValues) {
  std::vector<host::report::FlightSample> samples;
  for (uint32_t f = 1; f <= 36; ++f) {
    samples.push_back({f, 1000.0 - f, -900.0, f < 18 ? std::nullopt : std::optional(200.0)});
  }
  samples[4].height_ft = std::nan("");
  using K = host::EventKind;
  auto events = host::report::flight_events({
      event(K::kSoundPlay, 12, {{"handle", 4}, {"path", "Sound\\minimums.wav"}, {"started", 1}}),
      event(K::kKeyEvent, 12, {{"event", 65814}}),
      event(K::kElementFlags, 12,
            {{"gauge", "radalt"}, {"element", 6}, {"before", 0x40000007}, {"now", 0x7}}),
      event(K::kNamedWrite, 20, {{"variable", "radalt_gpws"}}),
  });
  events[2].picture = 3;
  struct Case {
    const char* name;
    bool with_decision_height;
    const char* labels;
    const char* rows;
  };
  const Case cases[] = {
      {"with a radar altimeter", true,
       "[\"flight time, s\",\"height above ground, ft\",\"decision height, ft\",\"vertical "
       "speed, ft/min\"]",
       "\"rows\":[\n[1,999,null,-900],\n[2,998,null,-900],\n[3,997,null,-900],\n[4,996,null,-900],"
       "\n[5,null,null,-900],"},
      {"without", false,
       "[\"flight time, s\",\"height above ground, ft\",\"vertical speed, ft/min\"]",
       "\"rows\":[\n[1,999,-900],\n[2,998,-900],\n[3,997,-900],\n[4,996,-900],\n[5,null,-900],"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string data =
        host::report::timeline_data(samples, events, 18.0, c.with_decision_height);
    EXPECT_EQ(data.rfind("{\"fps\":18,\"labels\":" + std::string(c.labels), 0), 0u) << data;
    EXPECT_NE(data.find(c.rows), std::string::npos) << data;
    EXPECT_EQ(count(data, "\n["), 36u + 4u) << "every frame and every event";
    EXPECT_NE(data.find("[36,964,"), std::string::npos);
    EXPECT_NE(data.find("[12,\"voice\",\"minimums\",null]"), std::string::npos);
    EXPECT_NE(data.find("[12,\"key\",\"key 65814\",null]"), std::string::npos);
    EXPECT_NE(data.find("[12,\"lamp\",\"radalt#6 shown\",3]"), std::string::npos)
        << "the lamp with its picture";
    EXPECT_NE(data.find("[20,\"var\","), std::string::npos);
    EXPECT_EQ(data.find("nan"), std::string::npos);
  }
}

// The scripts draw each series as the data describes it, beside the
// labels dygraphs reads: the two agree, and only the DH is dashed.
TEST(ReportTimeline, EachSeriesComesWithItsLabelAxisAndColour) {
  const std::vector<host::report::FlightSample> samples = {{1, 500.0, -700.0, 200.0}};
  struct Case {
    bool with_decision_height;
    std::vector<std::string> keys;
  };
  const Case cases[] = {
      {true, {"height_ft", "decision_height_ft", "vertical_speed_fpm"}},
      {false, {"height_ft", "vertical_speed_fpm"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.with_decision_height);
    const auto data = nlohmann::json::parse(
        host::report::timeline_data(samples, {}, 18.0, c.with_decision_height));
    const auto& series = data["series"];
    ASSERT_EQ(series.size(), c.keys.size());
    ASSERT_EQ(data["labels"].size(), c.keys.size() + 1);
    ASSERT_EQ(data["rows"][0].size(), c.keys.size() + 1);
    for (size_t i = 0; i < c.keys.size(); ++i) {
      SCOPED_TRACE(c.keys[i]);
      EXPECT_EQ(series[i]["key"], c.keys[i]);
      EXPECT_EQ(series[i]["label"], data["labels"][i + 1]);
      EXPECT_EQ(series[i]["dashed"], c.keys[i] == "decision_height_ft");
      EXPECT_EQ(series[i]["axis"], c.keys[i] == "vertical_speed_fpm" ? "y2" : "y");
      EXPECT_EQ(series[i]["colour"].get<std::string>().size(), 7u);
    }
    EXPECT_EQ(data["axes"]["y2"], series.back()["label"]);
    EXPECT_EQ(data["on_panel"], nlohmann::json::array({"voice", "sound failed", "key", "lamp"}))
        << "named-variable writes are in the table only";
  }
}

// The elements' counts read the shown flag, whatever the element's name
// says: a gauge labelled "shown" whose lamp went out was hidden.
TEST(ReportPageParts, ElementsCountedShownOrHiddenByTheirFlag) {
  host::report::ReportContent c;
  c.title = "f.flight";
  host::report::FlightEvent out;
  out.kind = MarkKind::kLamp;
  out.label = "shown";
  out.element = 2;
  out.element_name = "shown#2";
  out.shown = false;
  out.what = "lamp shown";
  host::report::FlightEvent on = out;
  on.shown = true;
  on.what = "lamp hidden";
  c.events = {out, out, on};
  const std::string page = host::report::report_page(c);
  EXPECT_NE(page.find("shown#2 shown 1&times;, hidden 2&times;"), std::string::npos) << page;
}

TEST(ReportTimeline, AnHourKeepsAReadableShareOfItsFrames) {
  constexpr uint32_t kHour = 64800;
  std::vector<host::report::FlightSample> samples;
  for (uint32_t f = 1; f <= kHour; ++f) samples.push_back({f, 500.0, 0.0, std::nullopt});
  const std::string data = host::report::timeline_data(samples, {}, 18.0, false);
  const size_t rows = count(data, "\n[");
  EXPECT_LE(rows, host::report::kMostTimelineRows + 1);
  EXPECT_GE(rows, host::report::kMostTimelineRows / 2) << "a row at least every half second";
  EXPECT_NE(data.find("\n[64800,500,0]]"), std::string::npos) << "the last frame is always there";
}

TEST(ReportPictures, EachDifferentPictureIsEncodedOnce) {
  using host::render::Image;
  host::report::PictureSet set;
  const Image lamp(20, 10, {200, 40, 40});
  const Image other_colour(20, 10, {40, 200, 40});
  const Image other_size(10, 20, {200, 40, 40});
  Image one_pixel_off = lamp;
  one_pixel_off.set(19, 9, {0, 0, 0});
  struct Case {
    const char* name;
    const Image& image;
    size_t index;
  };
  const Case cases[] = {{"the first", lamp, 0},
                        {"the same again", lamp, 0},
                        {"another colour", other_colour, 1},
                        {"another size", other_size, 2},
                        {"one pixel apart", one_pixel_off, 3},
                        {"an earlier one", other_colour, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(set.add(c.image), c.index);
  }
  ASSERT_EQ(set.pngs().size(), 4u);
  for (const auto& png : set.pngs())
    EXPECT_EQ(std::string(png.begin(), png.begin() + 4), "\x89PNG");
}

// The Ogg pages' last granule position: 48 kHz samples, pre-skip included.
int64_t last_granule(const std::vector<uint8_t>& ogg) {
  int64_t granule = -1;
  for (size_t at = 0; at + 27 <= ogg.size();) {
    if (std::string(ogg.begin() + static_cast<long>(at), ogg.begin() + static_cast<long>(at) + 4) !=
        "OggS") {
      return -2;
    }
    int64_t g = 0;
    for (int i = 7; i >= 0; --i) g = g << 8 | ogg[at + 6 + static_cast<size_t>(i)];
    granule = g;
    const size_t segments = ogg[at + 26];
    size_t body = 0;
    for (size_t i = 0; i < segments; ++i) body += ogg[at + 27 + i];
    at += 27 + segments + body;
  }
  return granule;
}

uint16_t pre_skip(const std::vector<uint8_t>& ogg) {
  const std::string bytes(ogg.begin(), ogg.end());
  const size_t head = bytes.find("OpusHead");
  return head == std::string::npos ? 0
                                   : static_cast<uint16_t>(ogg[head + 10] | ogg[head + 11] << 8);
}

TEST(ReportOpus, TheTrackDecodesToItsLengthAndSilenceCostsLittle) {
  if (!host::report::opus_supported()) GTEST_SKIP() << "this build keeps the page's track as WAV";
  constexpr size_t kRate = host::report::kOpusInputRate;
  std::vector<int16_t> tone(kRate * 2);
  for (size_t i = 0; i < tone.size(); ++i) {
    tone[i] = static_cast<int16_t>(8000.0 * std::sin(2.0 * 3.14159265358979 * 700.0 * i / kRate));
  }
  std::vector<int16_t> silent_minute(kRate * 60, 0);
  std::vector<int16_t> tone_in_silence = silent_minute;
  std::copy(tone.begin(), tone.end(), tone_in_silence.begin() + kRate * 20);
  struct Case {
    const char* name;
    const std::vector<int16_t>& samples;
    size_t at_most_bytes;
  };
  const Case cases[] = {{"two seconds of tone", tone, 8000},
                        {"a silent minute", silent_minute, 12000},
                        {"the tone in the minute", tone_in_silence, 20000},
                        {"nothing at all", {}, 200}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> ogg = host::report::ogg_opus(c.samples);
    ASSERT_GT(ogg.size(), 40u);
    EXPECT_EQ(std::string(ogg.begin(), ogg.begin() + 4), "OggS");
    EXPECT_EQ(last_granule(ogg), pre_skip(ogg) + 3 * static_cast<int64_t>(c.samples.size()))
        << "decodes to exactly the samples given";
    EXPECT_GT(pre_skip(ogg), 0u);
    EXPECT_LE(ogg.size(), c.at_most_bytes);
  }
}

}  // namespace
