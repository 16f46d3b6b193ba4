// The "XML-Sound" gauge flown through the panel host.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "fssound/fssound_host.h"
#include "host_fixture.h"

namespace {

using testing_host::events;
using testing_host::mark;
using Lines = std::vector<std::string>;

constexpr uint32_t kTokens[] = {632, 651, 670, 689};

std::string play(int channel, int handle) {
  return "sound play h=" + std::to_string(handle) + " \"Sound\\zel-sound" +
         std::to_string(channel) + ".wav\" loop=0 -> 1";
}
std::string key(int channel) {
  return "key_event " + std::to_string(66358 + channel) + " 0";
}

class XmlSound : public ::testing::Test {
 protected:
  explicit XmlSound(const std::string& root = SIM_ROOT) : panel(testing_host::options(root)) {}
  void SetUp() override {
    panel.add_gauge("cabsound", "XML-Sound");
    panel.start();
  }
  void set_triggers(const double (&values)[4]) {
    for (int i = 0; i < 4; ++i) panel.sim().set(kTokens[i], values[i]);
  }
  host::PanelHost panel;
};

TEST_F(XmlSound, InstallLoadsTheFourFilesInChannelOrderAndInitializeDoesNothing) {
  EXPECT_EQ(events(panel), (Lines{
                               "module cabsound loaded",
                               "gauge XML-Sound install",
                               "sound load \"Sound\\zel-sound1.wav\" -> 1 h=1",
                               "sound load \"Sound\\zel-sound2.wav\" -> 1 h=2",
                               "sound load \"Sound\\zel-sound3.wav\" -> 1 h=3",
                               "sound load \"Sound\\zel-sound4.wav\" -> 1 h=4",
                               "gauge XML-Sound initialize",
                           }));
}

struct UpdateCase {
  const char* name;
  double triggers[4];
  Lines expected;
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const UpdateCase kUpdateCases[] = {
    {"all quiet", {0, 0, 0, 0}, {}},
    {"0.9 truncates to 0", {0.9, 0, 0, 0}, {}},
    {"-0.5 truncates to 0", {0, 0, -0.5, 0}, {}},
    {"NaN is not a trigger", {kNaN, 0, 0, 0}, {}},
    {"-1.5 truncates to -1 and triggers", {0, -1.5, 0, 0}, {play(2, 2), key(2)}},
    {"channels 1 and 3 in order", {1, 0, 3, 0}, {play(1, 1), key(1), play(3, 3), key(3)}},
    {"infinity saturates and triggers", {0, 0, 0, kInf}, {play(4, 4), key(4)}},
    {"all four",
     {1, 1, 1, 1},
     {play(1, 1), key(1), play(2, 2), key(2), play(3, 3), key(3), play(4, 4), key(4)}},
};

TEST_F(XmlSound, EachNonzeroTriggerPlaysItsSoundThenSendsItsKeyEvent) {
  for (const UpdateCase& c : kUpdateCases) {
    SCOPED_TRACE(c.name);
    set_triggers(c.triggers);
    size_t from = mark(panel);
    panel.run_frame();
    EXPECT_EQ(events(panel, from), c.expected);
  }
}

TEST_F(XmlSound, ReadsAllFourTriggersBeforeActing) {
  set_triggers({1, 0, 0, 2});
  size_t from = mark(panel);
  panel.run_frame();
  EXPECT_EQ(events(panel, from, true),
            (Lines{"lookup 632 = 1", "lookup 651 = 0", "lookup 670 = 0", "lookup 689 = 2",
                   play(1, 1), key(1), play(4, 4), key(4)}));
}

TEST_F(XmlSound, ATriggerHeldForTenUpdatesActsOnEachOfThem) {
  set_triggers({1, 0, 0, 0});
  size_t from = mark(panel);
  panel.run_frames(10);
  Lines expected;
  for (int i = 0; i < 10; ++i) expected.insert(expected.end(), {play(1, 1), key(1)});
  EXPECT_EQ(events(panel, from), expected);
  set_triggers({0, 0, 0, 0});
  from = mark(panel);
  panel.run_frames(3);
  EXPECT_EQ(events(panel, from), Lines{});
}

TEST_F(XmlSound, AFailedPlayReloadsAndPlaysAgain) {
  FSSound_HostFail(kFSSoundPlay, "Sound\\zel-sound2.wav", 1);
  set_triggers({0, 1, 0, 0});
  size_t from = mark(panel);
  panel.run_frame();
  EXPECT_EQ(events(panel, from),
            (Lines{"sound play h=2 \"Sound\\zel-sound2.wav\" loop=0 -> 0",
                   "sound load \"Sound\\zel-sound2.wav\" -> 1 h=5",
                   "sound play h=5 \"Sound\\zel-sound2.wav\" loop=0 -> 1", key(2)}));
}

TEST_F(XmlSound, ServiceCodesOtherThanInstallUpdateAndKillDoNothing) {
  set_triggers({1, 1, 1, 1});
  for (uint32_t code : {0u, 1u, 3u, 4u, 5u, 7u, 8u, 9u, 10u, 11u, 13u, 99u}) {
    SCOPED_TRACE(code);
    size_t from = mark(panel);
    panel.send("XML-Sound", code);
    Lines got = events(panel, from, true);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].rfind("gauge XML-Sound ", 0), 0u);
  }
}

