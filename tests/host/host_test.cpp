// The panel host's own behaviour: what it refuses, how it drives gauges,
// dispatches clicks and serves named variables, and how it reads flights.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/flight_script.h"
#include "host/host_error.h"
#include "host_fixture.h"

namespace {

using testing_host::events;
using testing_host::mark;
using Lines = std::vector<std::string>;

std::string error_of(const std::function<void()>& action) {
  try {
    action();
  } catch (const host::HostError& error) {
    return error.what();
  }
  return "(no error)";
}

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

TEST(FlightScript, MistakesAreReportedWithFileAndLineBeforeAnythingRuns) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"fly high\n", "f.flight:1: unknown command 'fly'"},
      {"start\n\n# note\nframes\n", "f.flight:4: 'frames' takes 1 argument(s)"},
      {"frames -1\n", "f.flight:1: '-1' is not a whole number"},
      {"set 632 one\n", "f.flight:1: 'one' is not a number"},
      {"seti 279 1.5\n", "f.flight:1: '1.5' is not a 32-bit integer"},
      {"click XML-Sound 1\n", "f.flight:1: 'click' takes 3 argument(s)"},
      {"fail stop Sound\\a.wav\n", "f.flight:1: fail takes 'load' or 'play'"},
      {"gauge cabsound\n", "f.flight:1: 'gauge' takes 2 argument(s)"},
      {"ramp altitude_m 10 over\n", "f.flight:1: 'ramp' takes 4 argument(s)"},
      {"ramp altitude_m 10 in 5\n", "f.flight:1: expected 'over' instead of 'in'"},
      {"ramp altitude_m x over 5\n", "f.flight:1: 'x' is not a number"},
      {"ramp altitude_m 5 over -1\n", "f.flight:1: '-1' is not a time in seconds"},
      {"set altitude 5\n", "f.flight:1: unknown variable 'altitude'; known: altitude_m"},
      {"start\nrate 20\n", "f.flight:2: 'rate' belongs before 'start'"},
      {"click radalt area 0\n", "f.flight:1: areas are numbered from 1"},
      {"expect sound\n", "f.flight:1: 'expect' takes 2 to 9 argument(s)"},
      {"expect key x\n", "f.flight:1: 'x' is not a whole number"},
      {"expect sound a.wav between 3 and 1\n", "f.flight:1: the time span ends before it begins"},
      {"expect element 6 of radalt lit at 5\n", "f.flight:1: expected 'shown' or 'hidden'"},
      {"expect var x = 1 by 5\n", "f.flight:1: expected 'at' instead of 'by'"},
      {"clock soon\n", "f.flight:1: 'soon' is not a number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string error = error_of([&] { host::FlightScript::parse(c.text, "f.flight"); });
    EXPECT_EQ(error.substr(0, std::string(c.message).size()), c.message) << error;
  }
}

TEST(FlightScript, RunsCommandsInOrderAndNamesTheLineThatFails) {
  host::PanelHost panel(testing_host::options());
  auto flight = host::FlightScript::parse(
      "gauge cabsound XML-Sound   # the sound gauge\nstart\nset 632 1\nframes 1\nclick nowhere 1 "
      "1\n",
      "f.flight");
  EXPECT_EQ(error_of([&] { flight.run(panel); }), "f.flight:5: no gauge \"nowhere\" on the panel");
  EXPECT_EQ(panel.frame(), 1u);
}

}  // namespace
