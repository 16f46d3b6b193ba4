#pragma once
// Which sound played when, read back from the event log's sound library
// lines (`sound play h=3 "Sound\a.wav" loop=0 -> 1`, `sound stop h=3 ...`,
// `sound unload h=3 ...`), each stamped with its frame.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
  uint32_t last_frame = 0;        // the frame of the log's last line
};

// Refused plays (`-> 0`) change nothing, as in the library; lines that are
// not sound calls only move the last frame on.
SoundTimeline read_timeline(const std::vector<std::string>& log_lines);

}  // namespace host::audio
