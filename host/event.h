#pragma once
// What the host and the stand-in sound library see happen in a flight, one
// typed record per event. Every reader (the text log, the summary, the
// expectations, the audio track, the report, the pictures, the tests)
// subscribes to these; only the log writer turns them into text.
//
// One row per kind below says which fields the kind uses; the fields are
// plain numbers and interned texts, so an event is cheap to publish and
// stays valid for the whole flight (a module's own strings do not).
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "frame/records.h"

namespace host {

enum class EventKind : uint8_t {
  kModuleLoaded,    // text: module name
  kModuleUnloaded,  // text: module name
  kGaugeService,    // label; code: service code
  kElementList,     // label/element: the element passed (label null: "null" or "?"); code: slot;
                    // arg: the routine's dword, when has_arg
  kKeyEvent,        // code: event id; arg: value
  kRegister,        // text: name (null when the module passed none); code: type code
  kLink,            // text: name; result: 1 when the name was registered
  kLookup,          // code: token; value: what was served, as a double
  kUnregister,      // text: name
  kStraySlot,       // code: service table slot
  kNamedWrite,      // text: variable name; x: the new 32-bit value
  kElementFlags,    // label/element; arg: flags before; result: flags now
  kNeedleValue,     // label/element; value: the needle callback's result
  kClick,           // label; x, y: pixel; element: area number, 0 when none
  kSoundLoad,       // text: path (null: none passed); code: handle written; result
  kSoundPlay,       // text: path of the handle (null: not a handle given out); code: handle;
                    // arg: loop flag; result: nonzero when the library started it
  kSoundStop,       // text: path of the handle; code: handle
  kSoundUnload,     // text: path of the handle; code: handle
};

struct Event {
  uint32_t frame = 0;
  EventKind kind = EventKind::kModuleLoaded;
  bool has_arg = false;
  uint32_t element = 0;
  uint32_t code = 0;
  uint32_t arg = 0;
  uint32_t result = 0;
  int32_t x = 0;
  int32_t y = 0;
  double value = 0.0;
  const char* label = nullptr;  // the gauge's label on the panel
  const char* text = nullptr;   // module, variable or sound path
};

struct EventKindRow {
  EventKind kind;
  const char* name;  // as readers name it, e.g. in a report's table
};

inline constexpr EventKindRow kEventKinds[] = {
    {EventKind::kModuleLoaded, "module loaded"},
    {EventKind::kModuleUnloaded, "module unloaded"},
    {EventKind::kGaugeService, "gauge service"},
    {EventKind::kElementList, "element-list routine"},
    {EventKind::kKeyEvent, "key event"},
    {EventKind::kRegister, "register"},
    {EventKind::kLink, "link"},
    {EventKind::kLookup, "lookup"},
    {EventKind::kUnregister, "unregister"},
    {EventKind::kStraySlot, "stray service slot"},
    {EventKind::kNamedWrite, "named variable"},
    {EventKind::kElementFlags, "element"},
    {EventKind::kNeedleValue, "needle"},
    {EventKind::kClick, "click"},
    {EventKind::kSoundLoad, "sound load"},
    {EventKind::kSoundPlay, "sound play"},
    {EventKind::kSoundStop, "sound stop"},
    {EventKind::kSoundUnload, "sound unload"},
};
constexpr bool event_rows_in_order() {
  for (size_t i = 0; i < std::size(kEventKinds); ++i) {
    if (static_cast<size_t>(kEventKinds[i].kind) != i) return false;
  }
  return std::size(kEventKinds) == static_cast<size_t>(EventKind::kSoundUnload) + 1;
}
static_assert(event_rows_in_order(), "one row per kind, in the enum's order");

inline const char* kind_name(EventKind kind) {
  return kEventKinds[static_cast<size_t>(kind)].name;
}

// The meanings readers share, defined once.

// A voice was heard: the library started playing it (a replay after a
// reload included). A refused play is an event of its own.
inline bool voice_heard(const Event& e) {
  return e.kind == EventKind::kSoundPlay && e.result != 0 && e.text != nullptr;
}
inline bool play_failed(const Event& e) {
  return e.kind == EventKind::kSoundPlay && e.result == 0;
}
inline bool load_failed(const Event& e) {
  return e.kind == EventKind::kSoundLoad && e.result == 0;
}
// An element (a lamp, a symbol) was shown or hidden, and nothing else about
// it changed.
inline bool visibility_changed(const Event& e) {
  return e.kind == EventKind::kElementFlags && (e.arg ^ e.result) == frame::kImageHidden;
}
inline bool element_now_shown(const Event& e) {
  return (e.result & frame::kImageHidden) == 0;
}

}  // namespace host
