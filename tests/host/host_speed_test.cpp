// The host's lean per-frame path seen from outside: variables served from a
// flat table, and a log that records nothing while nobody reads it, without
// changing what the gauges do or what a recording log says.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "frame/host_facts.h"
#include "frame/records.h"
#include "fssound/fssound_host.h"
#include "host/event_text.h"
#include "host/flight_script.h"
#include "host/named_variables.h"
#include "host/panel_host.h"
#include "host/sim_variables.h"
#include "host_fixture.h"

namespace {

uint64_t served_bytes(const host::SimVariables& sim, uint32_t token) {
  frame::ModuleVar var{};
  var.token = token;
  std::memset(&var.value, 0xAB, sizeof var.value);
  sim.write_value(var);
  uint64_t bytes = 0;
  std::memcpy(&bytes, &var.value, sizeof bytes);
  return bytes;
}

struct SimCase {
  const char* what;
  uint32_t token;
  bool as_int;
  double value;  // for integers: the int32 value
  double read;
  uint64_t bytes;
};

TEST(HostSpeedSim, ServesWhatWasSetByAnyToken) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const SimCase cases[] = {
      {"clock", 1, false, 42.0, 42.0, std::bit_cast<uint64_t>(42.0)},
      {"power", facts::token::kPower, false, 1.0, 1.0, std::bit_cast<uint64_t>(1.0)},
      {"last small token", 1023, false, -0.0, -0.0, std::bit_cast<uint64_t>(-0.0)},
      {"first large token", 1024, false, 2.5, 2.5, std::bit_cast<uint64_t>(2.5)},
      {"huge token", 0xFFFFFFFFu, false, -3.0, -3.0, std::bit_cast<uint64_t>(-3.0)},
      {"nan kept bit for bit", 73, false, nan, nan, std::bit_cast<uint64_t>(nan)},
      {"integer in four bytes", 279, true, -2.0, -2.0, 0x00000000FFFFFFFEull},
      {"large integer token", 5000, true, 7.0, 7.0, 7ull},
      {"token zero", 0, false, 9.0, 9.0, std::bit_cast<uint64_t>(9.0)},
  };
  for (const SimCase& c : cases) {
    host::SimVariables sim;
    if (c.as_int) {
      sim.set_int(c.token, static_cast<int32_t>(c.value));
    } else {
      sim.set(c.token, c.value);
    }
    double read = sim.get(c.token);
    EXPECT_EQ(std::bit_cast<uint64_t>(read), std::bit_cast<uint64_t>(c.read)) << c.what;
    EXPECT_EQ(served_bytes(sim, c.token), c.bytes) << c.what;
    // Its neighbours stay unknown: zero, served as zero bytes.
    for (uint32_t other : {c.token - 1, c.token + 1}) {
      EXPECT_EQ(sim.get(other), 0.0) << c.what << " next to " << other;
      EXPECT_EQ(served_bytes(sim, other), 0u) << c.what << " next to " << other;
    }
  }
}

TEST(HostSpeedSim, LaterSetReplacesEarlierOfEitherKind) {
  for (uint32_t token : {60u, 4096u}) {
    host::SimVariables sim;
    sim.set(token, 1.5);
    sim.set_int(token, 3);
    EXPECT_EQ(sim.get(token), 3.0);
    EXPECT_EQ(served_bytes(sim, token), 3u);
    sim.set(token, 1.5);
    EXPECT_EQ(sim.get(token), 1.5);
    EXPECT_EQ(served_bytes(sim, token), std::bit_cast<uint64_t>(1.5));
  }
}

struct Seen {
  std::string name;
  int32_t value;
  bool operator==(const Seen&) const = default;
};

std::vector<Seen> changes(host::NamedVariables& named) {
  std::vector<Seen> out;
  named.take_changes([&](const std::string& name, int32_t value) { out.push_back({name, value}); });
  return out;
}

TEST(HostSpeedNamed, ChangesInNameOrderOnlyOnce) {
  host::NamedVariables named;
  int32_t zulu = 0;
  int32_t alpha = 0;
  int32_t mike = 0;
  named.register_storage("zulu", host::ref_of(&zulu), 0);
  named.register_storage("alpha", host::ref_of(&alpha), 0);
  named.register_storage("mike", host::ref_of(&mike), 0);
  EXPECT_TRUE(changes(named).empty());
  zulu = 3;
  alpha = -1;
  EXPECT_EQ(changes(named), (std::vector<Seen>{{"alpha", -1}, {"zulu", 3}}));
  EXPECT_TRUE(changes(named).empty());
  mike = 5;
  named.mark_seen();
  EXPECT_TRUE(changes(named).empty());
  mike = 6;
  auto listed = named.take_changes();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].name, "mike");
  EXPECT_EQ(listed[0].value, 6);

  int32_t other = 9;
  named.register_storage("mike", host::ref_of(&other), 0);  // replaces, and is seen as it is
  EXPECT_EQ(named.find("mike"), host::ref_of(&other));
  EXPECT_TRUE(changes(named).empty());
  named.unregister("alpha");
  alpha = 2;
  EXPECT_TRUE(changes(named).empty());
  EXPECT_FALSE(named.registered("alpha"));
  EXPECT_EQ(named.read("zulu"), 3);
}

