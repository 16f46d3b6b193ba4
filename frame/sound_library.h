#pragma once
// The outside sound library, imported by ordinal only (1 load, 7 play,
// 13 stop, 14 unload). The names exist for the linker, not for the library.
#include <cstdint>

#include "frame/gauge_call.h"

extern "C" {
uint32_t GAUGE_CALL FSSound_Load(uint32_t* handle, const char* path);
uint32_t GAUGE_CALL FSSound_Play(uint32_t handle, uint32_t loop);
void GAUGE_CALL FSSound_Stop(uint32_t handle);
void GAUGE_CALL FSSound_Unload(uint32_t* handle);
}
