// The radar altimeter through the panel host: DH knob, indicated height,
// the one-shot DH alert, what it writes and sends, and what it shows.
#include <gtest/gtest.h>

#include "radalt_fixture.h"

namespace {

using namespace radalt_test;

std::vector<int32_t> dh_settings() {
  std::vector<int32_t> v;
  for (int32_t ft = 50; ft <= 100; ft += 10) v.push_back(ft);
  for (int32_t ft = 120; ft <= 500; ft += 20) v.push_back(ft);
  for (int32_t ft = 600; ft <= 1000; ft += 100) v.push_back(ft);
  return v;
}

TEST_F(Radalt, TheKnobVisitsTheSameSettingsBothWaysAndClamps) {
  settle();
  EXPECT_EQ(dh_ft(), 50) << "at start";
  std::vector<int32_t> up{dh_ft()}, down;
  for (size_t i = 0; i < dh_settings().size(); ++i) {
    click(kRaise);
    settle();
    up.push_back(dh_ft());
  }
  std::vector<int32_t> expected_up = dh_settings();
  expected_up.push_back(1000);  // raising at 1000 stays
  EXPECT_EQ(up, expected_up);
  down.push_back(dh_ft());
  for (size_t i = 0; i < dh_settings().size(); ++i) {
    click(kLower);
    settle();
    down.push_back(dh_ft());
  }
  const std::vector<int32_t> settings = dh_settings();
  std::vector<int32_t> expected_down(settings.rbegin(), settings.rend());
  expected_down.push_back(50);  // lowering at 50 stays
  EXPECT_EQ(down, expected_down);
  EXPECT_EQ(needle(kDhMarkerB), needle(kDhMarkerA));
}

TEST_F(Radalt, TheAdiReceivesTheDhInFeetOnEveryUpdate) {
  click(kRaise);
  click(kRaise);
  settle();
  EXPECT_EQ(panel.named().read("radalt_adi"), 70);
}

struct MetricCase {
  int raises;  // from 50 ft
  int32_t dh_ft;
  int32_t dh_m;
};

// 50 ft: 15 m, 100 ft: 30 m, 200 ft: 60 m, 220 ft: 67 m, 500 ft: 152 m, 1000 ft: 304 m.
constexpr MetricCase kMetric[] = {{0, 50, 15},   {5, 100, 30},   {10, 200, 60},
                                  {11, 220, 67}, {25, 500, 152}, {30, 1000, 304}};

TEST_F(Radalt, TheAlertLatchesAtTheMetricDhAndNotAMetreAbove) {
  for (const MetricCase& c : kMetric) {
    SCOPED_TRACE(std::to_string(c.dh_ft) + " ft");
    for (int i = 0; i < 40; ++i) click(kLower);
    for (int i = 0; i < c.raises; ++i) click(kRaise);
    height(c.dh_m + 1);
    settle();
    click(kSet);
    settle();
    ASSERT_EQ(dh_ft(), c.dh_ft);
    EXPECT_FALSE(shown(kDhLamp));
    height(c.dh_m);
    Lines got = settle();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got[0], "key_event 65814 0");
    EXPECT_TRUE(shown(kDhLamp));
    height(c.dh_m + 11);
    settle();
    EXPECT_FALSE(shown(kDhLamp));
  }
}

