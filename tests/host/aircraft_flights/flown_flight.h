#pragma once
// A flight of the aircraft as the GPWS lived it: for every frame, the
// aircraft's state after its step (it serves its names before the frame)
// and a few of the values the modules read; and what was heard and shown, by
// voice and by element name, with the frame it happened in. Everything is
// copied out while the panel host lives, so the panel may go (only one host
// runs at a time) before the envelope's probe flies its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "frame/host_facts.h"
#include "host/aircraft/aircraft.h"
#include "host/event_marks.h"
#include "host/flight_script.h"
#include "host_fixture.h"

namespace aircraft_flights {

struct FlownFrame {
  uint32_t frame = 0;
  // The aircraft after its step into this frame: the state the envelope's
  // axes are in (height above the ground, vertical speed, closure).
  host::aircraft::AircraftState aircraft;
  // As the modules read them in this frame.
  double glideslope_deviation = 0.0;
  double gear = 0.0;
  double on_ground = 0.0;

  // Height above the ground below (ft), which over a terrain profile is also
  // the height above the terrain.
  double height_ft() const { return aircraft.altitude_ft - aircraft.ground_elevation_ft; }
};

struct Sighting {
  uint32_t frame = 0;
  enum Kind { kVoice, kShown, kHidden } kind = kVoice;
  std::string name;  // a voice's name ("sinkrate"), an element's ("lit_lamp of below")
  std::string path;  // a voice's path as the module played it ("Sound\sinkrate.wav")
};

struct FlownFlight {
  std::vector<FlownFrame> frames;  // those with an aircraft flying
  std::vector<Sighting> sightings;
  std::vector<std::string> failures;  // the flight's own expectations that failed

  const FlownFrame* at(uint32_t frame) const {
    for (const FlownFrame& f : frames) {
      if (f.frame == frame) return &f;
    }
    return nullptr;
  }
  std::vector<uint32_t> frames_of(Sighting::Kind kind, const std::string& name) const {
    std::vector<uint32_t> out;
    for (const Sighting& s : sightings) {
      if (s.kind == kind && s.name == name) out.push_back(s.frame);
    }
    return out;
  }
  std::optional<uint32_t> first(Sighting::Kind kind, const std::string& name) const {
    const auto all = frames_of(kind, name);
    if (all.empty()) return std::nullopt;
    return all.front();
  }
  std::optional<uint32_t> first_voice(const std::string& voice) const {
    return first(Sighting::kVoice, voice);
  }
  std::optional<uint32_t> first_shown(const std::string& element) const {
    return first(Sighting::kShown, element);
  }
  // How fast the height above the terrain shrank into the `i`th frame
  // (i > 0), in ft/min.
  double closure_fpm(size_t i, double frames_per_second) const {
    EXPECT_EQ(frames[i].frame, frames[i - 1].frame + 1);
    return (frames[i - 1].height_ft() - frames[i].height_ft()) * frames_per_second * 60.0;
  }
};

// The GPWS's PULL UP lamp, the face its warning cycle flashes.
inline const char* const kPullUpLamp = "warning_lamp of test";
inline const char* const kBelowGlideslopeLamp = "lit_lamp of below";

inline void note_events(const host::PanelHost& panel, size_t& read, FlownFlight& out) {
  const std::vector<host::Event>& events = panel.events().events();
  for (; read < events.size(); ++read) {
    const host::Event& e = events[read];
    if (host::voice_heard(e)) {
      out.sightings.push_back({e.frame, Sighting::kVoice, host::voice_name(e.text), e.text});
    } else if (host::visibility_changed(e)) {
      out.sightings.push_back({e.frame,
                               host::element_now_shown(e) ? Sighting::kShown : Sighting::kHidden,
                               host::element_text(e),
                               {}});
    }
  }
}

// Flies a flight's text (its terrain files by absolute path) on the modules
// the tests fly: this build's, or the .gau files GAUGE_MODULE_DIR names.
inline FlownFlight fly(const std::string& text) {
  namespace token = facts::token;
  FlownFlight out;
  const host::FlightScript script = host::FlightScript::parse(text, "aircraft.flight");
  host::PanelHost panel(testing_host::options());
  size_t read = 0;
  panel.add_frame_observer([&](uint32_t frame) {
    note_events(panel, read, out);
    const host::aircraft::Aircraft* aircraft = std::as_const(panel).aircraft();
    if (aircraft == nullptr) return;
    const host::SimVariables& sim = panel.sim();
    FlownFrame f;
    f.frame = frame;
    f.glideslope_deviation = sim.get(token::kGlideslopeDeviation);
    f.gear = sim.get(token::kGear);
    f.on_ground = sim.get(token::kOnGround);
    f.aircraft = aircraft->state();
    out.frames.push_back(f);
  });
  out.failures = script.run(panel);
  note_events(panel, read, out);
  return out;
}

}  // namespace aircraft_flights