TEST_F(XmlSound, ClicksChangeNothing) {
  const struct {
    int x, y;
    const char* area;
  } clicks[] = {{0, 0, "area 1"},   {42, 72, "area 1"}, {20, 40, "area 1"},
                {43, 0, "no area"}, {0, 73, "no area"}, {-1, 5, "no area"}};
  for (const auto& c : clicks) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    size_t from = mark(panel);
    panel.click("XML-Sound", c.x, c.y);
    EXPECT_EQ(events(panel, from, true), Lines{"click XML-Sound " + std::to_string(c.x) + "," +
                                               std::to_string(c.y) + " -> " + c.area});
  }
  panel.run_frame();
  EXPECT_EQ(events(panel, mark(panel)), Lines{});
}

TEST_F(XmlSound, ElementsKeepTheirFlagsForTheGaugesLife) {
  set_triggers({1, 1, 1, 1});
  panel.run_frames(5);
  EXPECT_EQ(panel.element_flags("XML-Sound", 0), 0x3u);
  EXPECT_EQ(panel.element_flags("XML-Sound", 1), 0x3u);
  EXPECT_EQ(panel.element_flags("XML-Sound", 2), 0x40000003u);
}

TEST_F(XmlSound, ElementListRoutinesPassTheGaugesFirstElement) {
  size_t from = mark(panel);
  panel.call_element_list_routine("XML-Sound", frame::kSlotKill);
  panel.call_element_list_routine("XML-Sound", frame::kSlotInstall, 9);
  EXPECT_EQ(events(panel, from), (Lines{"elist kill XML-Sound#0", "elist install XML-Sound#0 9"}));
}

TEST_F(XmlSound, KillUnloadsTheFourSlotsInOrder) {
  size_t from = mark(panel);
  panel.stop();
  EXPECT_EQ(events(panel, from), (Lines{
                                     "gauge XML-Sound kill",
                                     "sound unload h=1 \"Sound\\zel-sound1.wav\"",
                                     "sound unload h=2 \"Sound\\zel-sound2.wav\"",
                                     "sound unload h=3 \"Sound\\zel-sound3.wav\"",
                                     "sound unload h=4 \"Sound\\zel-sound4.wav\"",
                                     "module cabsound unloaded",
                                 }));
}

// Loads answering 2, 0 with a handle, and failing: kill still unloads all
// four slots in channel order.
class XmlSoundMixedLoads : public XmlSound {
 protected:
  void SetUp() override {
    FSSound_HostLoadAnswer("Sound\\zel-sound1.wav", 2);
    FSSound_HostLoadAnswer("Sound\\zel-sound2.wav", 0);
    FSSound_HostFail(kFSSoundLoad, "Sound\\zel-sound3.wav", -1);
    XmlSound::SetUp();
  }
};

TEST_F(XmlSoundMixedLoads, KillUnloadsEverySlotWhateverItsLoad) {
  set_triggers({1, 1, 1, 1});
  size_t from = mark(panel);
  panel.run_frames(1);
  EXPECT_EQ(events(panel, from), (Lines{play(1, 1), key(1), key(2), key(3), play(4, 3), key(4)}))
      << "2 plays, 0 and a failed load stay silent";
  from = mark(panel);
  panel.stop();
  EXPECT_EQ(events(panel, from), (Lines{
                                     "gauge XML-Sound kill",
                                     "sound unload h=1 \"Sound\\zel-sound1.wav\"",
                                     "sound unload h=2 \"Sound\\zel-sound2.wav\"",
                                     "sound unload h=0 ?",
                                     "sound unload h=3 \"Sound\\zel-sound4.wav\"",
                                     "module cabsound unloaded",
                                 }));
}

class XmlSoundWithoutFiles : public XmlSound {
 protected:
  XmlSoundWithoutFiles() : XmlSound("/nonexistent-sim-root") {}
};

TEST_F(XmlSoundWithoutFiles, KeyEventsStillGoOutEveryUpdate) {
  set_triggers({0, 0, 1, 0});
  size_t from = mark(panel);
  panel.run_frames(3);
  EXPECT_EQ(events(panel, from), (Lines{key(3), key(3), key(3)}));
}

}  // namespace
