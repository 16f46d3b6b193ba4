#include "frame/sound_library.h"
#include "frame/sound_slot.h"

namespace frame {

// Apart from the other slot operations: only modules that stop a looping
// sound import the library's stop. Whatever the loaded flag: a load that
// answered 2 plays (and may loop) without being marked exactly 1.
void sound_stop(SoundSlot& slot) {
  FSSound_Stop(slot.handle);
}

}  // namespace frame
