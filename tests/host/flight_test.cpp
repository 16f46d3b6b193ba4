// Flights as a user writes them: time, readable names, ramps, held clicks,
// panels and expectations, flown through the panel host; and the mistakes
// the host finds in them before anything runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "host/flight_script.h"
#include "host/flight_summary.h"
#include "host_fixture.h"

namespace {

using Lines = std::vector<std::string>;
using testing_host::error_of;

Lines fly(host::PanelHost& panel, const std::string& text, const std::string& file = "f.flight") {
  return host::FlightScript::parse(text, file).run(panel);
}

TEST(Flight, ExpectationsAreMetOrNamed) {
  host::PanelHost panel(testing_host::options());
  Lines failed = fly(panel, R"(gauge cabsound XML-Sound
start
at 1
set sound1 1
wait 0.5
set sound1 0
wait 1
expect sound Sound\zel-sound1.wav between 1 s and 1.2 s
expect key 66359
expect no key 66360
expect no sound Sound\zel-sound1.wav between 1.6 and 2.5
expect sound Sound\zel-sound2.wav
expect key 66359 between 0 and 0.9
expect no sound Sound\zel-sound1.wav
)");
  EXPECT_EQ(
      failed,
      (Lines{
          "f.flight:12: expect sound Sound\\zel-sound2.wav: it never happened",
          "f.flight:13: expect key 66359 between 0 and 0.9: it never happened then",
          "f.flight:14: expect no sound Sound\\zel-sound1.wav: it happened at 1.0555555555555556 s",
      }));
}

TEST(Flight, RampsMoveInEvenStepsAndTimeFollowsTheFlight) {
  host::PanelHost panel(testing_host::options());
  fly(panel,
      "gauge cabsound XML-Sound\nstart\nset altitude_m 10\nramp altitude_m 110 over 1\n"
      "ramp ground_elevation_m 2 over 2\nat 0.5\n");
  EXPECT_EQ(panel.sim().get(73), 60.0);
  EXPECT_EQ(panel.sim().get(2), 128.0) << "a quarter of the way to 2 m, served in 1/256 m";
  EXPECT_EQ(panel.sim().get(604), 0.5);
  EXPECT_EQ(panel.frame(), 9u);
}

// A set during a ramp of the same variable takes over from it for good;
// other variables keep ramping.
TEST(Flight, ASetEndsTheRampOfItsVariable) {
  host::PanelHost panel(testing_host::options());
  fly(panel,
      "gauge cabsound XML-Sound\nstart\nramp altitude_m 100 over 1\n"
      "ramp ground_elevation_m 2 over 1\nat 0.5\nset altitude_m 7\nat 1\n");
  EXPECT_EQ(panel.sim().get(73), 7.0);
  EXPECT_EQ(panel.sim().get(2), 512.0);
}

TEST(Flight, TheTickRateMakesTheClockRepeatOrSkip) {
  const struct {
    const char* rates;
    double clock_after_one_second;
  } cases[] = {{"", 18}, {"tick_rate 9\n", 9}, {"rate 9\n", 18}, {"rate 36\ntick_rate 18\n", 18}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rates);
    host::PanelHost panel(testing_host::options());
    fly(panel, std::string(c.rates) + "gauge cabsound XML-Sound\nstart\nat 1\n");
    EXPECT_EQ(panel.sim().get(1), c.clock_after_one_second);
  }
}

TEST(Flight, AHeldKnobTurnsEveryFrameAPlainButtonOnce) {
  host::PanelHost panel(testing_host::options());
  Lines failed = fly(panel, R"(register radalt_adi
gauge vrn_radalt radalt
gauge vrn_gpws fi
start
set power 1
hold radalt area 2
hold fi 20 20
at 1
release radalt
release fi
at 2
expect var radalt_adi = 380 at 1.5
expect element 1 of fi shown at 1.5
expect element 6 of radalt hidden at 3
)");
  // 19 raises: the press and one for each of 18 frames: 50, 60 .. 100, 120 .. 380.
  EXPECT_EQ(failed, Lines{"f.flight:14: expect element 6 of radalt hidden at 3: the flight ended "
                          "before then"});
}

