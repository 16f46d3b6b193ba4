#pragma once
// The stand-in sound library's reports, collected as the event log words
// them, for tests that drive the library without a panel host.
#include <string>
#include <vector>

#include "host/event_text.h"
#include "host/fssound/fssound_host.h"

namespace testing_host {

inline host::Event sound_event(const FSSoundCall& call) {
  host::Event e;
  switch (call.operation) {
    case kFSSoundLoad:
      e.kind = host::EventKind::kSoundLoad;
      break;
    case kFSSoundPlay:
      e.kind = host::EventKind::kSoundPlay;
      break;
    case kFSSoundStop:
      e.kind = host::EventKind::kSoundStop;
      break;
    default:
      e.kind = host::EventKind::kSoundUnload;
      break;
  }
  e.code = call.handle;
  e.arg = call.loop;
  e.result = call.result;
  e.text = call.path;  // only read while the call is reported
  return e;
}

// FSSound_HostAttach(root, &collect_sound_calls, &lines) with lines a
// std::vector<std::string>.
inline void GAUGE_CALL collect_sound_calls(void* lines, const FSSoundCall* call) {
  static_cast<std::vector<std::string>*>(lines)->push_back(host::event_text(sound_event(*call)));
}

}  // namespace testing_host
