#include "frame/sound_slot.h"

#include "frame/sound_library.h"

namespace frame {

void sound_load(SoundSlot& slot) {
  slot.loaded = FSSound_Load(&slot.handle, slot.path);
}

// Whatever the loaded flag: the library owns its handles and is told of
// every one the slot holds, so a slot whose load answered neither 0 nor 1 is
// unloaded too.
void sound_unload(SoundSlot& slot) {
  FSSound_Unload(&slot.handle);
}

void play_with_reload(SoundSlot& slot, uint32_t loop) {
  if (slot.loaded == 0) return;
  if (FSSound_Play(slot.handle, loop) != 0) return;
  sound_load(slot);
  if (slot.loaded == 1) FSSound_Play(slot.handle, loop);
}

}  // namespace frame
