#pragma once
// The "XML-Sound" gauge: four simulation variables, each of which plays its
// WAV file and sends its key event on every update while it is nonzero.
#include <cstdint>

#include "frame/records.h"

namespace cabsound {

void GAUGE_CALL xml_sound_callback(frame::GaugeHeader* gauge, uint32_t service, uint32_t extra);
uint32_t GAUGE_CALL xml_sound_click(void* position, uint32_t flags);

}  // namespace cabsound
