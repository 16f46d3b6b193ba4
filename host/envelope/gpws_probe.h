#pragma once
// What the sweeps need of a panel with the GPWS on it: its inputs set by
// token, and what the last frames showed and played.
#include <cstdint>
#include <string>

#include "host/panel_host.h"
#include "host/sim_names.h"

namespace host::envelope {

inline constexpr double kFramesPerSecond = 18.0;

// The GPWS's "test" gauge alone: it runs the whole GPWS and carries the
// PULL UP lamp. Started, powered, airborne.
void place_gpws(PanelHost& panel);

// Whether the events from the `from`th on played `voice` (e.g. "sinkrate") or lit the
// PULL UP lamp.
bool played(const PanelHost& panel, size_t from, const std::string& voice);
bool pull_up_lamp_lit(const PanelHost& panel, size_t from);

// HostError unless Sound\NAME.wav is under the sound root.
void require_voice(const std::string& sound_root, const std::string& voice);

}  // namespace host::envelope