TEST(Flight, APanelPlacesItsGaugesInPanelOrder) {
  const std::string dir = ::testing::TempDir();
  {
    std::ofstream panel_file(dir + "/panel.cfg");
    panel_file << "[Window Titles]\nWindow00=Main\n[Window00]\nsize_mm=400,300\n"
                  "gauge01=vrn_radalt!radalt, 60, 0, 302\ngauge00=vrn_gpws!test, 0, 0, 46\n";
  }
  host::PanelHost panel(testing_host::options());
  auto flight = host::FlightScript::parse("panel panel.cfg\nstart\n", dir + "/f.flight");
  ASSERT_EQ(flight.layout().size(), 2u);
  EXPECT_EQ(flight.layout()[0].gauge, "test");
  EXPECT_EQ(flight.layout()[1].x, 60);
  // A full path is read as it is, from a flight kept anywhere.
  EXPECT_EQ(host::FlightScript::parse("panel " + dir + "/panel.cfg\n", "elsewhere/f.flight")
                .layout()
                .size(),
            2u);
  flight.run(panel);
  Lines installs;
  for (const std::string& line : testing_host::events(panel)) {
    if (line.find(" install") != std::string::npos ||
        line.find(" initialize") != std::string::npos) {
      installs.push_back(line);
    }
  }
  EXPECT_EQ(installs, (Lines{"gauge test install", "gauge radalt install", "gauge test initialize",
                             "gauge radalt initialize"}));
  EXPECT_NE(std::string([&] {
              try {
                host::FlightScript::parse("panel missing.cfg\n", dir + "/f.flight");
              } catch (const std::exception& e) {
                return std::string(e.what());
              }
              return std::string();
            }())
                .find("cannot read panel"),
            std::string::npos);
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

// A play the library refused is no voice heard: the expectation fails, the
// summary says what failed, and the mixer has nothing to mix.
TEST(Flight, AFailedPlayIsNotHeard) {
  host::PanelHost panel(testing_host::options());
  Lines failed = fly(panel, R"(gauge cabsound XML-Sound
fail play Sound\zel-sound1.wav
start
set sound1 1
frames 2
expect sound Sound\zel-sound1.wav between 0 s and 1 s
expect no sound Sound\zel-sound1.wav
)");
  EXPECT_EQ(failed, (Lines{"f.flight:6: expect sound Sound\\zel-sound1.wav between 0 s and 1 s: "
                           "it never happened then"}));
  Lines summary = host::summarize(panel.events().events(), 18.0);
  Lines sounds;
  for (const std::string& line : summary) {
    if (line.find("Sound\\") != std::string::npos) sounds.push_back(line.substr(12));
  }
  EXPECT_EQ(sounds, (Lines{"sound  Sound\\zel-sound1.wav: play failed",
                           "sound  Sound\\zel-sound1.wav: play failed",
                           "sound  Sound\\zel-sound1.wav: play failed",
                           "sound  Sound\\zel-sound1.wav: play failed"}))
      << "two updates, each a play and the replay after the reload";
}

// Every way a flight writes a variable serves it as the host holds it: the
// OFF flag's token 279 is a 32-bit integer in the value's first four bytes.
TEST(Flight, EveryWriteServesAnIntegerVariableAsAnInteger) {
  const struct {
    const char* name;
    const char* lines;
    int32_t served;
  } cases[] = {
      {"set", "set radalt_off_flag 4\n", 4},
      {"seti", "seti radalt_off_flag 4\n", 4},
      {"ramp", "ramp radalt_off_flag 4 over 1\nat 1\n", 4},
      {"ramp half way", "ramp radalt_off_flag 4 over 2\nat 1\n", 2},
      {"seti of a bare token", "seti 279 3\n", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host::PanelHost panel(testing_host::options());
    fly(panel, std::string("gauge cabsound XML-Sound\nstart\n") + c.lines);
    frame::ModuleVar var{279, nullptr, 0, 0.0, {}};
    panel.sim().write_value(var);
    int32_t low = 0;
    int32_t high = -1;
    std::memcpy(&low, &var.value, sizeof low);
    std::memcpy(&high, reinterpret_cast<const char*>(&var.value) + sizeof low, sizeof high);
    EXPECT_EQ(low, c.served);
    EXPECT_EQ(high, 0);
  }
}

TEST(Flight, ARampedOffFlagStaysInView) {
  host::PanelHost panel(testing_host::options());
  Lines failed = fly(panel, R"(gauge vrn_radalt radalt
start
set power 1
set display_variant 1
ramp radalt_off_flag 4 over 1
at 0.5
expect element 12 of radalt shown at 0.5
at 1.5
expect element 12 of radalt shown at 1.5
)");
  EXPECT_EQ(failed, Lines{});
}

// Each command's words reach the flight as written: a line with a word too
// many is refused with its place, whatever the command.
TEST(Flight, AWordTooManyIsRefusedWithItsLine) {
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"rate 18 19", "f.flight:1: 'rate' takes 1 argument(s)"},
      {"panel a.cfg b.cfg", "f.flight:1: 'panel' takes 1 argument(s)"},
      {"start now", "f.flight:1: 'start' takes 0 argument(s)"},
      {"set power 1 2", "f.flight:1: 'set' takes 2 argument(s)"},
      {"release radalt now", "f.flight:1: 'release' takes 1 argument(s)"},
      {"fail play a.wav 1 2", "f.flight:1: 'fail' takes 2 to 3 argument(s)"},
      {"stop now", "f.flight:1: 'stop' takes 0 argument(s)"},
      {"expect no key 1 between 0 and 1 and 2 3", "f.flight:1: 'expect' takes 2 to 9 argument(s)"},
      {"expect key 1 between 0 and 1 2", "f.flight:1: unexpected words after the time span"},
      {"expect element 6 of radalt shown at 1 2", "f.flight:1: cannot read this expectation"},
      {"expect no element 6 of radalt shown at 1", "f.flight:1: cannot read this expectation"},
      {"expect light 6", "f.flight:1: cannot read this expectation: expect light 6"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string error =
        error_of([&] { host::FlightScript::parse(std::string(c.line) + "\n", "f.flight"); });
    EXPECT_EQ(error.rfind(c.message, 0), 0u) << error;
  }
}

}  // namespace