// The approach flight on the six gauges of the demo panel.
struct Flown {
  std::vector<std::string> lines;  // the captured events as the log words them
  size_t lines_at_switch = 0;      // events when the switch frame ended
  std::vector<uint32_t> flags;     // every element's flags, at the check frame
  std::vector<uint64_t> needles;   // every needle's last value, bit for bit
  int32_t radalt_gpws = 0;
  std::string echoed;
  uint32_t sound_events = 0;  // kept by the sound library for the audio track
};

constexpr uint32_t kSwitchFrame = 400;
constexpr uint32_t kCheckFrame = 1000;

// `keep_from`: the frame after which the stream starts capturing events (0:
// from the start); `echo`: a text log into Flown::echoed.
Flown fly_approach(uint32_t keep_from, bool echo) {
  Flown flown;
  std::ostringstream out;
  host::FlightScript flight = host::FlightScript::load(SCENARIO_DIR "/approach.flight");
  host::HostOptions options = testing_host::options();
  options.echo = echo ? &out : nullptr;
  options.capture_events = keep_from == 0;
  host::PanelHost panel(options);
  panel.add_frame_observer([&](uint32_t frame) {
    if (frame == kSwitchFrame) flown.lines_at_switch = panel.events().events().size();
    if (keep_from != 0 && frame == keep_from) panel.events().set_capture(true);
    if (frame != kCheckFrame) return;
    for (const host::PanelGauge& g : flight.layout()) {
      const host::GaugeInstance& gauge = panel.gauge(g.gauge);
      for (size_t i = 0; i < gauge.elements.size(); ++i) {
        const host::ElementState& e = gauge.elements[i];
        flown.flags.push_back(gauge.flags(i));
        if (e.needle_seen) flown.needles.push_back(std::bit_cast<uint64_t>(e.last_value));
      }
    }
    flown.radalt_gpws = panel.named_read("radalt_gpws");
  });
  flight.run(panel);
  for (const host::Event& e : panel.events().events()) {
    std::string line;
    host::append_event_line(line, e);
    flown.lines.push_back(line);
  }
  flown.sound_events = FSSound_HostEventCount();
  flown.echoed = out.str();
  return flown;
}

TEST(HostSpeedPanel, GaugesDoTheSameWhetherTheLogRecordsOrNot) {
  Flown kept = fly_approach(0, false);
  Flown off = fly_approach(100000, false);  // never switched on
  ASSERT_FALSE(kept.flags.empty());
  EXPECT_GT(kept.lines.size(), 1000u);
  EXPECT_TRUE(off.lines.empty());
  EXPECT_GT(kept.sound_events, 0u);
  EXPECT_EQ(off.sound_events, 0u);  // the sound library keeps quiet with the log
  EXPECT_EQ(off.flags, kept.flags);
  EXPECT_EQ(off.needles, kept.needles);
  EXPECT_EQ(off.radalt_gpws, kept.radalt_gpws);
}

TEST(HostSpeedPanel, LogSwitchedOnMidFlightSaysWhatARecordingLogSays) {
  Flown kept = fly_approach(0, false);
  Flown late = fly_approach(kSwitchFrame, false);
  ASSERT_LT(kept.lines_at_switch, kept.lines.size());
  std::vector<std::string> tail(kept.lines.begin() + static_cast<ptrdiff_t>(kept.lines_at_switch),
                                kept.lines.end());
  EXPECT_EQ(late.lines, tail);
}

TEST(HostSpeedPanel, EchoOnlyWritesTheSameLines) {
  Flown kept = fly_approach(0, false);
  Flown echoed = fly_approach(100000, true);
  std::string joined;
  for (const std::string& line : kept.lines) joined += line + "\n";
  EXPECT_TRUE(echoed.lines.empty());
  EXPECT_EQ(echoed.echoed, joined);
}

// Module code and the host services it calls, told apart by the call hook
// also while the log records nothing.
int depth = 0;
uint64_t host_services_called = 0;
bool went_negative = false;

void count_calls(int delta) {
  if (delta < 0 && depth == 1) ++host_services_called;
  depth += delta;
  if (depth < 0) went_negative = true;
}

TEST(HostSpeedPanel, CallHookSeesHostServicesWithTheLogOff) {
  uint64_t called[2] = {0, 0};
  for (bool keep : {false, true}) {
    depth = 0;
    host_services_called = 0;
    went_negative = false;
    host::module_call_hook = &count_calls;
    {
      host::FlightScript flight = host::FlightScript::load(SCENARIO_DIR "/approach.flight");
      host::HostOptions options = testing_host::options();
      options.capture_events = keep;
      host::PanelHost panel(options);
      flight.run(panel);
    }
    host::module_call_hook = nullptr;
    EXPECT_EQ(depth, 0) << "keep " << keep;
    EXPECT_FALSE(went_negative) << "keep " << keep;
    called[keep ? 1 : 0] = host_services_called;
  }
  // The same calls whatever the log does; every update looks variables up,
  // so there are far more of them than frames.
  EXPECT_EQ(called[0], called[1]);
  EXPECT_GT(called[0], 10000u);
}

}  // namespace
