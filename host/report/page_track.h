#pragma once
// The flight's sound track for the report page: the same mix as
// gaugehost --audio, at half the rate to keep the page small.
#include <cstdint>
#include <string>
#include <vector>

#include "host/event.h"

namespace host::report {

inline constexpr uint32_t kPageTrackRate = 11025;

// The bytes of a 16-bit mono WAV file at kPageTrackRate; throws HostError
// as the mixer does (a missing or unplayable WAV file).
std::vector<uint8_t> page_track(const std::vector<Event>& events, double frames_per_second,
                                const std::string& sound_root);

}  // namespace host::report
