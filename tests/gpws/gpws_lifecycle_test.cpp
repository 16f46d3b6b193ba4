// The GPWS's install and kill, its all-off reset, its behaviour without its
// sound files, and its handling of a skipping clock and of broken inputs.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "gpws_fixture.h"

namespace {

using namespace gpws_test;

constexpr const char* kSlotFiles[] = {"360tinytog",  "dontsink",   "glideslope", "minimums",
                                      "toolowflaps", "toolowgear", "sinkrate",   "pullup",
                                      "terrain1",    "terrain2"};

TEST_F(Gpws, InstallRegistersAndLoadsInSlotOrderKillReleasesWithoutStopping) {
  Lines expected{"module vrn_gpws loaded", "gauge test install", "register \"dh_gpws\" type 19",
                 "register \"radalt_gpws\" type 19"};
  for (int i = 0; i < 10; ++i) {
    expected.push_back("sound load \"Sound\\" + std::string(kSlotFiles[i]) +
                       ".wav\" -> 1 h=" + std::to_string(i + 1));
  }
  for (const char* gauge : {"below", "inop", "fi"})
    expected.push_back(std::string("gauge ") + gauge + " install");
  for (const char* gauge : {"test", "below", "inop", "fi"}) {
    expected.push_back(std::string("gauge ") + gauge + " initialize");
  }
  EXPECT_EQ(testing_host::events(panel), expected);

  size_t from = testing_host::mark(panel);
  panel.stop();
  Lines kill{"gauge test kill", "unregister \"dh_gpws\"", "unregister \"radalt_gpws\""};
  for (int i = 0; i < 10; ++i) {
    kill.push_back("sound unload h=" + std::to_string(i + 1) + " \"Sound\\" + kSlotFiles[i] +
                   ".wav\"");
  }
  kill.insert(kill.end(),
              {"gauge below kill", "gauge inop kill", "gauge fi kill", "module vrn_gpws unloaded"});
  EXPECT_EQ(testing_host::events(panel, from), kill);
}

TEST_F(Gpws, TheFirstUpdateReadsTheFourteenInputsInOrder) {
  size_t from = testing_host::mark(panel);
  panel.run_frame();
  std::vector<uint32_t> tokens;
  const std::vector<host::Event>& all = panel.events().events();
  for (size_t i = from; i < all.size(); ++i) {
    if (all[i].kind == host::EventKind::kLookup) tokens.push_back(all[i].code);
  }
  EXPECT_EQ(tokens,
            (std::vector<uint32_t>{1, 73, 2, 332, 329, 77, 65, 41, 60, 773, 614, 604, 74, 335}));
}

Lines all_off_stops() {
  Lines stops;
  for (int slot : {7, 6, 1, 2, 3, 4, 5, 8, 9}) {
    stops.push_back("sound stop h=" + std::to_string(slot + 1) + " \"Sound\\" + kSlotFiles[slot] +
                    ".wav\"");
  }
  return stops;
}

TEST_F(Gpws, WithoutPowerOrOnTheGroundEveryUpdateResets) {
  const struct {
    const char* name;
    double power;
    double on_ground;
    bool resets;
  } cases[] = {
      {"power 0", 0.0, 0.0, true},
      {"power 0.5, even on the ground", 0.5, 1.0, true},
      {"on the ground", 1.0, 1.0, true},
      {"on_ground 0.5 only ends the update", 1.0, 0.5, false},
      {"on_ground -1 likewise", 1.0, -1.0, false},
      {"airborne", 1.0, 0.0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    power_cycle();
    at_metres(275);
    set(kGlideslope, -60);
    frames();
    ASSERT_TRUE(lamp("below"));
    set(kPower, c.power);
    set(kOnGround, c.on_ground);
    set(kGlideslope, -57);  // would put the lamp out if the callouts ran
    Lines got = frames();
    if (c.resets) {
      Lines expected = all_off_stops();
      expected.push_back("element below#1 hidden");
      EXPECT_EQ(got, expected);
      EXPECT_EQ(frames(), all_off_stops()) << "again on every update";
    } else {
      bool airborne = c.on_ground == 0.0;
      EXPECT_EQ(got, airborne ? Lines{"element below#1 hidden"} : Lines{});
    }
    set(kOnGround, 0.0);
    set(kPower, 1.0);
  }
}

class GpwsWithoutSounds : public Gpws {
 protected:
  GpwsWithoutSounds() : Gpws("/nonexistent-sim-root") {}
};

TEST_F(GpwsWithoutSounds, LatchesLampsAndDeadlinesRunSilently) {
  at_metres(46);
  set(kGlideslope, -60);
  set(kVerticalSpeed, -100);
  set(kPhase, 1);
  Lines got = frames();
  EXPECT_EQ(got, Lines{"element below#1 shown"}) << "no sound is played or reloaded";
  set(kGlideslope, -57);
  frames();
  EXPECT_FALSE(lamp("below"));
  set(kGlideslope, -60);
  frames(16);
  EXPECT_FALSE(lamp("below")) << "the silent callout's 18-tick repeat is still running";
  frames();
  EXPECT_TRUE(lamp("below"));
}

TEST_F(Gpws, DeadlinesFireWhenTheClockSkipsPastThem) {
  at_metres(46);  // glideslope repeat every 18 ticks
  set(kGlideslope, -60);
  panel.set_ticks_per_frame(5);
  EXPECT_EQ(voices(), Lines{"glideslope"});
  EXPECT_EQ(voices(3), Lines{}) << "15 ticks on";
  EXPECT_EQ(voices(), Lines{"glideslope"}) << "20 ticks on: past the deadline, not on it";
}

TEST_F(Gpws, AClockThatJumpsBackDoesNotHoldADeadline) {
  at_metres(46);
  set(kGlideslope, -60);
  panel.set_clock(100000);
  EXPECT_EQ(voices(), Lines{"glideslope"});
  panel.set_clock(5);  // back by hours
  EXPECT_EQ(voices(), Lines{"glideslope"});
}

TEST_F(Gpws, BelowSeaLevelHeightsAreMeasuredFromTheGround) {
  const struct {
    const char* name;
    double altitude_m;
    double ground_m;
    Lines voices;
  } cases[] = {
      {"150 ft above a field 30 m below sea level", 16, -30, {"toolowflaps"}},
      {"below the field's elevation counts as on it", -31, -30, {"toolowflaps"}},
      {"1000 m above a field below sea level", 970, -30, {}},
  };
  set(kVerticalSpeed, -100);
  set(kPhase, 1);
  set(kGear, kGearDown);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    power_cycle();
    at_metres(c.altitude_m, c.ground_m);
    EXPECT_EQ(voices(), c.voices);
  }
}

TEST_F(Gpws, ANaNInputGivesNoFalseAlert) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    double flaps, gear, vertical_speed, phase, glideslope;
    Lines voices;
  } cases[] = {
      {"all sane: the flaps callout", 0, kGearDown, -100, 1, 0, {"toolowflaps"}},
      {"vertical speed NaN", 0, kGearDown, kNaN, 1, 0, {}},
      {"phase NaN", 0, kGearDown, -100, kNaN, 0, {}},
      {"flaps NaN", kNaN, kGearDown, -100, 1, 0, {}},
      {"gear NaN with landing flaps", kLandingFlaps, kNaN, -100, 1, 0, {}},
      {"glideslope NaN", kLandingFlaps, kGearDown, 0, 0, kNaN, {}},
      {"don't sink with a NaN sink rate", 0, 0, kNaN, -1, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    power_cycle();
    at_metres(46);
    set(kFlaps, c.flaps);
    set(kGear, c.gear);
    set(kVerticalSpeed, c.vertical_speed);
    set(kPhase, c.phase);
    set(kGlideslope, c.glideslope);
    EXPECT_EQ(voices(3), c.voices);
  }
}

TEST_F(Gpws, OutOfRangeHeightsSaturateInsteadOfWrapping) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const struct {
    const char* name;
    double altitude_m, ground_256;
    Lines voices;
  } cases[] = {
      {"infinitely high", kInf, 0, {}},
      {"1e300 m up", 1e300, 0, {}},
      {"ground NaN is sea level", 46, std::nan(""), {"toolowflaps"}},
      {"ground infinitely deep", 46, -kInf, {}},
  };
  set(kVerticalSpeed, -100);
  set(kPhase, 1);
  set(kGear, kGearDown);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    power_cycle();
    set(kAltitude, c.altitude_m);
    set(kGround, c.ground_256);
    EXPECT_EQ(voices(), c.voices);
  }
}

}  // namespace
