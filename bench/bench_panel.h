#pragma once
// The demo panel's six gauges on the real host, and the states the
// measurements fly them in: each state is a short flight repeated over and
// over, so callouts and alerts keep happening while it is measured.
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "frame/host_facts.h"
#include "host/panel_config.h"
#include "host/panel_host.h"
#include "host/sim_variables.h"

namespace bench {

enum class State { kCruise, kApproach, kTerrain, kSelfTest };

inline const char* state_name(State s) {
  switch (s) {
    case State::kCruise:
      return "cruise";
    case State::kApproach:
      return "approach";
    case State::kTerrain:
      return "terrain";
    case State::kSelfTest:
      return "selftest";
  }
  return "?";
}

inline constexpr double kFramesPerSecond = 18.0;

// Events kept in memory before they are dropped, so that a long
// measurement does not grow without bound.
inline constexpr size_t kEventLimit = 1u << 20;
// Frames flown before a frame rate is measured: enough for every state
// (at least 22 events a frame) to fill the kept events past kEventLimit.
inline constexpr uint32_t kWarmUpFrames = 60000;

class BenchPanel {
 public:
  explicit BenchPanel(State state,
                      host::HostOptions options = host::HostOptions{MODULE_DIR, SIM_ROOT, nullptr})
      : panel_(std::move(options)) {
    for (const host::PanelGauge& g : host::load_panel(PANEL_CFG).gauges()) {
      labels_.push_back(panel_.add_gauge(g.module, g.gauge));
    }
    panel_.start();
    state_ = state;
    set(facts::token::kPower, 1.0);     // power
    set(facts::token::kOnGround, 0.0);  // airborne
    if (state == State::kApproach) {
      set(facts::token::kPhase, 1.0);                               // on approach
      set(facts::token::kGear, 16383);                              // gear down
      set(facts::token::kFlaps, 10000);                             // approach flaps
      set(facts::token::kVerticalSpeed, -900);                      // ft/min
      set(facts::token::kDisplayVariant, 1.0);                      // radar altimeter set A
      for (int i = 0; i < 10; ++i) panel_.click_area("radalt", 2);  // DH 200 ft
      panel_.click_area("radalt", 3);
    }
    if (state == State::kSelfTest) set(facts::token::kOnGround, 1.0);
    panel_.events().clear();
  }

  host::PanelHost& host() { return panel_; }
  const std::vector<std::string>& labels() const { return labels_; }

  // Sets the inputs of the next frame; `with_clock` also sets the host
  // clock, for updates driven one gauge at a time instead of by run_frame.
  void step(bool with_clock) {
    ++frame_;
    double t = static_cast<double>(frame_) / kFramesPerSecond;
    set(facts::token::kTimeSeconds, t);
    if (with_clock) set(host::kTokenTicks, static_cast<double>(frame_));
    switch (state_) {
      case State::kCruise:
        set(facts::token::kAltitude, 3000.0);
        set(facts::token::kTerrainHeight, 3000.0);
        break;
      case State::kApproach: {
        // 300 m to the runway in 65.6 s, below the glideslope for a while.
        double f = std::fmod(t, 68.0) / 65.6;
        double h = f < 1.0 ? 300.0 * (1.0 - f) : 0.0;
        set(facts::token::kAltitude, h);
        set(facts::token::kTerrainHeight, h);
        set(facts::token::kGlideslopeDeviation, (f > 0.18 && f < 0.24) ? -60.0 : 0.0);
        set(facts::token::kFlaps, f > 0.87 ? 16383.0 : 10000.0);
        set(facts::token::kOnGround, f < 1.0 ? 0.0 : 1.0);
        break;
      }
      case State::kTerrain: {
        // Terrain rising at 6000 ft/min from 1000 ft below, again every 8 s.
        double s = std::fmod(t, 8.0);
        set(facts::token::kAltitude, 3000.0);
        set(facts::token::kClimbAltitude, 5000.0);
        set(facts::token::kTerrainHeight, s < 7.0 ? 305.0 - 30.5 * s : 305.0);
        break;
      }
      case State::kSelfTest:
        if (frame_ % 90 == 1) panel_.click_area("test", 1);
        break;
    }
    if (panel_.events().events().size() > kEventLimit) panel_.events().clear();
  }

 private:
  void set(uint32_t token, double value) { panel_.sim().set(token, value); }

  host::PanelHost panel_;
  std::vector<std::string> labels_;
  State state_ = State::kCruise;
  uint64_t frame_ = 0;
};

}  // namespace bench
