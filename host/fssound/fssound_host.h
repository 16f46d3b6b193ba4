#pragma once
// The panel host's side of the stand-in sound library: where relative sound
// paths resolve, where every call is reported (as a typed record, never as
// text), and which calls to make fail.
// The four sound operations themselves are declared in frame/sound_library.h.
#include <cstdint>

#include "frame/gauge_call.h"

extern "C" {

// One sound library call as it ended.
struct FSSoundCall {
  uint32_t operation;  // kFSSoundLoad, kFSSoundPlay, kFSSoundStop or kFSSoundUnload
  uint32_t handle;     // load: the handle written (0 when it failed); else the handle passed
  uint32_t loop;       // as passed to play; 0 otherwise
  uint32_t result;     // load and play: what they answered; 0 otherwise
  // Load: the path passed (null when none); else the path the handle was
  // loaded from (null for a handle never given out). Valid during the call.
  const char* path;
};
using FSSoundReportFn = void(GAUGE_CALL*)(void* context, const FSSoundCall* call);

// Forgets every handle and failure rule, resolves relative paths under
// `root_dir` (the simulator folder that holds "Sound") and reports every
// call to `report`. A null report reports nothing.
void GAUGE_CALL FSSound_HostAttach(const char* root_dir, FSSoundReportFn report, void* context);

// Whether calls are reported and kept as events (1, the default after
// attach) or neither (0), for a host nobody reads.
void GAUGE_CALL FSSound_HostReport(uint32_t on);

// Called with 1 as each of the four sound operations starts and with 0 as
// it returns (null: no calls), so the host can tell its library's own work
// from the module code that called it.
using FSSoundCallFn = void(GAUGE_CALL*)(int entering);
void GAUGE_CALL FSSound_HostCallHook(FSSoundCallFn hook);

enum FSSoundOperation : uint32_t {
  kFSSoundLoad = 1,
  kFSSoundPlay = 7,
  kFSSoundStop = 13,
  kFSSoundUnload = 14,
};

// Makes the next `count` calls of `operation` on `path` (the module's own
// relative path) fail; a negative count fails them all from now on.
void GAUGE_CALL FSSound_HostFail(uint32_t operation, const char* path, int32_t count);

// Makes every load of `path` that gives a handle answer `answer` instead of
// 1 (any value: 0 keeps the handle but says not loaded, 2 says loaded but
// not exactly 1); answer 1 restores the usual. Failed loads still answer 0.
void GAUGE_CALL FSSound_HostLoadAnswer(const char* path, uint32_t answer);

// Whether `handle` is playing a loop at the moment (1) or not (0).
uint32_t GAUGE_CALL FSSound_HostIsLooping(uint32_t handle);

// The module's relative path `handle` was loaded from (also after unload),
// or null for a handle never given out since attach. Valid until the next attach.
const char* GAUGE_CALL FSSound_HostPath(uint32_t handle);

// A play, stop or unload that took effect, kept for mixing the flight's audio
// afterwards. Refused plays and calls on handles that are not loaded are not kept.
struct FSSoundEvent {
  uint32_t sequence;   // the call's number among all sound calls since attach (its log line)
  uint32_t operation;  // kFSSoundPlay, kFSSoundStop or kFSSoundUnload
  uint32_t handle;
  uint32_t loop;  // as passed to play; 0 for stop and unload
};

uint32_t GAUGE_CALL FSSound_HostEventCount();
// Copies event `index` (0 = oldest since attach) into *event; 0 when out of range.
uint32_t GAUGE_CALL FSSound_HostEvent(uint32_t index, FSSoundEvent* event);
}
