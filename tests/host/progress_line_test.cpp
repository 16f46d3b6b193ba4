// The progress line of long work, on a clock the test moves: quiet for the
// first two seconds, then a few times a second with an estimate of the time
// left, wiped at the end; nothing at all when the output is not a terminal.
#include "host/progress_line.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

namespace {

using std::chrono::milliseconds;
using Time = std::chrono::steady_clock::time_point;

std::string describe(double done, double total) {
  return "swept " + std::to_string(static_cast<int>(done)) + " of " +
         std::to_string(static_cast<int>(total)) + " cells";
}

TEST(ProgressLine, ShowsLongWorkOnlyOnATerminal) {
  struct Step {
    int at_ms;
    double done;
  };
  const std::vector<Step> steps = {{0, 0},      {1000, 100}, {1999, 190}, {2000, 200},
                                   {2100, 210}, {2300, 230}, {4000, 400}};
  struct Case {
    const char* name;
    bool terminal;
    std::string shown;
  };
  const std::string wipe = "\r\033[K";
  const Case cases[] = {
      {"a terminal", true,
       "\rgaugehost: swept 200 of 1000 cells, about 8 s left\033[K"
       "\rgaugehost: swept 230 of 1000 cells, about 8 s left\033[K"
       "\rgaugehost: swept 400 of 1000 cells, about 6 s left\033[K" +
           wipe},
      {"a pipe or a file", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Time now{};
    std::ostringstream out;
    {
      host::ProgressLine line(out, c.terminal, describe, [&now] { return now; });
      for (const Step& s : steps) {
        now = Time{} + milliseconds(s.at_ms);
        line.update(s.done, 1000);
      }
      line.finish();
      line.finish();  // once wiped, wiped
    }
    EXPECT_EQ(out.str(), c.shown);
  }
}

TEST(ProgressLine, QuickWorkShowsNothing) {
  Time now{};
  std::ostringstream out;
  {
    host::ProgressLine line(out, true, describe, [&now] { return now; });
    now += milliseconds(1500);
    line.update(1000, 1000);
  }
  EXPECT_EQ(out.str(), "");
}

TEST(ProgressLine, DurationsReadAsPeopleSayThem) {
  struct Case {
    double seconds;
    const char* text;
  };
  const Case cases[] = {
      {0, "0 s"},          {0.2, "1 s"},         {59, "59 s"},         {60, "1 min 00 s"},
      {200, "3 min 20 s"}, {3600, "1 h 00 min"}, {3900, "1 h 05 min"}, {700000, "194 h 26 min"},
      {-5, "0 s"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_EQ(host::duration_text(c.seconds), c.text);
  }
}

}  // namespace
