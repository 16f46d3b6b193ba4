#pragma once
// The events people read: voices heard, sounds that failed, key events,
// lamps (elements) shown or hidden and named-variable writes. One row per
// mark says which events it takes and how the summary and the lists of the
// report and the live page word it; every reader for people takes its
// marks, names and words from here.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "host/event.h"

namespace host {

enum class MarkKind : uint8_t { kVoice, kSoundFailed, kKey, kLamp, kVar };

struct MarkKindRow {
  MarkKind kind;
  const char* name;            // as the report and the live page name it: "sound failed"
  const char* summary_column;  // the summary's word before the text: "sound"
  bool on_panel;               // seen or heard on the panel: a marker and a picture of the panel
};

inline constexpr MarkKindRow kMarkKinds[] = {
    {MarkKind::kVoice, "voice", "voice", true},
    {MarkKind::kSoundFailed, "sound failed", "sound", true},
    {MarkKind::kKey, "key", "key", true},
    {MarkKind::kLamp, "lamp", "lamp", true},
    {MarkKind::kVar, "var", "var", false},
};

// Which events a mark takes, and its words. A text names the event's
// fields by their labels in the kind's row ("{path}"), or what readers make
// of them: {voice} the sound's file name without ".wav", {element} the
// element as readers name it (element_text), {shown} "shown" or "hidden".
struct MarkRow {
  MarkKind mark;
  EventKind from;
  bool (*takes)(const Event&);  // null: every event of the kind
  const char* summary;          // the summary's text after its column
  const char* listed;           // the report's text beside the mark's name
  const char* live;             // the live page's list entry after the time
};

inline constexpr MarkRow kMarks[] = {
    {MarkKind::kVoice, EventKind::kSoundPlay, voice_heard, "{path}", "{voice}", "voice {voice}"},
    {MarkKind::kSoundFailed, EventKind::kSoundPlay, play_failed, "{path}: play failed",
     "{voice}: play failed", "sound failed {voice}: play failed"},
    {MarkKind::kSoundFailed, EventKind::kSoundLoad, load_failed, "{path}: load failed",
     "{voice}: load failed", "sound failed {voice}: load failed"},
    {MarkKind::kKey, EventKind::kKeyEvent, nullptr, "{event}", "key {event}", "key {event}"},
    {MarkKind::kLamp, EventKind::kElementFlags, visibility_changed, "{element} {shown}",
     "{element} {shown}", "lamp {element} {shown}"},
    {MarkKind::kVar, EventKind::kNamedWrite, nullptr, "\"{variable}\" = {value}",
     "{variable} = {value}", "var {variable} = {value}"},
};

constexpr bool mark_kinds_in_order() {
  for (size_t i = 0; i < std::size(kMarkKinds); ++i) {
    if (static_cast<size_t>(kMarkKinds[i].kind) != i) return false;
  }
  return std::size(kMarkKinds) == static_cast<size_t>(MarkKind::kVar) + 1;
}
static_assert(mark_kinds_in_order(), "one row per mark kind, in the enum's order");

inline const MarkKindRow& mark_kind_row(MarkKind kind) {
  return kMarkKinds[static_cast<size_t>(kind)];
}
inline const char* mark_name(MarkKind kind) {
  return mark_kind_row(kind).name;
}

// An event as people read it: its row, and the event itself (its texts
// are interned and stay valid for the whole flight).
struct Mark {
  const MarkRow* row = nullptr;
  Event event;

  MarkKind kind() const { return row->mark; }
  // For lamps: whether the element is now shown.
  bool shown() const { return element_now_shown(event); }
  std::string summary_text() const;
  std::string listed_text() const;
  std::string live_text() const;
};

// The mark an event makes; nothing for events people are not shown.
std::optional<Mark> mark_of(const Event& event);

// An element as readers name it: by the name its module gives it, in the
// words a flight uses ("dh_lamp of radalt"), else by its gauge's label and
// index as the log names it ("radalt#6"). `module` may be empty (unknown).
std::string element_text(const std::string& label, uint32_t element, std::string_view module);
// The element an element event is about, so named.
std::string element_text(const Event& e);

// "Sound\minimums.wav" -> "minimums".
std::string voice_name(std::string_view path);

// A mark's text with the event's fields put in: the words of kMarks.
std::string mark_text(const char* words, const Event& event);

}  // namespace host
