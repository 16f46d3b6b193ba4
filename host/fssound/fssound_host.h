#pragma once
// The panel host's side of the stand-in sound library: where relative sound
// paths resolve, where every call is reported, and which calls to make fail.
// The four sound operations themselves are declared in frame/sound_library.h.
#include <cstdint>

#include "frame/gauge_call.h"

extern "C" {

// Receives one line of text per sound library call, without a frame stamp,
// e.g. `sound load h=1 "Sound\a.wav" -> 1`.
using FSSoundLogFn = void(GAUGE_CALL*)(void* context, const char* line);

// Forgets every handle and failure rule, resolves relative paths under
// `root_dir` (the simulator folder that holds "Sound") and reports to `log`.
// A null log reports nothing.
void GAUGE_CALL FSSound_HostAttach(const char* root_dir, FSSoundLogFn log, void* context);

enum FSSoundOperation : uint32_t { kFSSoundLoad = 1, kFSSoundPlay = 7 };

// Makes the next `count` calls of `operation` on `path` (the module's own
// relative path) fail; a negative count fails them all from now on.
void GAUGE_CALL FSSound_HostFail(uint32_t operation, const char* path, int32_t count);

// Whether `handle` is playing a loop at the moment (1) or not (0).
uint32_t GAUGE_CALL FSSound_HostIsLooping(uint32_t handle);
}
