// The GPWS callouts: too low flaps, too low gear, don't sink, minimums and
// glideslope, with their latches, through the panel host.
#include <gtest/gtest.h>

#include "gpws_fixture.h"

namespace {

using namespace gpws_test;

struct ChainCase {
  const char* name;
  double metres;  // height above the ground
  double flaps;
  double gear;
  double vertical_speed;
  double phase;
  Lines voices;
};

const ChainCase kChainCases[] = {
    {"flaps up at 150 ft", 46, 16379, kGearDown, -100, 1, {"toolowflaps"}},
    {"flaps up at 154 ft: too high", 47, 16379, kGearDown, -100, 1, {}},
    {"landing flaps never", 46, kLandingFlaps, kGearDown, -100, 1, {}},
    {"gear not down at 498 ft", 152, kLandingFlaps, 16382.9, -100, 1, {"toolowgear"}},
    {"gear not down at 501 ft: too high", 153, kLandingFlaps, 16382.9, -100, 1, {}},
    {"gear down never", 152, kLandingFlaps, kGearDown, -100, 1, {}},
    {"flaps and gear both due: flaps first", 46, 0, 0, -100, 1, {"toolowflaps"}},
    {"level flight: no approach callout", 46, 0, 0, 0, 1, {}},
    {"phase 0: no approach callout", 46, 0, 0, -100, 0, {}},
    {"negative phase: don't sink instead", 46, 0, 0, -100, -1, {"dontsink"}},
};

TEST_F(Gpws, TheFirstCalloutWhoseConditionsHoldActsAlone) {
  for (const ChainCase& c : kChainCases) {
    SCOPED_TRACE(c.name);
    power_cycle();
    at_metres(c.metres);
    set(kFlaps, c.flaps);
    set(kGear, c.gear);
    set(kVerticalSpeed, c.vertical_speed);
    set(kPhase, c.phase);
    EXPECT_EQ(voices(), c.voices);
  }
}

TEST_F(Gpws, AWaitingCalloutFollowsOnTheNextUpdateAndLatchesHold) {
  at_metres(46);
  set(kVerticalSpeed, -100);
  set(kPhase, 1);
  EXPECT_EQ(voices(), Lines{"toolowflaps"});
  EXPECT_EQ(voices(), Lines{"toolowgear"});
  EXPECT_EQ(voices(5), Lines{}) << "both latched";
  at_metres(47);  // 154 ft releases the flaps latch only
  EXPECT_EQ(voices(), Lines{});
  at_metres(46);
  EXPECT_EQ(voices(), Lines{"toolowflaps"});
  at_metres(153);  // 501 ft releases both
  EXPECT_EQ(voices(), Lines{});
  at_metres(152);
  EXPECT_EQ(voices(), Lines{"toolowgear"});
}

struct BandCase {
  double metres;
  double threshold_fpm;  // 0: no voice at any sink rate
};

// One height in each don't-sink band, and one above them.
constexpr BandCase kBands[] = {
    {30, -10},  {31, -20},  {60, -20},  {61, -30},  {91, -30},  {92, -40},
    {122, -45}, {152, -45}, {153, -50}, {183, -55}, {213, -55}, {214, 0},
};

TEST_F(Gpws, DontSinkSpeaksOnlyBelowTheThresholdOfItsBand) {
  set(kPhase, -1);
  for (const BandCase& band : kBands) {
    SCOPED_TRACE("at " + std::to_string(band.metres) + " m");
    for (double vs : {band.threshold_fpm - 0.5, band.threshold_fpm, -900.0}) {
      SCOPED_TRACE("vertical speed " + std::to_string(vs));
      power_cycle();
      at_metres(band.metres);
      set(kVerticalSpeed, vs);
      bool speaks = band.threshold_fpm != 0 && vs < band.threshold_fpm && vs < 0;
      EXPECT_EQ(voices(), speaks ? Lines{"dontsink"} : Lines{});
    }
  }
}

TEST_F(Gpws, ASilentDontSinkEvaluationStillLatches) {
  set(kPhase, -1);
  at_metres(46);  // 150 ft: threshold -20
  set(kVerticalSpeed, -12);
  EXPECT_EQ(voices(), Lines{});
  set(kVerticalSpeed, -30);
  EXPECT_EQ(voices(3), Lines{}) << "-12 is not above -10: the latch holds";
  set(kVerticalSpeed, -5);
  EXPECT_EQ(voices(), Lines{}) << "-5 releases the latch and, still sinking, sets it again";
  set(kVerticalSpeed, -30);
  EXPECT_EQ(voices(), Lines{});
  set(kVerticalSpeed, 0);
  EXPECT_EQ(voices(), Lines{}) << "level: released and not evaluated";
  set(kVerticalSpeed, -30);
  EXPECT_EQ(voices(), Lines{"dontsink"});
}

struct MinimumsCase {
  const char* name;
  const char* variable;
  int32_t value;
  double phase;
  Lines voices;
};

const MinimumsCase kMinimumsCases[] = {
    {"radar altimeter at the DH", "radalt_gpws", 1, 1, {"minimums"}},
    {"another instrument at the DH", "dh_gpws", 1, 1, {"minimums"}},
    {"only exactly 1 counts", "radalt_gpws", 2, 1, {}},
    {"not on approach", "radalt_gpws", 1, 0, {}},
    {"departing", "dh_gpws", 1, -1, {}},
};

TEST_F(Gpws, MinimumsFromEitherNamedVariable) {
  for (const MinimumsCase& c : kMinimumsCases) {
    SCOPED_TRACE(c.name);
    power_cycle();
    panel.named().write("radalt_gpws", 0);
    panel.named().write("dh_gpws", 0);
    at_metres(61);
    set(kGear, kGearDown);
    set(kFlaps, kLandingFlaps);
    set(kPhase, c.phase);
    panel.named().write(c.variable, c.value);
    EXPECT_EQ(voices(3), c.voices);
  }
}

TEST_F(Gpws, MinimumsRearmAfterAGoAroundWithTheGearRaisedAboveTheRearmHeight) {
  set(kGear, kGearDown);
  set(kFlaps, kLandingFlaps);
  set(kPhase, 1);
  at_metres(61);  // 200 ft: re-arm height 1200 ft
  panel.named().write("radalt_gpws", 1);
  EXPECT_EQ(voices(), Lines{"minimums"});
  set(kVerticalSpeed, 1500);
  at_metres(335);  // 1099 ft
  set(kGear, 0);
  EXPECT_EQ(voices(3), Lines{}) << "gear raised below the re-arm height";
  set(kGear, kGearDown);
  at_metres(400);  // 1312 ft with the gear down
  EXPECT_EQ(voices(), Lines{});
  set(kGear, 0);  // then fully up, still above: re-armed
  EXPECT_EQ(voices(), Lines{"minimums"});
}

struct RepeatCase {
  double metres;
  uint32_t repeat_ticks;
};

constexpr RepeatCase kRepeats[] = {
    {275, 54}, {245, 54}, {244, 47}, {184, 47}, {183, 36},
    {123, 36}, {122, 27}, {62, 27},  {61, 18},  {46, 18},
};

TEST_F(Gpws, TheGlideslopeCalloutRepeatsByHeight) {
  set(kGlideslope, -60);
  for (const RepeatCase& c : kRepeats) {
    SCOPED_TRACE("at " + std::to_string(c.metres) + " m");
    power_cycle();
    at_metres(c.metres);
    EXPECT_EQ(voices(), Lines{"glideslope"});
    EXPECT_EQ(voices(c.repeat_ticks - 1), Lines{});
    EXPECT_EQ(voices(), Lines{"glideslope"});
  }
}

TEST_F(Gpws, TheBelowGlideslopeLampHasHysteresis) {
  const struct {
    double deviation;
    bool lit;
  } steps[] = {{-59, false}, {-60, true},    {-58.5, true}, {-58, true},
               {-57, false}, {-58.5, false}, {-60, false}};  // latched: no second callout yet
  at_metres(275);
  for (const auto& step : steps) {
    SCOPED_TRACE(step.deviation);
    set(kGlideslope, step.deviation);
    frames();
    EXPECT_EQ(lamp("below"), step.lit);
  }
}

TEST_F(Gpws, NoGlideslopeCalloutAt1000FtOrAbove) {
  set(kGlideslope, -100);
  at_metres(305);  // 1000.6 ft
  EXPECT_EQ(voices(60), Lines{});
  EXPECT_FALSE(lamp("below"));
}

TEST_F(Gpws, FlapInhibitSuppressesTooLowFlapsFromTheNextFiUpdate) {
  panel.click("fi", 20, 20);
  panel.click("fi", 20, 20);
  frames();
  EXPECT_FALSE(lamp("fi")) << "two clicks before an update change nothing";
  size_t from = testing_host::mark(panel);
  panel.click("fi", 20, 20);
  EXPECT_EQ(
      testing_host::events(panel, from),
      (Lines{"click fi 20,20 -> area 1", "sound play h=1 \"Sound\\360tinytog.wav\" loop=0 -> 1"}));
  frames();
  EXPECT_TRUE(lamp("fi"));
  at_metres(46);
  set(kGear, kGearDown);
  set(kVerticalSpeed, -100);
  set(kPhase, 1);
  EXPECT_EQ(voices(), Lines{});
  panel.click("fi", 20, 20);
  EXPECT_EQ(voices(), Lines{}) << "the test gauge runs before fi sees the click";
  EXPECT_EQ(voices(), Lines{"toolowflaps"});
}

TEST_F(Gpws, TheAllOffResetClearsTheFlapInhibitSelection) {
  for (double on_ground : {1.0, 0.0}) {
    SCOPED_TRACE(on_ground == 1.0 ? "touchdown" : "power loss");
    panel.click("fi", 1, 1);
    frames();
    ASSERT_TRUE(lamp("fi"));
    set(kOnGround, on_ground);
    if (on_ground == 0.0) set(kPower, 0.0);
    frames();
    EXPECT_FALSE(lamp("fi")) << "fi runs after test in the same frame";
    set(kOnGround, 0.0);
    set(kPower, 1.0);
  }
}

TEST_F(Gpws, TheLampGaugesActOnlyOnUpdates) {
  set(kGlideslope, -60);
  at_metres(275);
  frames();
  panel.click("fi", 1, 1);
  for (const char* gauge : {"below", "inop", "fi"}) {
    for (uint32_t code : {0u, 2u, 4u, 7u, 12u}) {
      SCOPED_TRACE(std::string(gauge) + " code " + std::to_string(code));
      size_t from = testing_host::mark(panel);
      panel.send(gauge, code);
      EXPECT_EQ(testing_host::events(panel, from, true).size(), 1u) << "only the host's own line";
    }
  }
  EXPECT_TRUE(lamp("below"));
  EXPECT_FALSE(lamp("fi")) << "the click waits for an update";
}

}  // namespace
