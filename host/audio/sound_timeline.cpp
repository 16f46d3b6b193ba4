#include "host/audio/sound_timeline.h"

#include <map>
#include <string_view>

namespace host::audio {
namespace {

bool take(std::string_view& text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) != prefix) return false;
  text.remove_prefix(prefix.size());
  return true;
}

// Leading decimal digits; false when there are none or they overflow.
bool take_number(std::string_view& text, uint32_t& value) {
  size_t n = 0;
  uint64_t v = 0;
  while (n < text.size() && text[n] >= '0' && text[n] <= '9') {
    v = v * 10 + static_cast<uint64_t>(text[n] - '0');
    if (v > 0xFFFFFFFFu) return false;
    ++n;
  }
  if (n == 0) return false;
  value = static_cast<uint32_t>(v);
  text.remove_prefix(n);
  return true;
}

class TimelineBuilder {
 public:
  void line(std::string_view text) {
    uint32_t frame = 0;
    if (!take_number(text, frame) || !take(text, " ")) return;
    if (frame > timeline_.last_frame) timeline_.last_frame = frame;
    uint32_t handle = 0;
    if (take(text, "sound play h=")) {
      if (take_number(text, handle)) play(frame, handle, text);
    } else if (take(text, "sound stop h=") || take(text, "sound unload h=")) {
      if (take_number(text, handle)) cut(frame, handle);
    }
  }

  SoundTimeline finish() { return std::move(timeline_); }

 private:
  // What follows the handle: ` "PATH" loop=L -> R`.
  void play(uint32_t frame, uint32_t handle, std::string_view rest) {
    const size_t tail = rest.rfind("\" loop=");
    if (!take(rest, " \"") || tail == std::string_view::npos || tail < 2) return;
    const std::string path(rest.substr(0, tail - 2));
    rest.remove_prefix(tail - 2 + 7);
    uint32_t loop = 0;
    if (!take_number(rest, loop) || rest != " -> 1") return;
    // A play replaces whatever the handle was playing.
    cut(frame, handle);
    active_[handle] = timeline_.voices.size();
    timeline_.voices.push_back(VoiceSpan{path, handle, loop != 0, frame, std::nullopt});
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

SoundTimeline read_timeline(const std::vector<std::string>& log_lines) {
  TimelineBuilder builder;
  for (const std::string& line : log_lines) builder.line(line);
  return builder.finish();
}

}  // namespace host::audio
