#pragma once
// One WAV file of a module: loaded at install, unloaded at kill, and played
// only through the play-with-reload rule.
#include <cstdint>

namespace frame {

struct SoundSlot {
  uint32_t loaded;   // the load result, stored whole (1 = loaded)
  uint32_t handle;   // filled by the sound library
  const char* path;  // relative path under the simulator's sound folder
};

inline constexpr uint32_t kPlayOnce = 0;
inline constexpr uint32_t kPlayLoop = 1;

void sound_load(SoundSlot& slot);
void sound_unload(SoundSlot& slot);
void sound_stop(SoundSlot& slot);
// Plays a loaded slot; a play that fails reloads the file and, when the
// reload gives exactly 1, plays once more.
void play_with_reload(SoundSlot& slot, uint32_t loop);

}  // namespace frame