TEST_F(Radalt, IndicatedHeight) {
  const struct {
    const char* name;
    double metres, ground_m;
    double power;
    double shown;
  } cases[] = {
      {"ordinary", 500, 0, 1, 500},
      {"800 m up is capped", 800, 0, 1, 770},
      {"770 stays", 770, 0, 1, 770},
      {"above raised ground", 120, 300, 1, 120},
      {"below the ground elevation stays negative", -10, 20, 1, -10},
      {"no power shows 0", 500, 0, 0, 0},
      {"power at any other value is on", 500, 0, 0.5, 500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    set(kPower, c.power);
    height(c.metres, c.ground_m);
    settle();
    EXPECT_EQ(needle(kHeightPointerA), c.shown);
    EXPECT_EQ(needle(kHeightPointerB), c.shown);
    EXPECT_EQ(needle(kGroundCarrier), c.ground_m);
  }
}

TEST_F(Radalt, TheAlertIsOneShotAndResetsMoreThan10MAboveTheDh) {
  click(kSet);
  height(16);
  EXPECT_EQ(settle(), (Lines{"element radalt#4 shown", "element radalt#5 hidden"}));
  height(15);  // 50 ft is 15 m
  EXPECT_EQ(settle(),
            (Lines{"key_event 65814 0", "element radalt#4 hidden", "element radalt#5 shown",
                   "element radalt#6 shown", "var \"radalt_gpws\" = 1"}));
  height(14);
  EXPECT_EQ(settle(), Lines{}) << "not armed any more";
  height(25);
  EXPECT_EQ(settle(), Lines{}) << "DH + 10 m: still latched";
  height(26);
  EXPECT_EQ(settle(), (Lines{"element radalt#6 hidden", "var \"radalt_gpws\" = 0"}));
}

TEST_F(Radalt, ArmingWhileLatchedFiresAgainAndSurvivesTheReset) {
  click(kSet);
  height(10);
  settle();
  ASSERT_TRUE(shown(kDhLamp));
  click(kSet);  // armed and alerting, still at the DH: reached again at once
  EXPECT_EQ(settle().front(), "key_event 65814 0");
  height(20);  // latched, above the DH
  settle();
  click(kSet);
  EXPECT_EQ(settle(), (Lines{"element radalt#4 shown", "element radalt#5 hidden"}));
  height(26);  // the reset leaves it armed
  EXPECT_EQ(settle(), (Lines{"element radalt#6 hidden", "var \"radalt_gpws\" = 0"}));
  EXPECT_TRUE(shown(kSelectorSet));
  height(15);
  EXPECT_EQ(settle().front(), "key_event 65814 0");
}

TEST_F(Radalt, PowerLossWhileArmedLatchesTheAlertAndShowsTheOffFlag) {
  click(kSet);
  settle();
  set(kPower, 0.0);
  Lines got = settle();
  EXPECT_TRUE(has(got, "key_event 65814 0"));
  EXPECT_TRUE(shown(kDhLamp));
  EXPECT_TRUE(shown(kOffFlagB));
  EXPECT_FALSE(shown(kOffFlagA));
}

TEST_F(Radalt, OnTheGroundTheGpwsHearsNothingAndToken103SendsTheGroundEvent) {
  const struct {
    double on_ground, ground_test;
    int events;
  } cases[] = {{1.0, 1.0, 2}, {1.0, 0.0, 0}, {1.0, 2.0, 0}, {0.0, 1.0, 0}, {0.5, 1.0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.on_ground) + " / " + std::to_string(c.ground_test));
    set(kOnGround, c.on_ground);
    set(kGroundTest, c.ground_test);
    int sent = 0;
    for (const std::string& line : settle()) sent += line == "key_event 65580 0";
    EXPECT_EQ(sent, c.events) << "one per update";
  }
  set(kOnGround, 1.0);
  set(kGroundTest, 0.0);
  click(kSet);
  height(10);
  Lines got = settle();
  EXPECT_TRUE(has(got, "key_event 65814 0"));
  EXPECT_TRUE(shown(kDhLamp));
  EXPECT_EQ(panel.named().read("radalt_gpws"), 0) << "held at 0 on the ground";
}

TEST_F(Radalt, TheVariantSetsAndTheOffFlag) {
  const struct {
    const char* name;
    double variant;
    int32_t off_token;
    double power;
    bool a, off;
  } cases[] = {
      {"set A", 1.0, 0, 1, true, false},
      {"set B", 0.0, 0, 1, false, false},
      {"1.5 is set B", 1.5, 0, 1, false, false},
      {"flag by token 279, A", 1.0, 3, 1, true, true},
      {"flag by token 279, B", 2.0, -1, 1, false, true},
      {"flag without power", 1.0, 0, 0, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    set(kVariant, c.variant);
    panel.sim().set_int(kOffFlag, c.off_token);
    set(kPower, c.power);
    settle();
    for (auto [a, b] :
         {std::pair{kFaceA, kFaceB}, {kDhMarkerA, kDhMarkerB}, {kHeightPointerA, kHeightPointerB}}) {
      EXPECT_EQ(shown(a), c.a) << a;
      EXPECT_EQ(shown(b), !c.a) << b;
    }
    EXPECT_EQ(shown(kOffFlagA), c.off && c.a);
    EXPECT_EQ(shown(kOffFlagB), c.off && !c.a);
    EXPECT_FALSE(shown(kGroundCarrier));
  }
}

class RadaltAlone : public Radalt {
 protected:
  RadaltAlone() : Radalt(false) {}
};

TEST_F(RadaltAlone, WithoutRegisteredVariablesNothingIsWrittenAndAllElseWorks) {
  Lines start = testing_host::events(panel);
  EXPECT_TRUE(has(start, "link \"radalt_gpws\" -> null"));
  EXPECT_TRUE(has(start, "link \"radalt_adi\" -> null"));
  click(kSet);
  height(10);
  Lines got = settle();
  EXPECT_TRUE(has(got, "key_event 65814 0"));
  for (const std::string& line : got) EXPECT_EQ(line.rfind("var ", 0), std::string::npos) << line;
  EXPECT_TRUE(shown(kDhLamp));
}

}  // namespace
