#include "host/report/page_track.h"

#include "host/audio/track_mixer.h"
#include "host/audio/wav_file.h"

namespace host::report {

static_assert(audio::kTrackRate == 2 * kPageTrackRate, "the page track halves the mix's rate");

std::vector<uint8_t> page_track(const std::vector<Event>& events, double frames_per_second,
                                const std::string& sound_root) {
  const std::vector<int16_t> full = audio::mix_track(events, frames_per_second, sound_root);
  // The mean of each pair: halving the rate without folding the top octave
  // back down as a whistle.
  std::vector<int16_t> half;
  half.reserve(full.size() / 2 + 1);
  for (size_t i = 0; i < full.size(); i += 2) {
    const int32_t next = i + 1 < full.size() ? full[i + 1] : full[i];
    half.push_back(static_cast<int16_t>((int32_t{full[i]} + next) / 2));
  }
  return audio::encode_wav_mono16(kPageTrackRate, half);
}

}  // namespace host::report
