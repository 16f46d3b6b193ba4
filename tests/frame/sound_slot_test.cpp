// The play-with-reload rule, through the stand-in sound library.
#include "frame/sound_slot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fssound/fssound_host.h"
#include "sound_calls.h"

namespace {

constexpr const char* kWav = "Sound\\zel-sound1.wav";
constexpr const char* kMissing = "Sound\\nowhere.wav";

using testing_host::collect_sound_calls;

struct ReloadCase {
  const char* name;
  const char* path;
  int32_t play_failures;  // before the call; -1: every play fails
  int32_t load_failures;  // of the reload
  uint32_t loaded_after;
  std::vector<std::string> lines;  // what the call does, after the install load
};

const ReloadCase kReloadCases[] = {
    {"a play that starts is all",
     kWav,
     0,
     0,
     1,
     {"sound play h=1 \"Sound\\zel-sound1.wav\" loop=0 -> 1"}},
    {"a failed play reloads and plays again",
     kWav,
     1,
     0,
     1,
     {"sound play h=1 \"Sound\\zel-sound1.wav\" loop=0 -> 0",
      "sound load \"Sound\\zel-sound1.wav\" -> 1 h=2",
      "sound play h=2 \"Sound\\zel-sound1.wav\" loop=0 -> 1"}},
    {"the replay's result is not looked at",
     kWav,
     -1,
     0,
     1,
     {"sound play h=1 \"Sound\\zel-sound1.wav\" loop=0 -> 0",
      "sound load \"Sound\\zel-sound1.wav\" -> 1 h=2",
      "sound play h=2 \"Sound\\zel-sound1.wav\" loop=0 -> 0"}},
    {"a failed reload stores 0 and does not replay",
     kWav,
     1,
     1,
     0,
     {"sound play h=1 \"Sound\\zel-sound1.wav\" loop=0 -> 0",
      "sound load \"Sound\\zel-sound1.wav\" -> 0 h=0"}},
    {"a slot that never loaded is neither played nor reloaded", kMissing, 0, 0, 0, {}},
};

class SoundSlot : public ::testing::Test {
 protected:
  void SetUp() override { FSSound_HostAttach(SIM_ROOT, &collect_sound_calls, &lines); }
  void TearDown() override { FSSound_HostAttach("", nullptr, nullptr); }
  std::vector<std::string> lines;
};

TEST_F(SoundSlot, PlayWithReload) {
  for (const ReloadCase& c : kReloadCases) {
    SCOPED_TRACE(c.name);
    FSSound_HostAttach(SIM_ROOT, &collect_sound_calls, &lines);
    frame::SoundSlot slot{0, 0, c.path};
    frame::sound_load(slot);
    if (c.play_failures != 0) FSSound_HostFail(kFSSoundPlay, c.path, c.play_failures);
    if (c.load_failures != 0) FSSound_HostFail(kFSSoundLoad, c.path, c.load_failures);
    lines.clear();
    frame::play_with_reload(slot, frame::kPlayOnce);
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(slot.loaded, c.loaded_after);
  }
}

TEST_F(SoundSlot, ASlotThatFailedItsReloadStaysSilent) {
  frame::SoundSlot slot{0, 0, kWav};
  frame::sound_load(slot);
  FSSound_HostFail(kFSSoundPlay, kWav, 1);
  FSSound_HostFail(kFSSoundLoad, kWav, 1);
  frame::play_with_reload(slot, frame::kPlayOnce);
  lines.clear();
  for (int i = 0; i < 3; ++i) frame::play_with_reload(slot, frame::kPlayOnce);
  EXPECT_TRUE(lines.empty());
}

// Stop and unload tell the library of the slot's handle whatever the loaded
// flag: a load that answered 2 plays, and must be stoppable.
TEST_F(SoundSlot, StopAndUnloadWhateverTheFlags) {
  struct Case {
    const char* name;
    const char* path;
    uint32_t answer;  // what the library's load answers when it gives a handle
    bool failed_reload;
    uint32_t loaded;
    std::vector<std::string> lines;  // of stop, then unload
  };
  const Case cases[] = {
      {"a loaded slot",
       kWav,
       1,
       false,
       1,
       {"sound stop h=1 \"Sound\\zel-sound1.wav\"", "sound unload h=1 \"Sound\\zel-sound1.wav\""}},
      {"a load that answered 2",
       kWav,
       2,
       false,
       2,
       {"sound stop h=1 \"Sound\\zel-sound1.wav\"", "sound unload h=1 \"Sound\\zel-sound1.wav\""}},
      {"a load that answered 0 with a handle",
       kWav,
       0,
       false,
       0,
       {"sound stop h=1 \"Sound\\zel-sound1.wav\"", "sound unload h=1 \"Sound\\zel-sound1.wav\""}},
      {"a slot that never loaded", kMissing, 1, false, 0, {"sound stop h=0 ?", "sound unload h=0 ?"}},
      {"a slot whose reload failed", kWav, 1, true, 0, {"sound stop h=0 ?", "sound unload h=0 ?"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FSSound_HostAttach(SIM_ROOT, &collect_sound_calls, &lines);
    FSSound_HostLoadAnswer(c.path, c.answer);
    frame::SoundSlot slot{0, 0, c.path};
    frame::sound_load(slot);
    if (c.failed_reload) {
      FSSound_HostFail(kFSSoundPlay, c.path, 1);
      FSSound_HostFail(kFSSoundLoad, c.path, 1);
      frame::play_with_reload(slot, frame::kPlayOnce);
    }
    EXPECT_EQ(slot.loaded, c.loaded);
    lines.clear();
    frame::sound_stop(slot);
    frame::sound_unload(slot);
    EXPECT_EQ(lines, c.lines);
  }
}

TEST_F(SoundSlot, ALoopLoadedWith2IsStopped) {
  FSSound_HostLoadAnswer(kWav, 2);
  frame::SoundSlot slot{0, 0, kWav};
  frame::sound_load(slot);
  frame::play_with_reload(slot, frame::kPlayLoop);
  EXPECT_EQ(FSSound_HostIsLooping(slot.handle), 1u);
  frame::sound_stop(slot);
  EXPECT_EQ(FSSound_HostIsLooping(slot.handle), 0u);
}

TEST_F(SoundSlot, ALoopPlaysUntilStopped) {
  frame::SoundSlot slot{0, 0, kWav};
  frame::sound_load(slot);
  frame::play_with_reload(slot, frame::kPlayLoop);
  EXPECT_EQ(FSSound_HostIsLooping(slot.handle), 1u);
  frame::sound_stop(slot);
  EXPECT_EQ(FSSound_HostIsLooping(slot.handle), 0u);
  frame::sound_unload(slot);
  EXPECT_EQ(lines.back(), "sound unload h=1 \"Sound\\zel-sound1.wav\"");
}

}  // namespace
