// The flight language as a user meets it: each command's syntax flies or is
// refused with its file:line, `gaugehost fly --help` lists every expect
// form, each form gives a result met or missed with what was wanted and
// seen, and elements are named by the names their modules give them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/element_names.h"
#include "host/flight_script.h"
#include "host/gaugehost_cli.h"
#include "host_fixture.h"

namespace {

using testing_host::error_of;

// Flies `text` as f.flight; "" when it flies, else the error it stops with.
std::string flown(const std::string& text) {
  return error_of([&] {
    host::PanelHost panel(testing_host::options());
    host::FlightScript::parse(text, "f.flight").fly(panel);
  });
}

constexpr const char* kRadalt = "gauge vrn_radalt radalt\nstart\n";

TEST(FlightLanguage, EachCommandsSyntaxFliesOrIsRefusedWithItsLine) {
  const std::string dir = ::testing::TempDir();
  {
    std::ofstream panel_file(dir + "/language.cfg");
    panel_file << "[Window Titles]\nWindow00=Main\n[Window00]\nsize_mm=400,300\n"
                  "gauge00=vrn_radalt!radalt, 0, 0, 302\ngauge01=vrn_gpws!below, 310, 0, 46\n";
  }
  const std::string panel = "panel " + dir + "/language.cfg\n";
  const struct {
    std::string flight;
    std::string error;  // "" when it flies
  } cases[] = {
      {"rate 30\ntick_rate 9\n" + std::string(kRadalt) + "frames 2\n", ""},
      {panel + "start\nat 0.5\nwait 0.5s\nframes 3\nstop\n", ""},
      {std::string(kRadalt) + "set altitude_m 300\nseti 773 1\nramp altitude_m 10 over 2\nat 1\n",
       ""},
      {std::string(kRadalt) + "click radalt area 3\nclick radalt 45 230\nhold radalt area 1\n"
                              "frames 2\nrelease radalt\n",
       ""},
      {"register outside\n" + std::string(kRadalt) + "write outside 5\nsend radalt 10\n", ""},
      {"fail play Sound\\x.wav 2\nfail load Sound\\y.wav\nanswer load Sound\\z.wav 7\n" +
           std::string(kRadalt) + "ticks_per_frame 2\nclock 100\nframes 1\n",
       ""},
      {"rate 0\n", "f.flight:1: a rate is above 0 and sensible"},
      {"gauge vrn_radalt\n", "f.flight:1: 'gauge' takes 2 argument(s)"},
      {"start\nrate 30\n", "f.flight:2: 'rate' belongs before 'start'"},
      {"fly away\n", "f.flight:1: unknown command 'fly'"},
      {"wait 5 6\n", "f.flight:1: 'wait' takes 1 argument(s)"},
      {"at -1\n", "f.flight:1: '-1' is not a time in seconds"},
      {"frames 1.5\n", "f.flight:1: '1.5' is not a whole number"},
      {"set altitude 3\n", "f.flight:1: unknown variable 'altitude'; known: altitude_m"},
      {"seti altitude_m 1.5\n", "f.flight:1: '1.5' is not a 32-bit integer"},
      {"ramp altitude_m 1 under 2\n", "f.flight:1: expected 'over' instead of 'under'"},
      {"click radalt area 0\n", "f.flight:1: areas are numbered from 1"},
      {"hold radalt 4 y\n", "f.flight:1: 'y' is not a 32-bit integer"},
      {"send radalt -3\n", "f.flight:1: '-3' is not a whole number"},
      {"fail save Sound\\x.wav\n", "f.flight:1: fail takes 'load' or 'play'"},
      {"answer play Sound\\x.wav 1\n", "f.flight:1: answer takes 'load'"},
      {"clock soon\n", "f.flight:1: 'soon' is not a number"},
      {std::string(kRadalt) + "at 2\nat 1\n", "f.flight:4: the flight is already past 1 s"},
      {"gauge vrn_radalt radalt\nstart\nclick nowhere area 1\n",
       "f.flight:3: no gauge \"nowhere\" on the panel"},
      // The aircraft's commands.
      {std::string(kRadalt) + "aircraft 3.1 nm 1000 ft 140 kt -900 fpm\ndescend 700 fpm\n"
                              "climb 500 fpm\nlevel\nspeed 150 kt\ngear down\ngear up\n"
                              "flaps up\nflaps approach\nflaps landing\nflaps 1234.5\n"
                              "power off\npower on\nterrain " SCENARIO_DIR
                              "/terrain/ridge.profile\nglidepath 3 deg\nglidepath 3.5 deg 20 ft\n"
                              "follow glidepath\nfollow glidepath -1 dots\n"
                              "follow glidepath 0.5 dot\nset altitude_m 3\nrelease altitude_m\n"
                              "frames 2\n",
       ""},
      {std::string(kRadalt) + "aircraft -1 nm 0 ft 0 kt\nframes 1\n", ""},
      {"aircraft 3 nm 1000 ft\n", "f.flight:1: 'aircraft' takes 6 to 8 argument(s)"},
      {"aircraft 3 nm 1000 ft 140 kt -900\n", "f.flight:1: 'aircraft' takes DISTANCE nm"},
      {"aircraft 3 km 1000 ft 140 kt\n", "f.flight:1: expected 'nm' instead of 'km'"},
      {"aircraft 3 nm 1000 m 140 kt\n", "f.flight:1: expected 'ft' instead of 'm'"},
      {"aircraft 3 nm 1000 ft fast kt\n", "f.flight:1: 'fast' is not a number"},
      {"aircraft 3 nm 1000 ft -5 kt\n", "f.flight:1: a speed is from 0 to 600 kt, not -5"},
      {"aircraft 3 nm 99999 ft 140 kt\n", "f.flight:1: an altitude is from -1500 to 60000 ft"},
      {"aircraft 3 nm 1000 ft 140 kt 20000 fpm\n", "f.flight:1: a vertical speed is from"},
      {"descend -700 fpm\n", "f.flight:1: a rate of descent is from 0 to 10000 fpm, not -700"},
      {"climb 700 ft\n", "f.flight:1: expected 'fpm' instead of 'ft'"},
      {"level off\n", "f.flight:1: 'level' takes 0 argument(s)"},
      {"speed 140\n", "f.flight:1: 'speed' takes 2 argument(s)"},
      {"gear half\n", "f.flight:1: gear is 'up' or 'down'"},
      {"flaps 20000\n", "f.flight:1: a flap position is from 0 to 16383, not 20000"},
      {"flaps full\n", "f.flight:1: flaps are up, approach, landing or a position"},
      {"power 1\n", "f.flight:1: power is 'on' or 'off'"},
      {"terrain /nonexistent/x.profile\n",
       "f.flight:1: cannot read terrain profile /nonexistent/x.profile"},
      {"glidepath 0 deg\n", "f.flight:1: a glide path's angle is above 0 and at most 15 deg"},
      {"glidepath 3 deg 50\n", "f.flight:1: 'glidepath' takes ANGLE deg [ELEVATION ft]"},
      {"glidepath 3 rad\n", "f.flight:1: expected 'deg' instead of 'rad'"},
      {"follow path\n", "f.flight:1: expected 'glidepath' instead of 'path'"},
      {"follow glidepath -1 ft\n", "f.flight:1: expected 'dots' instead of 'ft'"},
      {"follow glidepath 9 dots\n", "f.flight:1: an offset from the glide path is from -5 to 5"},
      // Every command but `aircraft` needs an aircraft flying.
      {std::string(kRadalt) + "descend 500 fpm\n", "f.flight:3: no aircraft: start one with"},
      {std::string(kRadalt) + "gear down\n", "f.flight:3: no aircraft: start one with"},
      {std::string(kRadalt) + "terrain " SCENARIO_DIR "/terrain/flat.profile\n",
       "f.flight:3: no aircraft: start one with"},
      {std::string(kRadalt) + "glidepath 3 deg\n", "f.flight:3: no aircraft: start one with"},
      {std::string(kRadalt) + "aircraft 3 nm 1000 ft 140 kt\nfollow glidepath\n",
       "f.flight:4: no glide path to follow: give one with `glidepath ANGLE deg`"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flight);
    const std::string error = flown(c.flight);
    if (c.error.empty()) {
      EXPECT_EQ(error, "(no error)");
    } else {
      EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
  }
}

TEST(FlightLanguage, FlyHelpListsEveryExpectForm) {
  std::ostringstream out, err;
  ASSERT_EQ(host::run_gaugehost({"fly", "--help"}, MODULE_DIR, out, err), 0);
  for (const char* form : {
           "expect sound PATH [between A and B]",
           "expect no sound PATH [between A and B]",
           "expect key ID [between A and B]",
           "expect no key ID [between A and B]",
           "expect element N|NAME of GAUGE shown|hidden at T",
           "expect var NAME = VALUE at T",
       }) {
    EXPECT_NE(out.str().find(form), std::string::npos) << form << "\n" << out.str();
  }
}

TEST(FlightLanguage, FlyHelpListsTheAircraftsCommands) {
  std::ostringstream out, err;
  ASSERT_EQ(host::run_gaugehost({"fly", "--help"}, MODULE_DIR, out, err), 0);
  for (const char* usage : {
           "aircraft DISTANCE nm ALTITUDE ft SPEED kt [RATE fpm]",
           "descend RATE fpm",
           "climb RATE fpm",
           "level",
           "speed SPEED kt",
           "gear up|down",
           "flaps up|approach|landing|POSITION",
           "power on|off",
           "terrain FILE",
           "glidepath ANGLE deg [ELEVATION ft]",
           "follow glidepath [OFFSET dots]",
           "release GAUGE | NAME",
       }) {
    EXPECT_NE(out.str().find(std::string("  ") + usage), std::string::npos) << usage;
  }
}

// A saved flight is read from anywhere: its terrain by full path, the
// aircraft's other commands as given.
TEST(FlightLanguage, SavedAircraftLinesReadFromAnywhere) {
  host::FlightSetup setup;
  setup.folder = SCENARIO_DIR "/";
  const struct {
    std::string verb;
    std::vector<std::string> words;
    std::string saved;
  } cases[] = {
      {"terrain", {"terrain/ridge.profile"}, "terrain " SCENARIO_DIR "/terrain/ridge.profile"},
      {"aircraft", {"3.1", "nm", "1000", "ft", "140", "kt"}, "aircraft 3.1 nm 1000 ft 140 kt"},
      {"follow", {"glidepath", "-1", "dots"}, "follow glidepath -1 dots"},
      {"release", {"gear"}, "release gear"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.verb);
    EXPECT_EQ(host::saved_text(host::make_line("live", c.verb, c.words, setup)), c.saved);
  }
  // A placed gauge is released as before, a variable's name by its override.
  setup.layout.push_back(host::PanelGauge{"", "vrn_radalt", "radalt"});
  EXPECT_FALSE(host::make_line("live", "release", {"radalt"}, setup).args.variable);
  EXPECT_TRUE(host::make_line("live", "release", {"altitude_m"}, setup).args.variable);
}

// The flight the results are read from: the selector at SET, the DH lamp
// (radalt element 6) lights below the decision height (50 ft); a named
// variable of the host's own.
constexpr const char* kLit = R"(register outside
gauge vrn_radalt radalt
start
set power 1
set on_ground 0
set display_variant 1
set altitude_m 300
write outside 5
at 0.5
click radalt area 3
at 1
set altitude_m 5
at 2
)";

TEST(ExpectationResults, EachFormSaysWhatWasWantedAndSeen) {
  const struct {
    std::string expectation;
    bool met;
    std::string wanted, seen, why;
  } cases[] = {
      {"expect element 6 of radalt hidden at 1", true, "hidden", "hidden", ""},
      {"expect element 6 of radalt shown at 1", false, "shown", "hidden", "it was hidden"},
      {"expect element dh_lamp of radalt shown at 2", true, "shown", "shown", ""},
      {"expect element dh_lamp of radalt hidden at 2", false, "hidden", "shown", "it was shown"},
      {"expect var outside = 5 at 1", true, "5", "5", ""},
      {"expect var outside = 6 at 1", false, "6", "5", "it was 5"},
      {"expect var outside = 5 at 9", false, "5", "the flight ended before then",
       "the flight ended before then"},
      {"expect key 1", false, "sent", "never", "it never happened"},
      {"expect key 1 between 0 and 1", false, "sent between 0 s and 1 s", "never",
       "it never happened then"},
      {"expect no key 1", true, "never", "never", ""},
      {"expect sound Sound\\none.wav", false, "heard", "never", "it never happened"},
      {"expect no sound Sound\\none.wav between 1 s and 2 s", true, "never between 1 s and 2 s",
       "never", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expectation);
    host::PanelHost panel(testing_host::options());
    const std::vector<host::ExpectationResult> results =
        host::FlightScript::parse(std::string(kLit) + c.expectation + "\n", "r.flight").fly(panel);
    ASSERT_EQ(results.size(), 1u);
    const host::ExpectationResult& r = results[0];
    EXPECT_EQ(r.where, "r.flight:14");
    EXPECT_EQ(r.text, c.expectation);
    EXPECT_EQ(r.met, c.met);
    EXPECT_EQ(r.wanted, c.wanted);
    EXPECT_EQ(r.seen, c.seen);
    EXPECT_EQ(r.why, c.why);
  }
}

TEST(ElementNames, FlightsNameElementsOrNumberThem) {
  const struct {
    std::string expectation;
    std::string error;  // its beginning; "" when it reads
  } cases[] = {
      {"expect element dh_lamp of radalt shown at 1", ""},
      {"expect element 6 of radalt shown at 1", ""},
      {"expect element off_flag_b of radalt hidden at 1", ""},
      {"expect element 99 of radalt shown at 1", ""},  // a number is the gauge's to refuse
      {"expect element dh_lump of radalt shown at 1",
       "f.flight:3: radalt has no element 'dh_lump'; its elements: background (0), "
       "ground_carrier (1), face_a (2), face_b (3), selector_set (4), selector_off (5), "
       "dh_lamp (6), dh_marker_a (7), dh_marker_b (8), height_pointer_a (9), height_pointer_b "
       "(10), bezel_mask (11), off_flag_a (12), off_flag_b (13)"},
      {"expect element lit_lamp of below shown at 1",
       "f.flight:3: element 'lit_lamp' of a gauge not placed before this line: 'below'"},
      {"expect element 4294967296 of radalt shown at 1",
       "f.flight:3: '4294967296' is not a whole number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expectation);
    const std::string error =
        error_of([&] { host::FlightScript::parse(kRadalt + c.expectation + "\n", "f.flight"); });
    if (c.error.empty()) {
      EXPECT_EQ(error, "(no error)");
    } else {
      EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
  }
  // A gauge without names is known by number only, and says so.
  EXPECT_EQ(error_of([] {
              host::FlightScript::parse(
                  "gauge cabsound XML-Sound\nexpect element icon of "
                  "XML-Sound shown at 1\n",
                  "f.flight");
            }),
            "f.flight:2: XML-Sound has no element 'icon'; its elements have no names, give the "
            "number");
}

TEST(ElementNames, TheLookupGoesBothWays) {
  const struct {
    const char* module;
    const char* gauge;
    size_t number;
    const char* name;  // nullptr: none
  } cases[] = {
      {"vrn_radalt", "radalt", 6, "dh_lamp"},     {"vrn_radalt", "radalt", 0, "background"},
      {"vrn_radalt", "radalt", 13, "off_flag_b"}, {"vrn_radalt", "radalt", 14, nullptr},
      {"vrn_gpws", "test", 2, "test_lamp"},       {"vrn_gpws", "below", 1, "lit_lamp"},
      {"vrn_gpws", "fi", 0, "lamp_background"},   {"vrn_gpws", "radalt", 6, nullptr},
      {"cabsound", "XML-Sound", 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.gauge) + "#" + std::to_string(c.number));
    const char* name = host::element_name(c.module, c.gauge, c.number);
    EXPECT_STREQ(name, c.name);
    if (c.name != nullptr) {
      EXPECT_EQ(host::element_number(c.module, c.gauge, c.name), c.number);
    }
  }
  EXPECT_EQ(host::element_number("vrn_gpws", "inop", "dh_lamp"), std::nullopt);
}

}  // namespace
