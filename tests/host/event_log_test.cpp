// The event log's text and its switch: lines as every platform writes them,
// and a log that neither keeps nor echoes lines records nothing.
#include "host/event_log.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct StampCase {
  uint32_t frame;
  const char* line;
};

TEST(EventLogText, FrameStampIsSixDigitsAtLeast) {
  const StampCase cases[] = {
      {0, "000000 x"},
      {7, "000007 x"},
      {123456, "123456 x"},
      {1234567, "1234567 x"},
      {4294967295u, "4294967295 x"},
  };
  for (const StampCase& c : cases) {
    host::EventLog log;
    log.set_frame(c.frame);
    log.add("x");
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], c.line) << "frame " << c.frame;
  }
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
  bool keep;
  bool echo;
  bool recording;
};

TEST(EventLogSwitch, RecordsWhenKeptOrEchoed) {
  const SwitchCase cases[] = {
      {"kept and echoed", true, true, true},
      {"kept only", true, false, true},
      {"echoed only", false, true, true},
      {"neither", false, false, false},
  };
  for (const SwitchCase& c : cases) {
    host::EventLog log;
    std::ostringstream echo;
    log.set_keep(c.keep);
    log.set_echo(c.echo ? &echo : nullptr);
    EXPECT_EQ(log.recording(), c.recording) << c.what;
    EXPECT_EQ(log.keeps(), c.keep) << c.what;
    log.set_frame(3);
    log.add("one");
    log.add("two");
    const std::vector<std::string> kept = {"000003 one", "000003 two"};
    EXPECT_EQ(log.lines(), c.keep ? kept : std::vector<std::string>()) << c.what;
    EXPECT_EQ(echo.str(), c.echo ? "000003 one\n000003 two\n" : "") << c.what;
  }
}

struct HookCase {
  const char* what;
  std::vector<int> steps;         // +1 keep on, -1 keep off, +2 echo on, -2 echo off
  std::vector<bool> transitions;  // what the hook heard: false stopped, true resumed
};

TEST(EventLogSwitch, HookHearsOnlyWhenRecordingStopsOrStarts) {
  const HookCase cases[] = {
      {"already recording", {+1, +2, -2}, {}},
      {"off then on", {-1, +1}, {false, true}},
      {"off, echo on, keep on", {-1, +2, +1}, {false, true}},
      {"off and on twice", {-1, +1, -1, +1}, {false, true, false, true}},
      {"off, off again", {-1, -1}, {false}},
      {"echo keeps it recording", {+2, -1, +1}, {}},
  };
  for (const HookCase& c : cases) {
    host::EventLog log;
    std::ostringstream echo;
    std::vector<bool> heard;
    log.set_recording_hook(
        [](void* out, bool on) { static_cast<std::vector<bool>*>(out)->push_back(on); }, &heard);
    for (int step : c.steps) {
      if (step == +1 || step == -1) log.set_keep(step > 0);
      if (step == +2 || step == -2) log.set_echo(step > 0 ? &echo : nullptr);
    }
    EXPECT_EQ(heard, c.transitions) << c.what;
  }
}

TEST(EventLogSwitch, LinesKeptBeforeStayAfterSwitchingOff) {
  host::EventLog log;
  log.add("before");
  log.set_keep(false);
  log.add("unseen");
  log.set_keep(true);
  log.add("after");
  EXPECT_EQ(log.lines(), (std::vector<std::string>{"000000 before", "000000 after"}));
}

}  // namespace
