// The GPWS's sound slots against a sound library that answers loads with
// values other than 1: every slot is stopped and unloaded whatever its
// loaded flag, so no voice outlives a reset or a kill.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "fssound/fssound_host.h"
#include "gpws_fixture.h"

namespace {

using namespace gpws_test;

constexpr const char* kSinkRate = "Sound\\sinkrate.wav";
constexpr const char* kPullUp = "Sound\\pullup.wav";
constexpr const char* kDontSink = "Sound\\dontsink.wav";

// The library answers 2 for the two warning voices: loaded, but not 1.
class GpwsAnswersTwo : public Gpws {
 protected:
  void SetUp() override {
    FSSound_HostLoadAnswer(kSinkRate, 2);
    FSSound_HostLoadAnswer(kPullUp, 2);
    Gpws::SetUp();
  }
  // Starts the sink-rate loop and the pull-up warning at 400 ft.
  void sink() {
    at_metres(122);
    set(kVerticalSpeed, -1001);
    frames();
  }
  // Whether the library plays `path` in a loop at the moment.
  static bool looping(const char* path) {
    for (uint32_t h = 1; FSSound_HostPath(h) != nullptr; ++h) {
      if (FSSound_HostPath(h) == std::string(path) && FSSound_HostIsLooping(h) == 1) return true;
    }
    return false;
  }
};

TEST_F(GpwsAnswersTwo, ASlotLoadedWith2PlaysItsVoice) {
  at_metres(122);
  set(kVerticalSpeed, -1001);
  EXPECT_EQ(voices(), Lines{"sinkrate"});
  EXPECT_TRUE(looping(kSinkRate));
  EXPECT_EQ(voices(18), Lines{"pullup"});
}

TEST_F(GpwsAnswersTwo, EveryResetStopsTheLoopingVoice) {
  struct Case {
    const char* name;
    Token input;
    double value;
    double restore;
  };
  const Case cases[] = {
      {"climbing reset", kVerticalSpeed, 500, -1001},
      {"all-off reset without power", kPower, 0, 1},
      {"all-off reset on the ground", kOnGround, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sink();
    ASSERT_TRUE(looping(kSinkRate));
    set(c.input, c.value);
    Lines got = frames();
    EXPECT_FALSE(looping(kSinkRate));
    EXPECT_NE(std::find(got.begin(), got.end(), "sound stop h=7 \"Sound\\sinkrate.wav\""),
              got.end());
    EXPECT_NE(std::find(got.begin(), got.end(), "sound stop h=8 \"Sound\\pullup.wav\""), got.end());
    set(c.input, c.restore);
    power_cycle();
  }
}

// Loads that answer 2, answer 0 though the library gave a handle, and fail.
class GpwsMixedLoads : public Gpws {
 protected:
  void SetUp() override {
    FSSound_HostLoadAnswer(kSinkRate, 2);
    FSSound_HostLoadAnswer(kPullUp, 0);
    FSSound_HostFail(kFSSoundLoad, kDontSink, -1);
    Gpws::SetUp();
  }
};

// A slot whose load failed holds the handle 0 the library wrote: the library
// is told of it too, in its place.
TEST_F(GpwsMixedLoads, KillUnloadsEverySlotInOrderWhateverItsLoad) {
  size_t from = testing_host::mark(panel);
  panel.stop();
  Lines unloads;
  for (const std::string& line : testing_host::events(panel, from)) {
    if (line.rfind("sound ", 0) == 0) unloads.push_back(line);
  }
  EXPECT_EQ(unloads, (Lines{
                         "sound unload h=1 \"Sound\\360tinytog.wav\"",
                         "sound unload h=0 ?",
                         "sound unload h=2 \"Sound\\glideslope.wav\"",
                         "sound unload h=3 \"Sound\\minimums.wav\"",
                         "sound unload h=4 \"Sound\\toolowflaps.wav\"",
                         "sound unload h=5 \"Sound\\toolowgear.wav\"",
                         "sound unload h=6 \"Sound\\sinkrate.wav\"",
                         "sound unload h=7 \"Sound\\pullup.wav\"",
                         "sound unload h=8 \"Sound\\terrain1.wav\"",
                         "sound unload h=9 \"Sound\\terrain2.wav\"",
                     }));
}

// The slot whose load answered 0 is silent, the one that answered 2 is not.
TEST_F(GpwsMixedLoads, OnlyAnAnswerOf0KeepsASlotSilent) {
  at_metres(122);
  set(kVerticalSpeed, -1001);
  EXPECT_EQ(voices(19), Lines{"sinkrate"}) << "no pull-up voice: its slot is not loaded";
}

TEST_F(GpwsAnswersTwo, KillUnloadsAVoiceStillLooping) {
  sink();
  ASSERT_TRUE(looping(kSinkRate));
  panel.stop();
  EXPECT_FALSE(looping(kSinkRate));
}

}  // namespace
