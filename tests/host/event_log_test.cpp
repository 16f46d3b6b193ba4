// The event log's text and the stream's switch: lines as every platform
// writes them, and a stream nobody reads publishes nothing.
#include "host/event_log.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "host/event_text.h"
#include "test_events.h"

namespace {

struct StampCase {
  uint32_t frame;
  const char* line;
};

host::Event key_event(uint32_t frame) {
  host::Event e;
  e.frame = frame;
  e.kind = host::EventKind::kKeyEvent;
  e.code = 65814;
  return e;
}

TEST(EventLogText, FrameStampIsSixDigitsAtLeast) {
  const StampCase cases[] = {
      {0, "000000 key_event 65814 0\n"},
      {7, "000007 key_event 65814 0\n"},
      {123456, "123456 key_event 65814 0\n"},
      {1234567, "1234567 key_event 65814 0\n"},
      {4294967295u, "4294967295 key_event 65814 0\n"},
  };
  for (const StampCase& c : cases) {
    std::ostringstream out;
    host::EventLog log(out);
    log.on_event(key_event(c.frame));
    EXPECT_EQ(out.str(), c.line) << "frame " << c.frame;
  }
}

// Every kind of event as the log words it; old logs and the comparison of
// native and Wine runs rely on these words staying as they are.
struct TextCase {
  host::Event event;
  const char* text;
};

using testing_host::event;

TEST(EventLogText, EveryKindWordedAsTheLogHasAlwaysWordedIt) {
  using K = host::EventKind;
  const host::Event click = event(K::kClick, 0, {{"gauge", "radalt"}, {"x", 50}, {"y", 220}});
  const TextCase cases[] = {
      {event(K::kModuleLoaded, 0, {{"module", "vrn_gpws"}}), "module vrn_gpws loaded"},
      {event(K::kModuleUnloaded, 0, {{"module", "cabsound"}}), "module cabsound unloaded"},
      {event(K::kGaugeService, 0, {{"gauge", "test"}, {"service", 2}}), "gauge test install"},
      {event(K::kGaugeService, 0, {{"gauge", "test@2"}, {"service", 4}}),
       "gauge test@2 initialize"},
      {event(K::kGaugeService, 0, {{"gauge", "fi"}, {"service", 12}}), "gauge fi kill"},
      {event(K::kGaugeService, 0, {{"gauge", "fi"}, {"service", 9}}), "gauge fi service 9"},
      {event(K::kElementList, 0, {{"routine", 31}, {"gauge", "test"}, {"element", 0}}),
       "elist kill test#0"},
      {event(K::kElementList, 0, {{"routine", 25}, {"gauge", "test"}, {"dword", 9}}),
       "elist install test#0 9"},
      {event(K::kElementList, 0, {{"routine", 24}, {"passed", "null"}}), "elist query null"},
      {event(K::kElementList, 0, {{"routine", 30}, {"passed", "?"}}), "elist (30) ?"},
      {event(K::kKeyEvent, 0, {{"event", 66359}}), "key_event 66359 0"},
      {event(K::kRegister, 0, {{"name", "dh_gpws"}, {"type", 19}}), "register \"dh_gpws\" type 19"},
      {event(K::kRegister, 0, {{"type", 19}}), "register (null) type 19"},
      {event(K::kLink, 0, {{"name", "radalt_adi"}, {"registered", 1}}),
       "link \"radalt_adi\" -> registered"},
      {event(K::kLink, 0, {{"name", "radalt_adi"}}), "link \"radalt_adi\" -> null"},
      {event(K::kLookup, 0, {{"token", 73}, {"value", 304.8}}), "lookup 73 = 304.8"},
      {event(K::kUnregister, 0, {{"name", "dh_gpws"}}), "unregister \"dh_gpws\""},
      {event(K::kUnregister), "unregister (null)"},
      {event(K::kStraySlot, 0, {{"slot", 33}}), "stray service slot 33"},
      {event(K::kNamedWrite, 0, {{"variable", "radalt_gpws"}, {"value", -7}}),
       "var \"radalt_gpws\" = -7"},
      {event(K::kElementFlags, 0,
             {{"gauge", "test"}, {"element", 1}, {"before", 0x40000007}, {"now", 0x7}}),
       "element test#1 shown"},
      {event(K::kElementFlags, 0,
             {{"gauge", "radalt"}, {"element", 13}, {"before", 0x3}, {"now", 0x40000003}}),
       "element radalt#13 hidden"},
      {event(K::kElementFlags, 0,
             {{"gauge", "radalt"}, {"element", 4}, {"before", 0x3}, {"now", 0x2}}),
       "element radalt#4 flags 0x3 -> 0x2"},
      {event(K::kNeedleValue, 0, {{"gauge", "radalt"}, {"element", 9}, {"value", -0.0}}),
       "needle radalt#9 = -0"},
      {event(K::kClick, 0, {{"gauge", "radalt"}, {"x", 50}, {"y", 220}, {"area", 2}}),
       "click radalt 50,220 -> area 2"},
      {click, "click radalt 50,220 -> no area"},
      {event(K::kSoundLoad, 0, {{"path", "Sound\\a.wav"}, {"loaded", 1}, {"handle", 3}}),
       "sound load \"Sound\\a.wav\" -> 1 h=3"},
      {event(K::kSoundLoad), "sound load ? -> 0 h=0"},
      {event(K::kSoundPlay, 0,
             {{"handle", 7}, {"path", "Sound\\sinkrate.wav"}, {"loop", 1}, {"started", 1}}),
       "sound play h=7 \"Sound\\sinkrate.wav\" loop=1 -> 1"},
      {event(K::kSoundPlay, 0, {{"handle", 9}}), "sound play h=9 ? loop=0 -> 0"},
      {event(K::kSoundStop), "sound stop h=0 ?"},
      {event(K::kSoundUnload, 0, {{"handle", 2}, {"path", "Sound\\b.wav"}}),
       "sound unload h=2 \"Sound\\b.wav\""},
  };
  for (const TextCase& c : cases) EXPECT_EQ(host::event_text(c.event), c.text);
}

struct DoubleCase {
  double value;
  const char* text;
};

TEST(EventLogText, DoublesReadBackTheSame) {
  const DoubleCase cases[] = {
      {0.0, "0"},
      {-0.0, "-0"},
      {1.5, "1.5"},
      {0.1, "0.1"},
      {-304.8, "-304.8"},
      {1e300, "1e+300"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
      {16383.0, "16383"},
  };
  for (const DoubleCase& c : cases) {
    EXPECT_EQ(host::format_double(c.value), c.text);
    std::string appended = "v=";
    host::append_double(appended, c.value);
    EXPECT_EQ(appended, std::string("v=") + c.text);
  }
}

struct IntCase {
  int64_t value;
  const char* decimal;
};

TEST(EventLogText, IntegersAsDecimalAndHex) {
  const IntCase cases[] = {
      {0, "0"},
      {-1, "-1"},
      {2147483647, "2147483647"},
      {-2147483648LL, "-2147483648"},
      {4294967295LL, "4294967295"},
  };
  for (const IntCase& c : cases) {
    std::string text;
    host::append_decimal(text, c.value);
    EXPECT_EQ(text, c.decimal);
  }
  const std::pair<uint32_t, const char*> hex[] = {
      {0, "0x0"}, {0x20, "0x20"}, {0xdeadbeef, "0xdeadbeef"}, {0xffffffff, "0xffffffff"}};
  for (const auto& [value, text] : hex) {
    EXPECT_EQ(host::format_hex(value), text);
    std::string appended = "f ";
    host::append_hex(appended, value);
    EXPECT_EQ(appended, std::string("f ") + text);
  }
}

struct SwitchCase {
  const char* what;
  bool capture;
  bool subscriber;
  bool active;
};

struct Counter : host::EventSubscriber {
  void on_event(const host::Event&) override { ++seen; }
  int seen = 0;
};

TEST(EventStreamSwitch, PublishesWhenCapturedOrSubscribed) {
  const SwitchCase cases[] = {
      {"captured and subscribed", true, true, true},
      {"captured only", true, false, true},
      {"subscribed only", false, true, true},
      {"neither", false, false, false},
  };
  for (const SwitchCase& c : cases) {
    host::EventStream stream;
    Counter counter;
    stream.set_capture(c.capture);
    if (c.subscriber) stream.subscribe(&counter);
    EXPECT_EQ(stream.active(), c.active) << c.what;
    stream.set_frame(3);
    stream.publish(key_event(0));
    stream.publish(key_event(0));
    EXPECT_EQ(stream.events().size(), c.capture ? 2u : 0u) << c.what;
    if (c.capture) {
      EXPECT_EQ(stream.events()[1].frame, 3u) << "stamped with the stream's frame";
    }
    EXPECT_EQ(counter.seen, c.subscriber ? 2 : 0) << c.what;
  }
}

struct HookCase {
  const char* what;
  std::vector<int> steps;         // +1 capture on, -1 capture off, +2 subscribe, -2 unsubscribe
  std::vector<bool> transitions;  // what the hook heard: false stopped, true resumed
};

TEST(EventStreamSwitch, HookHearsOnlyWhenReadingStopsOrStarts) {
  const HookCase cases[] = {
      {"already read", {+1, +2, -2}, {}},
      {"off then on", {-1, +1}, {false, true}},
      {"off, subscribed, captured", {-1, +2, +1}, {false, true}},
      {"off and on twice", {-1, +1, -1, +1}, {false, true, false, true}},
      {"off, off again", {-1, -1}, {false}},
      {"a subscriber keeps it read", {+2, -1, +1}, {}},
  };
  for (const HookCase& c : cases) {
    host::EventStream stream;
    Counter counter;
    std::vector<bool> heard;
    stream.set_active_hook(
        [](void* out, bool on) { static_cast<std::vector<bool>*>(out)->push_back(on); }, &heard);
    for (int step : c.steps) {
      if (step == +1 || step == -1) stream.set_capture(step > 0);
      if (step == +2) stream.subscribe(&counter);
      if (step == -2) stream.unsubscribe(&counter);
    }
    EXPECT_EQ(heard, c.transitions) << c.what;
  }
}

TEST(EventStreamSwitch, EventsCapturedBeforeStayAfterSwitchingOff) {
  host::EventStream stream;
  stream.publish(key_event(0));
  stream.set_capture(false);
  stream.publish(key_event(0));
  stream.set_capture(true);
  stream.publish(key_event(0));
  EXPECT_EQ(stream.events().size(), 2u);
}

TEST(EventStreamTexts, InternedTextsOutliveTheirSource) {
  host::EventStream stream;
  const char* kept = nullptr;
  {
    std::string source = "Sound\\pullup.wav";
    kept = stream.intern(source);
    EXPECT_EQ(stream.intern(source), kept) << "one copy per text";
  }
  EXPECT_STREQ(kept, "Sound\\pullup.wav");
}

}  // namespace
