#include "frame/sound_library.h"
#include "frame/sound_slot.h"

namespace frame {

// Apart from the other slot operations: only modules that stop a looping
// sound import the library's stop.
void sound_stop(SoundSlot& slot) {
  if (slot.loaded != 1) return;  // no handle of the library's to stop, as for unload
  FSSound_Stop(slot.handle);
}

}  // namespace frame
