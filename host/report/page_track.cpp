#include "host/report/page_track.h"

#include <cmath>

#include "frame/convert.h"
#include "host/audio/track_mixer.h"
#include "host/audio/wav_file.h"
#include "host/report/ogg_opus.h"

namespace host::report {
namespace {

static_assert(audio::kTrackRate == 2 * kPageWavRate, "the WAV track halves the mix's rate");

// Linear interpolation in whole numbers, as audio::resample_linear does
// for doubles: an hour's track would not fit in memory as doubles. Zero
// between zeros stays zero, so the silences stay free to encode.
std::vector<int16_t> resample(const std::vector<int16_t>& in, uint64_t from, uint64_t to) {
  std::vector<int16_t> out;
  if (in.empty()) return out;
  const uint64_t count = (static_cast<uint64_t>(in.size()) * to + from / 2) / from;
  out.reserve(static_cast<size_t>(count));
  const size_t last = in.size() - 1;
  for (uint64_t k = 0; k < count; ++k) {
    const uint64_t position = k * from;
    const auto i = static_cast<size_t>(position / to);
    const auto fraction = static_cast<int64_t>(position % to);
    const int64_t a = in[i < last ? i : last];
    const int64_t b = in[i + 1 < last ? i + 1 : last];
    out.push_back(static_cast<int16_t>(a + (b - a) * fraction / static_cast<int64_t>(to)));
  }
  return out;
}

}  // namespace

PageTrack page_track(const std::vector<Event>& events, double frames_per_second, double seconds,
                     const std::string& sound_root) {
  std::vector<int16_t> full = audio::mix_track(events, frames_per_second, sound_root);
  full.resize(
      static_cast<size_t>(frame::trunc_saturate<uint32_t>(std::round(seconds * audio::kTrackRate))),
      0);
  if (opus_supported()) {
    return {ogg_opus(resample(full, audio::kTrackRate, kOpusInputRate)), "audio/ogg"};
  }
  // The mean of each pair: halving the rate without folding the top octave
  // back down as a whistle.
  std::vector<int16_t> half;
  half.reserve(full.size() / 2 + 1);
  for (size_t i = 0; i < full.size(); i += 2) {
    const int32_t next = i + 1 < full.size() ? full[i + 1] : full[i];
    half.push_back(static_cast<int16_t>((int32_t{full[i]} + next) / 2));
  }
  return {audio::encode_wav_mono16(kPageWavRate, half), "audio/wav"};
}

}  // namespace host::report
