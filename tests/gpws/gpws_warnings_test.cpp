// Sink rate, pull-up and the warning cycle, through the panel host.
#include <gtest/gtest.h>

#include "fssound/fssound_host.h"
#include "gpws_fixture.h"

namespace {

using namespace gpws_test;

struct BandCase {
  const char* name;
  double metres;
  double vertical_speed;
  bool sink_rate;
  bool pull_up;
};

const BandCase kBandCases[] = {
    {"400 ft, -1001: both", 122, -1001, true, true},
    {"400 ft, -1000: neither", 122, -1000, false, false},
    {"600 ft, -1600: sink rate only", 183, -1600, true, false},
    {"600 ft, -2201: both", 183, -2201, true, true},
    {"600 ft, -1500: neither", 183, -1500, false, false},
    {"13 ft is in the lowest band", 4, -1001, true, true},
    {"9 ft: no band", 3, -9999, false, false},
    {"498 ft: lowest band", 152, -1001, true, true},
    {"501 ft: -1001 is no sink rate there", 153, -1001, false, false},
    {"501 ft: -1501", 153, -1501, true, false},
    {"1000 ft: -2201", 305, -2201, true, false},
    {"1003 ft: -2201 is not enough", 306, -2201, false, false},
    {"1003 ft: -3401", 306, -3401, true, true},
    {"2499 ft: -5001", 762, -5001, true, false},
    {"2499 ft: -7001", 762, -7001, true, true},
    {"2503 ft: no band", 763, -99999, false, false},
};

TEST_F(Gpws, SinkRateAndPullUpBands) {
  for (const BandCase& c : kBandCases) {
    SCOPED_TRACE(c.name);
    power_cycle();
    at_metres(c.metres);
    set(kVerticalSpeed, c.vertical_speed);
    Lines got = frames();
    bool looped = false;
    for (const std::string& line : got) {
      looped |= line == "sound play h=7 \"Sound\\sinkrate.wav\" loop=1 -> 1";
    }
    EXPECT_EQ(looped, c.sink_rate);
    EXPECT_EQ(lamp("test"), c.pull_up) << "the PULL UP lamp lights at once";
  }
}

TEST_F(Gpws, TheWarningCycleLightsFor18ThenAlternates9And9) {
  at_metres(122);
  set(kVerticalSpeed, -1001);
  EXPECT_EQ(timeline(64), (Lines{
                              "0 sinkrate",
                              "0 test#1 shown",
                              "18 pullup",
                              "18 test#1 hidden",
                              "27 test#1 shown",
                              "36 pullup",
                              "36 test#1 hidden",
                              "45 test#1 shown",
                              "54 pullup",
                              "54 test#1 hidden",
                              "63 test#1 shown",
                          }));
}

TEST_F(Gpws, OnlyAClimbOfMoreThan1FtPerMinuteEndsTheWarnings) {
  at_metres(183);
  set(kVerticalSpeed, -2201);
  frames();
  set(kVerticalSpeed, -500);  // recovering, still sinking: the loop goes on
  EXPECT_EQ(voices(17), Lines{});
  EXPECT_EQ(FSSound_HostIsLooping(7), 1u);
  set(kVerticalSpeed, 1);
  EXPECT_EQ(voices(), Lines{"pullup"}) << "1 ft/min is no climb";
  set(kVerticalSpeed, 2);
  EXPECT_EQ(frames(), (Lines{"sound stop h=8 \"Sound\\pullup.wav\"",
                             "sound stop h=7 \"Sound\\sinkrate.wav\""}));
  EXPECT_EQ(FSSound_HostIsLooping(7), 0u);
  EXPECT_FALSE(lamp("test"));
  set(kVerticalSpeed, -2201);
  EXPECT_EQ(voices(), Lines{"sinkrate"}) << "the bands are evaluated again";
}

TEST_F(Gpws, OnceTriggeredTheBandsAreNotEvaluatedAgain) {
  at_metres(122);
  set(kVerticalSpeed, -1001);
  frames();
  at_metres(600);  // 1968 ft, where -1001 is nothing
  EXPECT_EQ(timeline(20), (Lines{"17 pullup", "17 test#1 hidden"}));
}

}  // namespace
