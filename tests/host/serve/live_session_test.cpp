// A live session on the host's thread: inputs applied between frames through
// the flight commands, a flight from scenarios/ played and taken over, and
// the session saved as a flight that `fly` replays to the same event log.
#include "host/serve/live_session.h"

#include <gtest/gtest.h>

#include <sstream>

#include "host/flight_script.h"
#include "host_fixture.h"

namespace {

using host::FlightCommand;
using host::serve::LiveSession;

const std::string kPanel = SCENARIO_DIR "/panel.cfg";

host::HostOptions logged_to(std::ostream& log) {
  host::HostOptions options = testing_host::options();
  options.echo = &log;
  return options;
}

FlightCommand line(const std::string& text) {
  std::istringstream words(text);
  FlightCommand c{"test", {}, {}};
  words >> c.verb;
  for (std::string word; words >> word;) c.args.push_back(word);
  return c;
}

void steps(LiveSession& session, int frames) {
  for (int i = 0; i < frames; ++i) session.step();
}

// Flies the saved flight on a host of its own; its event log.
std::string replay(const std::string& saved, std::vector<std::string>* failed = nullptr) {
  std::ostringstream log;
  host::PanelHost panel(logged_to(log));
  std::vector<std::string> failures = host::FlightScript::parse(saved, "saved.flight").run(panel);
  if (failed != nullptr) *failed = failures;
  return log.str();
}

// Power on, the DH knob held up and SET, then down through the decision
// height a few metres a frame, as a pilot at the page would.
void fly_through_minimums(LiveSession& session) {
  steps(session, 5);
  for (const char* input : {"set power 1", "set phase 1", "set gear 16383", "set flaps 16383",
                            "set display_variant 1", "set altitude_m 300"}) {
    session.apply(line(input));
  }
  steps(session, 9);
  session.apply(line("hold radalt 45 230"));  // the DH knob, held: it repeats
  steps(session, 12);
  session.apply(line("release radalt"));
  session.apply(line("click radalt area 3"));  // SET
  steps(session, 3);
  for (int metres = 280; metres >= 10; metres -= 30) {
    session.apply(line("set altitude_m " + std::to_string(metres)));
    steps(session, 2);
  }
}

TEST(LiveSession, AFlightFlownByHandReplaysToTheSameLog) {
  std::ostringstream log;
  std::string saved;
  {
    LiveSession session(logged_to(log), kPanel);
    fly_through_minimums(session);
    steps(session, 20);
    saved = session.recording().text(session.host().frame(), "by hand");
  }
  EXPECT_NE(saved.find("at 0.8\nhold radalt 45 230\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("expect sound Sound\\minimums.wav between"), std::string::npos) << saved;
  EXPECT_NE(saved.find("expect element dh_lamp of radalt shown at"), std::string::npos) << saved;
  std::vector<std::string> failed;
  EXPECT_EQ(replay(saved, &failed), log.str());
  EXPECT_EQ(failed, std::vector<std::string>{});
}

TEST(LiveSession, AScenarioPlaysUntilTakenOverAndItsRampsStopThere) {
  std::ostringstream log;
  std::string saved;
  double altitude_at_take_over = 0;
  {
    LiveSession session(logged_to(log), SCENARIO_DIR "/approach.flight");
    EXPECT_TRUE(session.playing());
    steps(session, 18 * 20);  // 20 s into the 65.6 s descent
    session.take_over();
    EXPECT_FALSE(session.playing());
    altitude_at_take_over = session.host().sim().get(73);
    steps(session, 36);
    EXPECT_EQ(session.host().sim().get(73), altitude_at_take_over) << "the ramp ended";
    session.apply(line("set altitude_m 20"));
    steps(session, 36);
    saved = session.recording().text(session.host().frame(), "taken over");
  }
  EXPECT_GT(altitude_at_take_over, 100);
  EXPECT_LT(altitude_at_take_over, 300);
  EXPECT_NE(saved.find("panel " SCENARIO_DIR "/panel.cfg\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("at 20\nset altitude_m 208.55"), std::string::npos) << saved;
  EXPECT_NE(saved.find("ramp altitude_m 0 over 65.6"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("at 57"), std::string::npos) << "nothing of the flight after 20 s";
  EXPECT_EQ(replay(saved), log.str());
}

// Taken over while the flight holds the DH knob: the knob is let go, as a
// line of the saved flight, and the replay matches.
TEST(LiveSession, TakingOverLetsGoOfAHeldKnob) {
  std::ostringstream log;
  std::string saved;
  double dh_after = 0;
  {
    LiveSession session(logged_to(log), SCENARIO_DIR "/radar_altimeter.flight");
    steps(session, 18 + 4);  // the knob is held from 1 s
    session.take_over();
    const int32_t dh = session.host().named_read("radalt_adi");
    steps(session, 18);
    dh_after = session.host().named_read("radalt_adi");
    EXPECT_EQ(dh_after, dh) << "the knob stopped turning";
    saved = session.recording().text(session.host().frame(), "held");
  }
  EXPECT_NE(saved.find("at 1\nhold radalt area 2\nat 1.2\nrelease radalt\n"), std::string::npos)
      << saved;
  EXPECT_GT(dh_after, 50);
  EXPECT_EQ(replay(saved), log.str());
}

TEST(LiveSession, RefusesWhatIsNoInputAndKeepsNothingOfIt) {
  std::ostringstream log;
  LiveSession session(logged_to(log), kPanel);
  const size_t kept = session.recording().size();
  const struct {
    const char* input;
    const char* error;
  } cases[] = {
      {"at 5", "'at' is not an input"},
      {"frames 2", "'frames' is not an input"},
      {"wait 1", "'wait' is not an input"},
      {"gauge vrn_gpws below", "'gauge' is not an input"},
      {"panel panel.cfg", "'panel' is not an input"},
      {"expect key 1", "'expect' is not an input"},
      {"rate 30", "'rate' belongs before 'start'"},
      {"set nothing 1", "test: unknown variable 'nothing'"},
      {"click radalt area 0", "test: areas are numbered from 1"},
      {"launch", "test: unknown command 'launch'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(testing_host::error_of([&] { session.apply(line(c.input)); }).rfind(c.error, 0), 0u)
        << testing_host::error_of([&] { session.apply(line(c.input)); });
  }
  EXPECT_EQ(session.recording().size(), kept);
  session.apply(line("stop"));
  EXPECT_TRUE(session.ended());
  EXPECT_EQ(testing_host::error_of([&] { session.apply(line("set power 1")); }),
            "the flight has ended");
}

TEST(LiveSession, ThePageHearsOfVoicesLampsAndTheStopsOfWhatItPlays) {
  std::ostringstream log;
  LiveSession session(logged_to(log), kPanel);
  fly_through_minimums(session);
  steps(session, 10);
  std::vector<std::string> seen;
  for (const host::serve::PageEvent& e : session.take_events()) {
    seen.push_back(e.kind + " " + e.what + (e.sound.empty() ? "" : " (" + e.sound + ")"));
  }
  EXPECT_NE(std::find(seen.begin(), seen.end(), "voice minimums (Sound\\minimums.wav)"), seen.end())
      << ::testing::PrintToString(seen);
  EXPECT_NE(std::find(seen.begin(), seen.end(), "lamp dh_lamp of radalt shown"), seen.end());
  EXPECT_EQ(
      std::count_if(seen.begin(), seen.end(), [](const std::string& s) { return s[0] == 's'; }), 0)
      << "no stops of sounds the page never played";
  EXPECT_EQ(session.sounds().count("Sound\\minimums.wav"), 1u);
}

// The aircraft flown by hand as the page's keys fly it: each command kept
// as given at its time, a command refused in flight (no aircraft yet) kept
// not at all, and the saved flight replays to the session's log.
TEST(LiveSession, AnAircraftFlownByHandIsSavedAsGivenAndReplays) {
  std::ostringstream log;
  std::string saved;
  double start_ft = 0, low_ft = 0;
  {
    LiveSession session(logged_to(log), kPanel);
    steps(session, 5);
    const size_t kept = session.recording().size();
    const std::string refused =
        testing_host::error_of([&] { session.apply(line("descend 500 fpm")); });
    EXPECT_NE(refused.find("no aircraft"), std::string::npos) << refused;
    EXPECT_EQ(session.recording().size(), kept) << "a refused line is not kept";
    session.apply(line("aircraft 5 nm 1500 ft 140 kt 0 fpm"));
    session.apply(line("glidepath 3 deg"));
    steps(session, 18);
    ASSERT_NE(session.host().aircraft(), nullptr);
    start_ft = session.host().aircraft()->state().altitude_ft;
    for (const char* input : {"descend 1200 fpm", "gear down", "speed 130 kt"}) {
      session.apply(line(input));
    }
    steps(session, 18 * 6);
    low_ft = session.host().aircraft()->state().altitude_ft;
    for (const char* input : {"flaps approach", "follow glidepath -1 dots", "set altitude_m 300"}) {
      session.apply(line(input));
    }
    steps(session, 18 * 3);
    session.apply(line("release altitude_m"));
    session.apply(line("power off"));
    steps(session, 9);
    session.apply(line("power on"));
    session.apply(line("level"));
    steps(session, 18 * 2);
    saved = session.recording().text(session.host().frame(), "aircraft by hand");
  }
  EXPECT_LT(low_ft, start_ft - 50) << "the descent took it down";
  EXPECT_NE(saved.find("at 0.3\naircraft 5 nm 1500 ft 140 kt 0 fpm\nglidepath 3 deg\n"),
            std::string::npos)
      << saved;
  EXPECT_NE(saved.find("\ndescend 1200 fpm\ngear down\nspeed 130 kt\n"), std::string::npos);
  EXPECT_NE(saved.find("\nflaps approach\nfollow glidepath -1 dots\nset altitude_m 300\n"),
            std::string::npos);
  EXPECT_NE(saved.find("\nrelease altitude_m\npower off\n"), std::string::npos);
  EXPECT_EQ(saved.find("descend 500"), std::string::npos);
  std::vector<std::string> failed;
  EXPECT_EQ(replay(saved, &failed), log.str());
  EXPECT_EQ(failed, std::vector<std::string>{});
}

}  // namespace
