// The GPWS self-test from the test switch, through the panel host.
#include <gtest/gtest.h>

#include "fssound/fssound_host.h"
#include "gpws_fixture.h"

namespace {

using namespace gpws_test;

class SelfTest : public Gpws {
 protected:
  // Clicks the test switch and returns the voices the click played.
  Lines click_test() {
    size_t from = testing_host::mark(panel);
    panel.click("test", 23, 23);
    return testing_host::voices(panel, from);
  }
  bool all_test_lamps_lit() {
    return lamp("below") && lamp("inop") && !panel.element_hidden("test", 2);
  }
  bool all_test_lamps_dark() {
    return !lamp("below") && !lamp("inop") && panel.element_hidden("test", 2);
  }
};

TEST_F(SelfTest, OnTheGroundRuns54TicksThenTheGroundResetResumes) {
  set(kOnGround, 1.0);
  at_metres(0);
  frames();
  EXPECT_EQ(click_test(), (Lines{"360tinytog", "glideslope"}));
  EXPECT_EQ(timeline(56), (Lines{
                              "0 test#2 shown",
                              "0 below#1 shown",
                              "0 inop#1 shown",
                              "26 pullup",
                              "53 360tinytog",
                              "53 test#2 hidden",
                              "53 below#1 hidden",
                              "53 inop#1 hidden",
                          }));
  EXPECT_EQ(frames().size(), 9u) << "the all-off reset's nine stops, again on the ground";
}

struct SwitchCase {
  const char* name;
  double power;
  double on_ground;
  double metres;
  bool accepted;
};

constexpr SwitchCase kSwitchCases[] = {
    {"power off", 0.0, 1.0, 0, false},
    {"power not exactly 1", 0.99, 1.0, 0, false},
    {"airborne at 1000 ft", 1.0, 0.0, 305, false},
    {"airborne at 1003 ft", 1.0, 0.0, 306, true},
    {"on_ground 0.5 counts as airborne", 1.0, 0.5, 200, false},
    {"on the ground at any height", 1.0, 1.0, 200, true},
};

TEST_F(SelfTest, TheSwitchAlwaysClicksButStartsOnlyWithPowerAndOnTheGroundOrHigh) {
  for (const SwitchCase& c : kSwitchCases) {
    SCOPED_TRACE(c.name);
    set(kPower, c.power);
    set(kOnGround, c.on_ground);
    at_metres(c.metres);
    const Lines expected = c.accepted ? Lines{"360tinytog", "glideslope"} : Lines{"360tinytog"};
    EXPECT_EQ(click_test(), expected);
    frames();
    EXPECT_EQ(all_test_lamps_lit(), c.accepted);
    // Let any test run out, then back to a quiet start.
    set(kPower, 1.0);
    frames(60);
    power_cycle();
  }
}

TEST_F(SelfTest, AClickInTheFirstHalfRestartsIt) {
  at_metres(1000);
  click_test();
  frames(10);
  EXPECT_EQ(click_test(), (Lines{"360tinytog", "glideslope"}));
  Lines got = timeline(56);
  EXPECT_EQ(got, (Lines{"26 pullup", "53 360tinytog", "53 test#2 hidden", "53 below#1 hidden",
                        "53 inop#1 hidden"}));
}

TEST_F(SelfTest, AClickInTheSecondHalfOnlyMovesTheEnd) {
  at_metres(1000);
  click_test();
  EXPECT_EQ(voices(27), Lines{"pullup"});
  frames(5);
  EXPECT_EQ(click_test(), (Lines{"360tinytog", "glideslope"}));
  EXPECT_EQ(voices(26), Lines{}) << "no second pull-up voice";
  EXPECT_TRUE(all_test_lamps_lit());
  EXPECT_EQ(voices(), Lines{"360tinytog"});
  EXPECT_TRUE(all_test_lamps_dark());
}

TEST_F(SelfTest, ATestWhoseDeadlinePassedWithoutPowerFinishesWhenPowerReturns) {
  at_metres(1000);
  click_test();
  frames();
  set(kPower, 0.0);
  frames(100);
  set(kPower, 1.0);
  EXPECT_EQ(voices(), Lines{"pullup"}) << "the first half's deadline is long past";
  EXPECT_EQ(voices(26), Lines{});
  EXPECT_EQ(voices(), Lines{"360tinytog"});
  EXPECT_TRUE(all_test_lamps_dark());
}

TEST_F(SelfTest, NoAlertIsEvaluatedButASinkRateLoopGoesOn) {
  at_metres(458);  // 1502 ft
  set(kVerticalSpeed, -3400);
  EXPECT_EQ(voices(), Lines{"sinkrate"});
  bool warning_lamp = lamp("test");
  click_test();
  set(kGlideslope, -100);
  set(kVerticalSpeed, 5000);  // a climb would reset the warnings, but nothing is evaluated
  Lines got = frames(50);
  for (const std::string& line : got) EXPECT_EQ(line.find("stop"), std::string::npos) << line;
  EXPECT_EQ(FSSound_HostIsLooping(7), 1u);
  EXPECT_EQ(lamp("test"), warning_lamp);
}

}  // namespace
