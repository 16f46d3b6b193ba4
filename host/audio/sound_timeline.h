#pragma once
// Which sound played when, from the sound library's events: each voice the
// library started, from its frame until a stop, unload or new play of the
// same handle cut it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/event.h"

namespace host::audio {

struct VoiceSpan {
  std::string path;  // as the module passed it, e.g. Sound\a.wav
  uint32_t handle = 0;
  bool loop = false;
  uint32_t start_frame = 0;
  // The stop, unload or new play of the same handle that cut it. None: a
  // single play runs to its end, a loop until the track ends.
  std::optional<uint32_t> cut_frame;
};

struct SoundTimeline {
  std::vector<VoiceSpan> voices;  // in the order they started
  uint32_t last_frame = 0;        // the frame of the last event
};

// Refused plays change nothing, as in the library; other events only move
// the last frame on.
SoundTimeline read_timeline(const std::vector<Event>& events);

}  // namespace host::audio
