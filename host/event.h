#pragma once
// What the host and the stand-in sound library see happen in a flight, one
// typed record per event. Every reader (the text log, the summary, the
// expectations, the audio track, the report, the pictures, the tests)
// subscribes to these; only the log writer turns them into text.
//
// One row per kind below (kEventKinds) says which fields the kind uses, by
// name, and how the log writes them; the fields are plain numbers and
// interned texts, so an event is cheap to publish and
// stays valid for the whole flight (a module's own strings do not).
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "frame/records.h"

namespace host {

enum class EventKind : uint8_t {
  kModuleLoaded,
  kModuleUnloaded,
  kGaugeService,
  kElementList,
  kKeyEvent,
  kRegister,
  kLink,
  kLookup,
  kUnregister,
  kStraySlot,
  kNamedWrite,
  kElementFlags,
  kNeedleValue,
  kClick,
  kSoundLoad,
  kSoundPlay,
  kSoundStop,
  kSoundUnload,
};

struct Event {
  uint32_t frame = 0;
  EventKind kind = EventKind::kModuleLoaded;
  bool has_arg = false;  // an element-list routine passed its dword
  uint32_t element = 0;
  uint32_t code = 0;
  uint32_t arg = 0;
  uint32_t result = 0;
  int32_t x = 0;
  int32_t y = 0;
  double value = 0.0;
  const char* label = nullptr;  // the gauge's label on the panel
  const char* text = nullptr;   // module, variable or sound path; an element's module
};

// The fields an event may use, by name: what a row says a kind uses, and
// what tests build events from.
enum class EventField : uint8_t { kElement, kCode, kArg, kResult, kX, kY, kValue, kLabel, kText };

// How the log writes a field. Most print the field alone; the composite
// ones read the fields listed with kRead before them.
enum class FieldFormat : uint8_t {
  kDecimal,    // the number
  kDouble,     // shortest text that reads back as the same double
  kWord,       // the text as it is ("?" when there is none)
  kQuoted,     // "text", or (null) when the module passed none
  kSoundPath,  // "path", or ? for a handle the library never gave out
  kElement,    // label#N; an element the panel does not hold by the text passed ("?" without)
  kService,    // install, initialize, update, kill, or "service N"
  kRoutine,    // the element-list routine named by its slot
  kLinked,     // registered or null, by the result
  kFlags,      // shown or hidden when only that changed, else "flags 0xA -> 0xB" (arg, result)
  kArea,       // "area N", or "no area" for 0
  kGivenArg,   // the number when the routine passed one (has_arg), else nothing at all
  kRead,       // not written by itself: read by a composite format after it
};

// One field a kind uses: its log text before it, how it is written, and its
// name for readers and for the tests that build events.
struct FieldUse {
  EventField field = EventField::kCode;
  const char* label = nullptr;  // null ends a row's fields
  FieldFormat format = FieldFormat::kDecimal;
  const char* before = "";
};

inline constexpr size_t kMostFields = 5;

// A kind describes itself: the log line is `word`, each field's `before`
// and text in order, then `after`.
struct EventKindRow {
  EventKind kind;
  const char* name;  // as readers name it, e.g. in a report's table
  const char* word;  // the log line's first word(s)
  FieldUse fields[kMostFields];
  const char* after = "";
};

namespace event_rows {
using F = EventField;
using W = FieldFormat;
inline constexpr FieldUse kGauge{F::kLabel, "gauge", W::kRead};
// The module the gauge comes from, so that readers can name its elements;
// the log leaves it out.
inline constexpr FieldUse kModuleOfGauge{F::kText, "module", W::kRead};
inline constexpr FieldUse kElementOfGauge{F::kElement, "element", W::kElement, " "};
inline constexpr FieldUse kHandle{F::kCode, "handle", W::kDecimal, " h="};
inline constexpr FieldUse kPath{F::kText, "path", W::kSoundPath, " "};
}  // namespace event_rows

inline constexpr EventKindRow kEventKinds[] = {
    {EventKind::kModuleLoaded,
     "module loaded",
     "module",
     {{EventField::kText, "module", FieldFormat::kWord, " "}},
     " loaded"},
    {EventKind::kModuleUnloaded,
     "module unloaded",
     "module",
     {{EventField::kText, "module", FieldFormat::kWord, " "}},
     " unloaded"},
    {EventKind::kGaugeService,
     "gauge service",
     "gauge",
     {{EventField::kLabel, "gauge", FieldFormat::kWord, " "},
      {EventField::kCode, "service", FieldFormat::kService, " "}}},
    {EventKind::kElementList,
     "element-list routine",
     "elist",
     {{EventField::kCode, "routine", FieldFormat::kRoutine, " "},
      event_rows::kGauge,
      {EventField::kText, "passed", FieldFormat::kRead},
      event_rows::kElementOfGauge,
      {EventField::kArg, "dword", FieldFormat::kGivenArg, " "}}},
    {EventKind::kKeyEvent,
     "key event",
     "key_event",
     {{EventField::kCode, "event", FieldFormat::kDecimal, " "},
      {EventField::kArg, "value", FieldFormat::kDecimal, " "}}},
    {EventKind::kRegister,
     "register",
     "register",
     {{EventField::kText, "name", FieldFormat::kQuoted, " "},
      {EventField::kCode, "type", FieldFormat::kDecimal, " type "}}},
    {EventKind::kLink,
     "link",
     "link",
     {{EventField::kText, "name", FieldFormat::kQuoted, " "},
      {EventField::kResult, "registered", FieldFormat::kLinked, " -> "}}},
    {EventKind::kLookup,
     "lookup",
     "lookup",
     {{EventField::kCode, "token", FieldFormat::kDecimal, " "},
      {EventField::kValue, "value", FieldFormat::kDouble, " = "}}},
    {EventKind::kUnregister,
     "unregister",
     "unregister",
     {{EventField::kText, "name", FieldFormat::kQuoted, " "}}},
    {EventKind::kStraySlot,
     "stray service slot",
     "stray service slot",
     {{EventField::kCode, "slot", FieldFormat::kDecimal, " "}}},
    {EventKind::kNamedWrite,
     "named variable",
     "var",
     {{EventField::kText, "variable", FieldFormat::kQuoted, " "},
      {EventField::kX, "value", FieldFormat::kDecimal, " = "}}},
    {EventKind::kElementFlags,
     "element",
     "element",
     {event_rows::kGauge,
      event_rows::kModuleOfGauge,
      event_rows::kElementOfGauge,
      {EventField::kArg, "before", FieldFormat::kRead},
      {EventField::kResult, "now", FieldFormat::kFlags, " "}}},
    {EventKind::kNeedleValue,
     "needle",
     "needle",
     {event_rows::kGauge,
      event_rows::kModuleOfGauge,
      event_rows::kElementOfGauge,
      {EventField::kValue, "value", FieldFormat::kDouble, " = "}}},
    {EventKind::kClick,
     "click",
     "click",
     {{EventField::kLabel, "gauge", FieldFormat::kWord, " "},
      {EventField::kX, "x", FieldFormat::kDecimal, " "},
      {EventField::kY, "y", FieldFormat::kDecimal, ","},
      {EventField::kElement, "area", FieldFormat::kArea, " -> "}}},
    {EventKind::kSoundLoad,
     "sound load",
     "sound load",
     {event_rows::kPath,
      {EventField::kResult, "loaded", FieldFormat::kDecimal, " -> "},
      event_rows::kHandle}},
    {EventKind::kSoundPlay,
     "sound play",
     "sound play",
     {event_rows::kHandle,
      event_rows::kPath,
      {EventField::kArg, "loop", FieldFormat::kDecimal, " loop="},
      {EventField::kResult, "started", FieldFormat::kDecimal, " -> "}}},
    {EventKind::kSoundStop, "sound stop", "sound stop", {event_rows::kHandle, event_rows::kPath}},
    {EventKind::kSoundUnload,
     "sound unload",
     "sound unload",
     {event_rows::kHandle, event_rows::kPath}},
};
constexpr bool event_rows_in_order() {
  for (size_t i = 0; i < std::size(kEventKinds); ++i) {
    if (static_cast<size_t>(kEventKinds[i].kind) != i) return false;
  }
  return std::size(kEventKinds) == static_cast<size_t>(EventKind::kSoundUnload) + 1;
}
static_assert(event_rows_in_order(), "one row per kind, in the enum's order");

// Each field a kind reads is named once in its row, and a composite format
// finds the fields it reads listed before it.
constexpr bool uses_field(const EventKindRow& row, size_t upto, EventField field) {
  for (size_t i = 0; i < upto; ++i) {
    if (row.fields[i].label != nullptr && row.fields[i].field == field) return true;
  }
  return false;
}
constexpr bool event_rows_complete() {
  for (const EventKindRow& row : kEventKinds) {
    for (size_t i = 0; i < kMostFields && row.fields[i].label != nullptr; ++i) {
      const FieldUse& f = row.fields[i];
      if (uses_field(row, i, f.field)) return false;
      if (f.format == FieldFormat::kElement && !uses_field(row, i, EventField::kLabel))
        return false;
      if (f.format == FieldFormat::kFlags && !uses_field(row, i, EventField::kArg)) return false;
    }
  }
  return true;
}
static_assert(event_rows_complete(), "every field once, composite formats after what they read");

inline const EventKindRow& kind_row(EventKind kind) {
  return kEventKinds[static_cast<size_t>(kind)];
}
inline const char* kind_name(EventKind kind) {
  return kind_row(kind).name;
}
// The use of the field named `label` in the kind's row; null when it has none.
inline const FieldUse* field_named(EventKind kind, std::string_view label) {
  for (const FieldUse& f : kind_row(kind).fields) {
    if (f.label == nullptr) break;
    if (label == f.label) return &f;
  }
  return nullptr;
}

// A field's value: numbers as a 64-bit integer (the value field truncated
// toward zero is never asked for this way), texts as they are.
inline int64_t field_number(const Event& e, EventField field) {
  switch (field) {
    case EventField::kElement:
      return e.element;
    case EventField::kCode:
      return e.code;
    case EventField::kArg:
      return e.arg;
    case EventField::kResult:
      return e.result;
    case EventField::kX:
      return e.x;
    case EventField::kY:
      return e.y;
    case EventField::kValue:
    case EventField::kLabel:
    case EventField::kText:
      return 0;
  }
  return 0;
}
inline const char* field_text(const Event& e, EventField field) {
  return field == EventField::kLabel ? e.label : field == EventField::kText ? e.text : nullptr;
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
