#include "host/event_marks.h"

#include <string_view>

#include "host/element_names.h"
#include "host/event_text.h"

namespace host {
namespace {

// One name of a mark's text, "{path}" without its braces, put in.
void append_named(std::string& out, std::string_view name, const Event& e) {
  if (name == "element") {
    out += element_text(e);
    return;
  }
  if (name == "shown") {
    out += element_now_shown(e) ? "shown" : "hidden";
    return;
  }
  if (name == "voice") {
    out += e.text != nullptr ? voice_name(e.text) : std::string("?");
    return;
  }
  const FieldUse* f = field_named(e.kind, name);
  if (f == nullptr) {
    // A mark's words name a field its kind does not have: a fault of the
    // table, which the tests read whole; shown rather than hidden.
    out += '{';
    out += name;
    out += '}';
  } else if (f->field == EventField::kLabel || f->field == EventField::kText) {
    const char* text = field_text(e, f->field);
    out += text != nullptr ? text : "?";
  } else if (f->field == EventField::kValue) {
    append_double(out, e.value);
  } else {
    append_decimal(out, field_number(e, f->field));
  }
}

}  // namespace

std::string mark_text(const char* words, const Event& event) {
  std::string out;
  for (std::string_view rest = words; !rest.empty();) {
    const size_t open = rest.find('{');
    const size_t close = open == std::string_view::npos ? open : rest.find('}', open);
    if (close == std::string_view::npos) {
      out += rest;
      break;
    }
    out += rest.substr(0, open);
    append_named(out, rest.substr(open + 1, close - open - 1), event);
    rest.remove_prefix(close + 1);
  }
  return out;
}

std::string Mark::summary_text() const {
  return mark_text(row->summary, event);
}

std::string Mark::listed_text() const {
  return mark_text(row->listed, event);
}

std::string Mark::live_text() const {
  return mark_text(row->live, event);
}

std::optional<Mark> mark_of(const Event& event) {
  for (const MarkRow& row : kMarks) {
    if (row.from == event.kind && (row.takes == nullptr || row.takes(event))) {
      return Mark{&row, event};
    }
  }
  return std::nullopt;
}

std::string element_text(const std::string& label, uint32_t element, std::string_view module) {
  if (const char* name = element_name(module, gauge_of_label(label), element)) {
    return std::string(name) + " of " + label;
  }
  std::string out;
  append_element_id(out, label.c_str(), element);
  return out;
}

std::string element_text(const Event& e) {
  if (e.label == nullptr) return "?";
  return element_text(e.label, e.element, e.text != nullptr ? e.text : "");
}

std::string voice_name(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
  if (path.ends_with(".wav")) path.remove_suffix(4);
  return std::string(path);
}

}  // namespace host
