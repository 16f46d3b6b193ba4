#pragma once
// The "test" gauge: the PULL UP / GPWS TEST push-button, which carries the
// whole GPWS.
#include <cstdint>

#include "frame/records.h"

namespace gpws {

void GAUGE_CALL test_button_callback(frame::GaugeHeader* gauge, uint32_t service, uint32_t extra);

}  // namespace gpws
