#pragma once
// Playing and stopping the GPWS's voices by slot.
#include "frame/sound_slot.h"
#include "gpws/gpws_state.h"

namespace gpws {

// Only the sink-rate voice loops; it is ended by a stop.
inline void play_voice(Slot slot) {
  frame::play_with_reload(gpws_state.slot[slot],
                          slot == kSlotSinkRate ? frame::kPlayLoop : frame::kPlayOnce);
}

// Stops a slot whether or not it ever loaded.
inline void stop_voice(Slot slot) {
  frame::sound_stop(gpws_state.slot[slot]);
}

}  // namespace gpws
