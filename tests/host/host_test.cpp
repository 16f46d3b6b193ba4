// The panel host's own behaviour: what it refuses, how it drives gauges,
// dispatches clicks and serves named variables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host_fixture.h"

namespace {

using testing_host::error_of;
using testing_host::events;
using testing_host::mark;
using Lines = std::vector<std::string>;

TEST(HostRefuses, FilesThatAreNotGaugeModules) {
  const struct {
    const char* module;
    const char* message;
  } cases[] = {
      {"no_such_module", "cannot load"},
      {"libFSSound", "is not a gauge module: it does not export ImportTable"},
      {"fixture_bad_import", "ImportTable identifier 14, expected 15"},
      {"fixture_bad_linkage", "Linkage identifier 18, expected 19"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.module);
    host::PanelHost panel(testing_host::options());
    std::string error = error_of([&] { panel.load_module(c.module); });
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(HostRefuses, UnknownGaugesAndLabels) {
  host::PanelHost panel(testing_host::options());
  EXPECT_EQ(error_of([&] { panel.add_gauge("fixture_panel", "gamma"); }),
            "module fixture_panel has no gauge \"gamma\" (it has: alpha, beta)");
  panel.add_gauge("fixture_panel", "alpha");
  panel.start();
  EXPECT_EQ(error_of([&] { panel.click("beta", 0, 0); }), "no gauge \"beta\" on the panel");
}

class FixturePanel : public ::testing::Test {
 protected:
  FixturePanel() : panel(testing_host::options()) {}
  void SetUp() override {
    panel.add_gauge("fixture_panel", "alpha");
    panel.add_gauge("fixture_panel", "beta");
    panel.start();
  }
  host::PanelHost panel;
};

TEST_F(FixturePanel, InstallsEveryGaugeBeforeInitializingAny) {
  EXPECT_EQ(events(panel), (Lines{
                               "module fixture_panel loaded",
                               "gauge alpha install",
                               "register \"fixture_owned\" type 19",
                               "gauge beta install",
                               "gauge alpha initialize",
                               "link \"fixture_owned\" -> registered",
                               "link \"nobody_registers\" -> null",
                               "gauge beta initialize",
                           }));
}

TEST_F(FixturePanel, LogsNamedVariableWritesElementChangesAndStraySlots) {
  size_t from = mark(panel);
  panel.run_frames(3);
  EXPECT_EQ(events(panel, from), (Lines{
                                     "element alpha#1 shown",
                                     "var \"fixture_owned\" = 1",
                                     "needle alpha#2 = 0",
                                     "stray service slot 30",
                                     "element alpha#1 hidden",
                                     "var \"fixture_owned\" = 2",
                                     "element alpha#1 shown",
                                     "var \"fixture_owned\" = 3",
                                 }));
  EXPECT_EQ(panel.named().read("fixture_owned"), 3);
  EXPECT_FALSE(panel.named().registered("nobody_registers"));
}

TEST_F(FixturePanel, RefreshesHiddenNeedlesAndLogsTheirValuesWhenTheyChange) {
  panel.sim().set(73, 10.5);
  size_t from = mark(panel);
  panel.run_frame();
  EXPECT_EQ(events(panel, from, true), (Lines{
                                           "lookup 1 = 1",
                                           "element alpha#1 shown",
                                           "var \"fixture_owned\" = 1",
                                           "needle alpha#2 = 21",
                                       }));
  from = mark(panel);
  panel.run_frame();
  EXPECT_EQ(events(panel, from),
            (Lines{"stray service slot 30", "element alpha#1 hidden", "var \"fixture_owned\" = 2"}))
      << "same value: no needle line";
  panel.sim().set(73, -0.25);
  from = mark(panel);
  panel.run_frame();
  EXPECT_EQ(events(panel, from).back(), "needle alpha#2 = -0.5");
}

TEST_F(FixturePanel, AClickGoesToTheFirstAreaThatHoldsIt) {
  const struct {
    int x, y;
    const char* expected;
  } cases[] = {
      {0, 0, "area 1"},   {19, 19, "area 1"},  {15, 15, "area 1"}, {20, 20, "area 2"},
      {29, 29, "area 2"}, {30, 30, "no area"}, {-5, 3, "no area"},
  };
  for (const auto& c : cases) {
    std::string where = std::to_string(c.x) + "," + std::to_string(c.y);
    SCOPED_TRACE(where);
    size_t from = mark(panel);
    panel.click("alpha", c.x, c.y);
    Lines expected{"click alpha " + where + " -> " + c.expected};
    if (std::string(c.expected) == "area 1") expected.push_back("key_event 1 0");
    if (std::string(c.expected) == "area 2") expected.push_back("key_event 2 0");
    EXPECT_EQ(events(panel, from), expected);
  }
}

TEST_F(FixturePanel, ElementListRoutinesOfEveryGaugeActOnTheFirstGauge) {
  size_t from = mark(panel);
  panel.call_element_list_routine("beta", frame::kSlotKill);
  panel.call_element_list_routine("beta", frame::kSlotGenerate, 5);
  panel.call_element_list_routine("alpha", frame::kSlotDraw);
  EXPECT_EQ(events(panel, from),
            (Lines{"elist kill alpha#0", "elist generate alpha#0 5", "elist draw alpha#0"}));
}

TEST_F(FixturePanel, StopKillsUnregistersAndUnloads) {
  size_t from = mark(panel);
  panel.stop();
  EXPECT_EQ(events(panel, from), (Lines{"gauge alpha kill", "unregister \"fixture_owned\"",
                                        "gauge beta kill", "module fixture_panel unloaded"}));
  EXPECT_FALSE(panel.named().registered("fixture_owned"));
}

}  // namespace
