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

// "radalt#4"; an element the panel does not hold is named by its text.
void append_element(std::string& out, const Event& e) {
  if (e.label == nullptr) {
    out += e.text != nullptr ? e.text : "?";
    return;
  }
  out += e.label;
  out += '#';
  append_int(out, e.element, 10);
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

void append_event_text(std::string& out, const Event& e) {
  switch (e.kind) {
    case EventKind::kModuleLoaded:
    case EventKind::kModuleUnloaded:
      out += "module ";
      out += e.text;
      out += e.kind == EventKind::kModuleLoaded ? " loaded" : " unloaded";
      return;
    case EventKind::kGaugeService:
      out += "gauge ";
      out += e.label;
      if (const char* name = service_name(e.code); name != nullptr) {
        out += ' ';
        out += name;
      } else {
        out += " service ";
        append_int(out, e.code, 10);
      }
      return;
    case EventKind::kElementList:
      out += "elist ";
      out += element_list_name(e.code);
      out += ' ';
      append_element(out, e);
      if (e.has_arg) {
        out += ' ';
        append_int(out, e.arg, 10);
      }
      return;
    case EventKind::kKeyEvent:
      out += "key_event ";
      append_int(out, e.code, 10);
      out += ' ';
      append_int(out, e.arg, 10);
      return;
    case EventKind::kRegister:
      out += "register ";
      append_quoted_name(out, e.text);
      out += " type ";
      append_int(out, e.code, 10);
      return;
    case EventKind::kLink:
      out += "link ";
      append_quoted_name(out, e.text);
      out += e.result != 0 ? " -> registered" : " -> null";
      return;
    case EventKind::kLookup:
      out += "lookup ";
      append_int(out, e.code, 10);
      out += " = ";
      append_double(out, e.value);
      return;
    case EventKind::kUnregister:
      out += "unregister ";
      append_quoted_name(out, e.text);
      return;
    case EventKind::kStraySlot:
      out += "stray service slot ";
      append_int(out, e.code, 10);
      return;
    case EventKind::kNamedWrite:
      out += "var \"";
      out += e.text;
      out += "\" = ";
      append_int(out, e.x, 10);
      return;
    case EventKind::kElementFlags:
      out += "element ";
      append_element(out, e);
      if (visibility_changed(e)) {
        out += element_now_shown(e) ? " shown" : " hidden";
      } else {
        out += " flags ";
        append_hex(out, e.arg);
        out += " -> ";
        append_hex(out, e.result);
      }
      return;
    case EventKind::kNeedleValue:
      out += "needle ";
      append_element(out, e);
      out += " = ";
      append_double(out, e.value);
      return;
    case EventKind::kClick:
      out += "click ";
      out += e.label;
      out += ' ';
      append_int(out, e.x, 10);
      out += ',';
      append_int(out, e.y, 10);
      if (e.element == 0) {
        out += " -> no area";
      } else {
        out += " -> area ";
        append_int(out, e.element, 10);
      }
      return;
    case EventKind::kSoundLoad:
      out += "sound load ";
      append_sound_path(out, e.text);
      out += " -> ";
      append_int(out, e.result, 10);
      out += " h=";
      append_int(out, e.code, 10);
      return;
    case EventKind::kSoundPlay:
      out += "sound play h=";
      append_int(out, e.code, 10);
      out += ' ';
      append_sound_path(out, e.text);
      out += " loop=";
      append_int(out, e.arg, 10);
      out += " -> ";
      append_int(out, e.result, 10);
      return;
    case EventKind::kSoundStop:
    case EventKind::kSoundUnload:
      out += e.kind == EventKind::kSoundStop ? "sound stop h=" : "sound unload h=";
      append_int(out, e.code, 10);
      out += ' ';
      append_sound_path(out, e.text);
      return;
  }
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
