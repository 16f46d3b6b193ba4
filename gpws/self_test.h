#pragma once
#include <cstdint>

#include "frame/gauge_call.h"

namespace gpws {

// The mouse routine of the "test" gauge's one click area.
uint32_t GAUGE_CALL test_switch_click(void* position, uint32_t flags);

}  // namespace gpws
