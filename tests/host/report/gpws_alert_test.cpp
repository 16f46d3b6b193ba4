// The alert the side view colours the trail with: which events give which
// alert, how long each holds after its sign, and which wins when several do.
#include "host/report/gpws_alert.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "frame/host_facts.h"
#include "frame/records.h"
#include "host/event_marks.h"
#include "host/event_stream.h"
#include "test_events.h"

namespace {

using host::EventKind;
using host::report::GpwsAlert;
using testing_host::event;

constexpr GpwsAlert kNone = GpwsAlert::kNone;
constexpr GpwsAlert kCaution = GpwsAlert::kCaution;
constexpr GpwsAlert kWarning = GpwsAlert::kWarning;
constexpr GpwsAlert kTerrain = GpwsAlert::kTerrain;

host::Event voice(const char* path, uint32_t handle = 3, int loop = 0, int started = 1) {
  return event(EventKind::kSoundPlay, 0,
               {{"handle", handle}, {"path", path}, {"loop", loop}, {"started", started}});
}
host::Event stop(uint32_t handle) {
  return event(EventKind::kSoundStop, 0, {{"handle", handle}, {"path", "Sound\\sinkrate.wav"}});
}
// An element of a gauge shown or hidden, by default the PULL UP lamp.
host::Event lamp(bool shown, const char* gauge = "test", unsigned element = 1,
                 const char* module = "vrn_gpws") {
  const unsigned hidden = frame::kImageHidden;
  return event(EventKind::kElementFlags, 0,
               {{"gauge", gauge},
                {"module", module},
                {"element", element},
                {"before", shown ? hidden : 0u},
                {"now", shown ? 0u : hidden}});
}

struct At {
  uint32_t frame;
  host::Event event;
};
struct Seen {
  uint32_t frame;
  GpwsAlert alert;
};
struct Case {
  const char* what;
  std::vector<At> events;
  std::vector<Seen> seen;
};

// At 18 frames a second: a voice holds 18 frames, the dark lamp 11.
const Case kCases[] = {
    {"a caution voice colours a second from its start",
     {{10, voice("Sound\\glideslope.wav")}},
     {{9, kNone}, {10, kCaution}, {28, kCaution}, {29, kNone}}},
    {"every GPWS callout is a caution",
     {{1, voice("Sound\\dontsink.wav")},
      {30, voice("Sound\\minimums.wav")},
      {60, voice("Sound\\toolowgear.wav")},
      {90, voice("Sound\\toolowflaps.wav")}},
     {{1, kCaution}, {25, kNone}, {30, kCaution}, {60, kCaution}, {90, kCaution}, {109, kNone}}},
    {"the looping sink-rate voice holds until the GPWS stops it",
     {{10, voice("Sound\\sinkrate.wav", 6, 1)}, {200, stop(6)}},
     {{10, kCaution}, {100, kCaution}, {199, kCaution}, {200, kNone}}},
    {"a stop of another sound leaves the loop on",
     {{10, voice("Sound\\sinkrate.wav", 6, 1)}, {50, stop(7)}},
     {{50, kCaution}, {80, kCaution}}},
    {"a voice that did not play is no alert",
     {{10, voice("Sound\\glideslope.wav", 3, 0, 0)}},
     {{10, kNone}}},
    {"terrain voices give terrain",
     {{10, voice("Sound\\terrain1.wav")}, {40, voice("Sound\\terrain2.wav")}},
     {{10, kTerrain}, {28, kTerrain}, {29, kNone}, {40, kTerrain}, {59, kNone}}},
    {"the pull-up voice is the warning",
     {{10, voice("Sound\\pullup.wav")}},
     {{10, kWarning}, {28, kWarning}, {29, kNone}}},
    {"the switch click and the cabin sounds are no alert",
     {{10, voice("Sound\\360tinytog.wav")}, {11, voice("Sound\\zel-sound1.wav")}},
     {{10, kNone}, {11, kNone}}},
    {"the flashing PULL UP lamp holds across its dark halves",
     {{10, lamp(true)}, {28, lamp(false)}, {37, lamp(true)}, {46, lamp(false)}},
     {{9, kNone},
      {10, kWarning},
      {28, kWarning},
      {33, kWarning},
      {40, kWarning},
      {57, kWarning},
      {58, kNone}}},
    {"the lamp of a second test gauge counts too", {{10, lamp(true, "test@2")}}, {{10, kWarning}}},
    {"the self-test face, other lamps and other modules are no warning",
     {{10, lamp(true, "test", 2)},
      {11, lamp(true, "below", 1)},
      {12, lamp(true, "test", 1, "vrn_radalt")}},
     {{12, kNone}}},
    {"terrain over the warning over a caution",
     {{10, voice("Sound\\glideslope.wav")},
      {12, lamp(true)},
      {30, voice("Sound\\terrain1.wav")},
      {40, lamp(false)}},
     {{11, kCaution},
      {12, kWarning},
      {30, kTerrain},
      {48, kTerrain},
      {49, kWarning},
      {51, kWarning},
      {52, kNone}}},
};

TEST(GpwsAlert, EachSignGivesItsAlertForItsHold) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    host::EventStream stream;
    stream.set_capture(false);
    host::report::GpwsAlerts alerts(stream, 18.0);
    size_t next = 0;
    for (const Seen& s : c.seen) {
      for (; next < c.events.size() && c.events[next].frame <= s.frame; ++next) {
        stream.set_frame(c.events[next].frame);
        stream.publish(c.events[next].event);
      }
      EXPECT_EQ(static_cast<int>(alerts.at(s.frame)), static_cast<int>(s.alert))
          << "at frame " << s.frame;
    }
  }
}

TEST(GpwsAlert, HoldsAreInSecondsWhateverTheFrameRate) {
  host::EventStream stream;
  host::report::GpwsAlerts alerts(stream, 36.0);
  stream.set_frame(10);
  stream.publish(voice("Sound\\glideslope.wav"));
  EXPECT_EQ(alerts.at(46), kCaution);  // a second is 36 frames
  EXPECT_EQ(alerts.at(47), kNone);
}

TEST(GpwsAlert, TheTableNamesGpwsVoicesAndEveryAlertOnce) {
  std::set<std::string> voices;
  for (const char* path : facts::kGpwsSoundPaths) voices.insert(host::voice_name(path));
  for (const host::report::VoiceAlertRow& row : host::report::kVoiceAlerts) {
    EXPECT_TRUE(voices.count(row.voice)) << row.voice << " is no sound of the GPWS";
  }
  std::set<std::string> names;
  std::set<std::string> colours;
  for (const host::report::GpwsAlertRow& row : host::report::kGpwsAlerts) {
    names.insert(row.name);
    colours.insert(row.colour);
  }
  EXPECT_EQ(names.size(), std::size(host::report::kGpwsAlerts));
  EXPECT_EQ(colours.size(), std::size(host::report::kGpwsAlerts));
}

}  // namespace
