#pragma once
// One WAV track of a whole flight, from its events: every sound the
// modules played, at the time of its frame, cut where they stopped it, all
// summed into 16-bit mono at 22050 Hz.
#include <cstdint>
#include <string>
#include <vector>

#include "host/event.h"

namespace host::audio {

inline constexpr uint32_t kTrackRate = 22050;

// The track's samples. It lasts until the last event's frame, or longer when
// a sound that was not cut plays on past it. Throws HostError naming a WAV
// file that is missing or not playable.
std::vector<int16_t> mix_track(const std::vector<Event>& events, double frames_per_second,
                               const std::string& sound_root);

// Mixes the track and writes it to `path` (through PATH.tmp). Returns the
// number of samples written.
size_t write_track(const std::string& path, const std::vector<Event>& events,
                   double frames_per_second, const std::string& sound_root);

}  // namespace host::audio
