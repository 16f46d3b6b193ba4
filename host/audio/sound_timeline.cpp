#include "host/audio/sound_timeline.h"

#include <map>

namespace host::audio {
namespace {

class TimelineBuilder {
 public:
  void event(const Event& e) {
    if (e.frame > timeline_.last_frame) timeline_.last_frame = e.frame;
    if (voice_heard(e)) {
      play(e);
    } else if (e.kind == EventKind::kSoundStop || e.kind == EventKind::kSoundUnload) {
      cut(e.frame, e.code);
    }
  }

  SoundTimeline finish() { return std::move(timeline_); }

 private:
  void play(const Event& e) {
    // A play replaces whatever the handle was playing.
    cut(e.frame, e.code);
    active_[e.code] = timeline_.voices.size();
    timeline_.voices.push_back(VoiceSpan{e.text, e.code, e.arg != 0, e.frame, std::nullopt});
  }

  void cut(uint32_t frame, uint32_t handle) {
    auto it = active_.find(handle);
    if (it == active_.end()) return;
    timeline_.voices[it->second].cut_frame = frame;
    active_.erase(it);
  }

  SoundTimeline timeline_;
  std::map<uint32_t, size_t> active_;  // handle -> its voice still sounding
};

}  // namespace

SoundTimeline read_timeline(const std::vector<Event>& events) {
  TimelineBuilder builder;
  for (const Event& e : events) builder.event(e);
  return builder.finish();
}

}  // namespace host::audio
