#pragma once
// vrn_gpws on a panel with all four of its gauges, flying level and powered
// at a safe height, with helpers that set inputs by name and read back the
// voices and lamps of each frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/host_facts.h"
#include "host_fixture.h"

namespace gpws_test {

using Lines = std::vector<std::string>;

enum Token : uint32_t {
  kAltitude = facts::token::kAltitude,
  kGround = facts::token::kGroundElevation,
  kGear = facts::token::kGear,
  kFlaps = facts::token::kFlaps,
  kPhase = facts::token::kPhase,
  kVerticalSpeed = facts::token::kVerticalSpeed,
  kGlideslope = facts::token::kGlideslopeDeviation,
  kOnGround = facts::token::kOnGround,
  kPower = facts::token::kPower,
  kTerrainHeight = facts::token::kTerrainHeight,
  kTimeSeconds = facts::token::kTimeSeconds,
  kClimbAltitude = facts::token::kClimbAltitude,
  kAltitudeUnits = facts::token::kAltitudeUnits,
};

inline constexpr double kGearDown = 16383.0;
inline constexpr double kLandingFlaps = 16380.0;

class Gpws : public ::testing::Test {
 protected:
  explicit Gpws(const std::string& root = SIM_ROOT) : panel(testing_host::options(root)) {}

  void SetUp() override {
    for (const char* gauge : {"test", "below", "inop", "fi"}) panel.add_gauge("vrn_gpws", gauge);
    panel.start();
    panel.sim().set(kPower, 1.0);
    panel.sim().set(kOnGround, 0.0);
    at_metres(1000);
  }

  // Height above a ground at sea level, in whole metres (1 m = 3.28 ft).
  void at_metres(double metres, double ground_m = 0.0) {
    panel.sim().set(kAltitude, metres);
    panel.sim().set(kGround, ground_m * 256.0);
  }
  void set(Token token, double value) { panel.sim().set(token, value); }

  // Runs frames and returns what they did, without lookups.
  Lines frames(uint32_t count = 1) {
    size_t from = testing_host::mark(panel);
    panel.run_frames(count);
    return testing_host::events(panel, from);
  }
  // The voices heard over `count` frames, in order.
  Lines voices(uint32_t count = 1) {
    size_t from = testing_host::mark(panel);
    panel.run_frames(count);
    return testing_host::voices(panel, from);
  }
  // Voices heard and element changes of each frame, as "N what" with N
  // counted from 0 for the first of `count` frames.
  Lines timeline(uint32_t count) {
    Lines out;
    for (uint32_t i = 0; i < count; ++i) {
      size_t from = testing_host::mark(panel);
      panel.run_frame();
      const std::vector<host::Event>& all = panel.events().events();
      for (size_t k = from; k < all.size(); ++k) {
        const host::Event& e = all[k];
        if (host::voice_heard(e)) {
          out.push_back(std::to_string(i) + " " + testing_host::voices(panel, k)[0]);
        } else if (e.kind == host::EventKind::kElementFlags) {
          out.push_back(std::to_string(i) + " " + e.label + "#" + std::to_string(e.element) +
                        (host::element_now_shown(e) ? " shown" : " hidden"));
        }
      }
    }
    return out;
  }
  // One frame without power clears every latch and lamp.
  void power_cycle() {
    set(kPower, 0.0);
    frames();
    set(kPower, 1.0);
  }
  bool lamp(const char* gauge) { return !panel.element_hidden(gauge, 1); }

  host::PanelHost panel;
};

}  // namespace gpws_test
