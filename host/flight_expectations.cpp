#include "host/flight_expectations.h"

#include <cstdlib>

#include "host/event_text.h"
#include "host/panel_host.h"

namespace host {
namespace {

// "expect sound X between 61 s and 63 s": the unit words carry nothing.
FlightCommand without_units(const FlightCommand& c) {
  FlightCommand out{c.where, c.verb, {}};
  for (const std::string& word : c.args) {
    if (word != "s") out.args.push_back(word);
  }
  return out;
}

void read_window(const FlightCommand& c, size_t i, Expectation& e) {
  if (i == c.args.size()) return;
  keyword_arg(c, i, "between");
  keyword_arg(c, i + 2, "and");
  e.windowed = true;
  e.from_s = seconds_arg(c, i + 1);
  e.to_s = seconds_arg(c, i + 3);
  if (c.args.size() != i + 4) fail_at(c, "unexpected words after the time span");
  if (e.to_s < e.from_s) fail_at(c, "the time span ends before it begins");
}

std::string joined(const FlightCommand& c) {
  std::string text = "expect";
  for (const std::string& word : c.args) text += " " + word;
  return text;
}

bool matches(const Expectation& e, const Event& event) {
  if (e.kind == Expectation::kSound || e.kind == Expectation::kNoSound) {
    return voice_heard(event) && e.subject == event.text;
  }
  return event.kind == EventKind::kKeyEvent && e.subject == std::to_string(event.code);
}

}  // namespace

Expectation parse_expectation(const FlightCommand& raw) {
  const FlightCommand c = without_units(raw);
  Expectation e{c.where, joined(raw), Expectation::kSound, "", 0, false, 0, false, 0, 0};
  size_t i = 0;
  bool negated = i < c.args.size() && c.args[i] == "no";
  if (negated) ++i;
  if (i >= c.args.size()) fail_at(c, "expect what? sound, key, element or var");
  const std::string what = c.args[i];
  if ((what == "sound" || what == "key") && i + 1 < c.args.size()) {
    e.kind = what == "sound" ? (negated ? Expectation::kNoSound : Expectation::kSound)
                             : (negated ? Expectation::kNoKey : Expectation::kKey);
    e.subject = c.args[i + 1];
    if (what == "key") e.subject = std::to_string(u32_arg(c, i + 1));
    read_window(c, i + 2, e);
    return e;
  }
  if (!negated && what == "element" && c.args.size() == 7) {
    e.kind = Expectation::kElement;
    e.element = u32_arg(c, 1);
    keyword_arg(c, 2, "of");
    e.subject = c.args[3];
    if (c.args[4] != "shown" && c.args[4] != "hidden") fail_at(c, "expected 'shown' or 'hidden'");
    e.shown = c.args[4] == "shown";
    keyword_arg(c, 5, "at");
    e.to_s = seconds_arg(c, 6);
    return e;
  }
  if (!negated && what == "var" && c.args.size() == 6) {
    e.kind = Expectation::kVar;
    e.subject = c.args[1];
    keyword_arg(c, 2, "=");
    e.value = i32_arg(c, 3);
    keyword_arg(c, 4, "at");
    e.to_s = seconds_arg(c, 5);
    return e;
  }
  fail_at(c, "cannot read this expectation: " + e.text);
}

std::string check_state(const Expectation& e, const PanelHost& host) {
  if (e.kind == Expectation::kElement) {
    bool shown = !host.element_hidden(e.subject, e.element);
    if (shown == e.shown) return "";
    return std::string("it was ") + (shown ? "shown" : "hidden");
  }
  int32_t value = host.named_read(e.subject);
  return value == e.value ? "" : "it was " + std::to_string(value);
}

std::string check_events(const Expectation& e, const std::vector<Event>& events,
                         double frames_per_second) {
  std::vector<double> times;
  for (const Event& event : events) {
    if (!matches(e, event)) continue;
    double t = event.frame / frames_per_second;
    if (!e.windowed || (t >= e.from_s && t <= e.to_s)) times.push_back(t);
  }
  bool wanted = e.kind == Expectation::kSound || e.kind == Expectation::kKey;
  if (wanted && times.empty()) return "it never happened" + std::string(e.windowed ? " then" : "");
  if (!wanted && !times.empty()) return "it happened at " + format_double(times.front()) + " s";
  return "";
}

}  // namespace host
