#include "host/audio/track_mixer.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "formats/sim_path.h"
#include "frame/convert.h"
#include "host/audio/resample.h"
#include "host/audio/sound_timeline.h"
#include "host/audio/wav_file.h"
#include "host/host_error.h"

namespace host::audio {
namespace {

// Each file once, already at the track's rate.
class ClipCache {
 public:
  explicit ClipCache(std::string root) : root_(std::move(root)) {}

  const std::vector<double>& get(const std::string& relative) {
    auto it = clips_.find(relative);
    if (it == clips_.end()) {
      const WavClip clip = read_wav(formats::sim_file_path(root_, relative));
      it = clips_.emplace(relative, resample_linear(clip.mono, clip.sample_rate, kTrackRate)).first;
    }
    return it->second;
  }

 private:
  std::string root_;
  std::map<std::string, std::vector<double>> clips_;
};

struct Placed {
  const std::vector<double>* samples;
  size_t start;
  size_t end;  // exclusive; a loop wraps around its clip until here
};

}  // namespace

std::vector<int16_t> mix_track(const std::vector<Event>& events, double frames_per_second,
                               const std::string& sound_root) {
  if (!(frames_per_second > 0.0) || !std::isfinite(frames_per_second)) {
    throw HostError("audio track: frames per second must be positive");
  }
  // Rounded to the nearest sample, so frame f starts at f / fps seconds.
  const auto sample_of = [frames_per_second](uint32_t frame) {
    const double at = static_cast<double>(frame) * kTrackRate / frames_per_second + 0.5;
    return static_cast<size_t>(frame::trunc_saturate<uint32_t>(at));
  };
  const SoundTimeline timeline = read_timeline(events);
  const size_t log_end = sample_of(timeline.last_frame);

  ClipCache cache(sound_root);
  std::vector<Placed> placed;
  size_t length = log_end;
  for (const VoiceSpan& voice : timeline.voices) {
    const std::vector<double>& clip = cache.get(voice.path);
    const size_t start = sample_of(voice.start_frame);
    size_t end = 0;
    if (voice.loop) {
      end = voice.cut_frame ? sample_of(*voice.cut_frame) : log_end;
      if (clip.empty()) end = start;
    } else {
      end = start + clip.size();
      if (voice.cut_frame) end = std::min(end, sample_of(*voice.cut_frame));
    }
    if (end <= start) continue;
    placed.push_back(Placed{&clip, start, end});
    length = std::max(length, end);
  }

  std::vector<double> sum(length, 0.0);
  for (const Placed& p : placed) {
    const std::vector<double>& clip = *p.samples;
    size_t from = 0;
    for (size_t at = p.start; at < p.end; ++at) {
      sum[at] += clip[from];
      if (++from == clip.size()) from = 0;
    }
  }
  std::vector<int16_t> track;
  track.reserve(length);
  // trunc_saturate clips the sum at the 16-bit ends.
  for (double v : sum) track.push_back(frame::trunc_saturate<int16_t>(std::round(v)));
  return track;
}

size_t write_track(const std::string& path, const std::vector<Event>& events,
                   double frames_per_second, const std::string& sound_root) {
  const std::vector<int16_t> track = mix_track(events, frames_per_second, sound_root);
  write_wav_mono16(path, kTrackRate, track);
  return track.size();
}

}  // namespace host::audio
