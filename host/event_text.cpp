#include "host/event_text.h"

#include <charconv>

#include "frame/records.h"

namespace host {
namespace {

template <typename Int>
void append_int(std::string& out, Int value, int base) {
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, value, base);
  out.append(text, result.ptr);
}

// A name the module passed, in quotes, or "(null)" when it passed none.
void append_quoted_name(std::string& out, const char* name) {
  if (name == nullptr) {
    out += "(null)";
    return;
  }
  out += '"';
  out += name;
  out += '"';
}

// A sound's path in quotes, or "?" for a handle the library never gave out.
void append_sound_path(std::string& out, const char* path) {
  if (path == nullptr) {
    out += '?';
    return;
  }
  out += '"';
  out += path;
  out += '"';
}

const char* element_list_name(uint32_t slot) {
  static constexpr const char* kNames[] = {"query",    "install", "initialize", "update",
                                           "generate", "draw",    "(30)",       "kill"};
  if (slot < frame::kSlotQuery || slot > frame::kSlotKill) return "?";
  return kNames[slot - frame::kSlotQuery];
}

}  // namespace

const char* service_name(uint32_t service) {
  switch (service) {
    case frame::kServiceInstall:
      return "install";
    case frame::kServiceInitialize:
      return "initialize";
    case frame::kServiceUpdate:
      return "update";
    case frame::kServiceKill:
      return "kill";
    default:
      return nullptr;
  }
}

namespace {

// One field as its format writes it, its text before included.
void append_field(std::string& out, const Event& e, const FieldUse& f) {
  const int64_t number = field_number(e, f.field);
  const char* text = field_text(e, f.field);
  // Read by a composite format after it; a routine's dword only when passed.
  if (f.format == FieldFormat::kRead || (f.format == FieldFormat::kGivenArg && !e.has_arg)) return;
  out += f.before;
  switch (f.format) {
    case FieldFormat::kDecimal:
    case FieldFormat::kGivenArg:
      append_int(out, number, 10);
      return;
    case FieldFormat::kDouble:
      append_double(out, e.value);
      return;
    case FieldFormat::kWord:
      out += text != nullptr ? text : "?";
      return;
    case FieldFormat::kQuoted:
      append_quoted_name(out, text);
      return;
    case FieldFormat::kSoundPath:
      append_sound_path(out, text);
      return;
    case FieldFormat::kElement:
      if (e.label == nullptr) {
        out += e.text != nullptr ? e.text : "?";
      } else {
        append_element_id(out, e.label, e.element);
      }
      return;
    case FieldFormat::kService:
      if (const char* name = service_name(e.code); name != nullptr) {
        out += name;
      } else {
        out += "service ";
        append_int(out, number, 10);
      }
      return;
    case FieldFormat::kRoutine:
      out += element_list_name(e.code);
      return;
    case FieldFormat::kLinked:
      out += number != 0 ? "registered" : "null";
      return;
    case FieldFormat::kFlags:
      if (visibility_changed(e)) {
        out += element_now_shown(e) ? "shown" : "hidden";
      } else {
        out += "flags ";
        append_hex(out, e.arg);
        out += " -> ";
        append_hex(out, e.result);
      }
      return;
    case FieldFormat::kArea:
      if (number == 0) {
        out += "no area";
      } else {
        out += "area ";
        append_int(out, number, 10);
      }
      return;
    case FieldFormat::kRead:
      return;
  }
}

}  // namespace

void append_element_id(std::string& out, const char* label, uint32_t element) {
  out += label;
  out += '#';
  append_int(out, element, 10);
}

void append_event_text(std::string& out, const Event& e) {
  const EventKindRow& row = kind_row(e.kind);
  out += row.word;
  for (const FieldUse& f : row.fields) {
    if (f.label == nullptr) break;
    append_field(out, e, f);
  }
  out += row.after;
}

std::string event_text(const Event& event) {
  std::string text;
  append_event_text(text, event);
  return text;
}

void append_event_line(std::string& out, const Event& event) {
  char digits[16];
  auto end = std::to_chars(digits, digits + sizeof digits, event.frame).ptr;
  const size_t count = static_cast<size_t>(end - digits);
  if (count < 6) out.append(6 - count, '0');
  out.append(digits, count);
  out += ' ';
  append_event_text(out, event);
}

std::string format_double(double value) {
  std::string text;
  append_double(text, value);
  return text;
}

std::string format_hex(uint32_t value) {
  std::string text;
  append_hex(text, value);
  return text;
}

void append_double(std::string& out, double value) {
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

void append_hex(std::string& out, uint32_t value) {
  out += "0x";
  append_int(out, value, 16);
}

void append_decimal(std::string& out, int64_t value) {
  append_int(out, value, 10);
}

}  // namespace host
