#pragma once
// The flight's sound track for the report page: the same mix as
// gaugehost --audio, made small. Ogg Opus where the build has it; else a
// WAV at half the mix's rate.
#include <cstdint>
#include <string>
#include <vector>

#include "host/event.h"

namespace host::report {

inline constexpr uint32_t kPageWavRate = 11025;

struct PageTrack {
  std::vector<uint8_t> bytes;
  std::string mime;  // "audio/ogg" or "audio/wav"
};

// The track lasts the flight's `seconds` exactly (cut or padded with
// silence), so the page's player shows the flight's length. Throws HostError
// as the mixer does (a missing or unplayable WAV file).
PageTrack page_track(const std::vector<Event>& events, double frames_per_second, double seconds,
                     const std::string& sound_root);

}  // namespace host::report
