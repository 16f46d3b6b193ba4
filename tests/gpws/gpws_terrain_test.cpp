// The terrain closure alert, flown through the panel host: the terrain comes
// up at a steady closure rate while the aircraft holds its altitude.
#include <gtest/gtest.h>

#include <vector>

#include "gpws_fixture.h"

namespace {

using namespace gpws_test;

constexpr double kFramesPerSecond = 18.0;
constexpr double kFeetPerMetre = facts::kFeetPerMetre;

class Terrain : public Gpws {
 protected:
  void SetUp() override {
    Gpws::SetUp();
    at_metres(3000);  // far above the descent bands
    set(kClimbAltitude, 5000);
  }

  // Flies `count` frames with the terrain closing at `closure_fpm`; returns
  // the voices and PULL UP lamp changes, each with its frame number.
  Lines close_in(uint32_t count, double closure_fpm) {
    Lines out;
    for (uint32_t i = 0; i < count; ++i, ++frame_) {
      time_s_ += 1.0 / kFramesPerSecond;
      terrain_m_ -= closure_fpm / 60.0 / kFramesPerSecond / kFeetPerMetre;
      set(kTimeSeconds, time_s_);
      set(kTerrainHeight, terrain_m_);
      const size_t from = testing_host::mark(panel);
      panel.run_frame();
      const std::vector<host::Event>& all = panel.events().events();
      for (size_t k = from; k < all.size(); ++k) {
        const host::Event& e = all[k];
        if (host::voice_heard(e)) {
          out.push_back(std::to_string(frame_) + " " + testing_host::voices(panel, k)[0]);
        } else if (host::visibility_changed(e) && e.label == std::string("test") &&
                   e.element == 1) {
          out.push_back(std::to_string(frame_) +
                        (host::element_now_shown(e) ? " shown" : " hidden"));
        }
      }
    }
    return out;
  }

  // Frames at which `voice` was played.
  static std::vector<int> frames_of(const Lines& lines, const std::string& what) {
    std::vector<int> out;
    for (const std::string& line : lines) {
      auto space = line.find(' ');
      if (line.substr(space + 1) == what) out.push_back(std::stoi(line.substr(0, space)));
    }
    return out;
  }

  double time_s_ = 0.0;
  double terrain_m_ = 305.0;  // 1000 ft, where the alert limit is about 3200 ft/min
  int frame_ = 0;
};

TEST_F(Terrain, ASlowClosureGivesNoAlert) {
  EXPECT_EQ(close_in(200, 2500), Lines{});
}

TEST_F(Terrain, AFastClosureLightsTheLampAndAnnouncesEvery9TicksInsideTheEnvelope) {
  Lines got = close_in(120, 6000);
  std::vector<int> lit = frames_of(got, "shown");
  std::vector<int> voices = frames_of(got, "terrain1");
  ASSERT_FALSE(lit.empty());
  ASSERT_GE(voices.size(), 4u);
  // The envelope is checked after the cycle: the lamp follows on the next
  // update, the first announcement 18 ticks after the envelope held.
  EXPECT_EQ(voices[0], lit[0] + 17);
  for (size_t i = 1; i < voices.size(); ++i) EXPECT_EQ(voices[i], voices[i - 1] + 9);
  EXPECT_EQ(frames_of(got, "hidden"), voices) << "dark only on the announcing updates";
  EXPECT_EQ(frames_of(got, "pullup"), std::vector<int>{});
}

TEST_F(Terrain, AClimbAboveTheReferenceTurnsTheVoiceToTerrain2) {
  close_in(60, 6000);
  set(kClimbAltitude, 5001);
  close_in(1, 6000);  // the voice of this update was chosen before the climb was seen
  Lines got = close_in(20, 6000);
  EXPECT_EQ(frames_of(got, "terrain1"), std::vector<int>{});
  EXPECT_EQ(frames_of(got, "terrain2").size(), 2u);
}

TEST_F(Terrain, OutsideTheEnvelopeTheCycleRunsOnEvery18Ticks) {
  close_in(60, 6000);
  Lines got = close_in(80, 0);  // the terrain stops closing; the rate decays
  std::vector<int> voices = frames_of(got, "terrain1");
  ASSERT_GE(voices.size(), 3u);
  EXPECT_EQ(voices[voices.size() - 1] - voices[voices.size() - 2], 18);
}

TEST_F(Terrain, AClimbOfMoreThan300FtEndsTheAlertAndThePullUpVoiceTakesOver) {
  close_in(60, 6000);
  close_in(60, 0);
  set(kClimbAltitude, 5300);
  Lines still = close_in(40, 0);
  EXPECT_EQ(frames_of(still, "terrain2").size(), 2u) << "300 ft is not more than 300";
  EXPECT_EQ(frames_of(still, "pullup").size(), 0u);
  set(kClimbAltitude, 5301);
  close_in(1, 0);
  Lines got = close_in(40, 0);
  EXPECT_EQ(frames_of(got, "terrain1"), std::vector<int>{});
  EXPECT_EQ(frames_of(got, "pullup").size(), 2u);
}

TEST_F(Terrain, MetresAreConvertedWhenTheUnitsSaySo) {
  close_in(60, 6000);
  close_in(60, 0);
  set(kAltitudeUnits, 2.0);
  set(kClimbAltitude, 5000.0 / kFeetPerMetre + 100.0);  // 328 ft above the reference
  Lines got = close_in(40, 0);
  EXPECT_EQ(frames_of(got, "terrain1"), std::vector<int>{});
  EXPECT_EQ(frames_of(got, "terrain2"), std::vector<int>{});
}

TEST_F(Terrain, GearDownClearsTheTerrainAlertAtOnce) {
  close_in(60, 6000);
  set(kGear, kGearDown);
  close_in(1, 6000);
  Lines got = close_in(40, 6000);
  EXPECT_EQ(frames_of(got, "terrain1"), std::vector<int>{});
  EXPECT_EQ(frames_of(got, "pullup").size(), 2u) << "the cycle goes on with the pull-up voice";
}

TEST_F(Terrain, ClimbingInsideTheEnvelopeKeepsTheLampDarkAndSilent) {
  close_in(60, 6000);
  set(kVerticalSpeed, 2);
  Lines got = close_in(40, 6000);
  EXPECT_EQ(got.size(), 1u) << "only the lamp going dark";
  EXPECT_EQ(frames_of(got, "hidden").size(), got.size());
}

}  // namespace
