#include "frame/sound_slot.h"

#include "frame/sound_library.h"

namespace frame {

void sound_load(SoundSlot& slot) {
  slot.loaded = FSSound_Load(&slot.handle, slot.path);
}

// A slot whose load failed holds no handle the library gave out (at best a
// stale one, which may since name another module's sound): it is left alone.
void sound_unload(SoundSlot& slot) {
  if (slot.loaded != 1) return;
  FSSound_Unload(&slot.handle);
}

void play_with_reload(SoundSlot& slot, uint32_t loop) {
  if (slot.loaded == 0) return;
  if (FSSound_Play(slot.handle, loop) != 0) return;
  sound_load(slot);
  if (slot.loaded == 1) FSSound_Play(slot.handle, loop);
}

}  // namespace frame
