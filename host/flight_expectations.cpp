#include "host/flight_expectations.h"

#include <algorithm>
#include <sstream>

#include "host/element_names.h"
#include "host/event_text.h"
#include "host/flight_commands.h"
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

[[noreturn]] void cannot_read(const FlightCommand& c, const Expectation& e) {
  fail_at(c, "cannot read this expectation: " + e.text);
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

// What a sound or key expectation asks for, in words: "heard between 1 s and 2 s".
std::string wanted_in_window(const Expectation& e, const char* what) {
  return what + (e.windowed ? " between " + format_double(e.from_s) + " s and " +
                                  format_double(e.to_s) + " s"
                            : std::string());
}

std::string window_text(const Expectation& e) {
  return e.windowed ? " between " + number_text(e.from_s) + " and " + number_text(e.to_s) : "";
}

void parse_sound(const FlightCommand& c, size_t first, const FlightSetup&, Expectation& e) {
  if (first >= c.args.size()) cannot_read(c, e);
  e.subject = c.args[first];
  read_window(c, first + 1, e);
  e.wanted =
      wanted_in_window(e, std::string_view(e.form->name).starts_with("no ") ? "never" : "heard");
}
void parse_key(const FlightCommand& c, size_t first, const FlightSetup&, Expectation& e) {
  if (first >= c.args.size()) cannot_read(c, e);
  e.key = u32_arg(c, first);
  e.subject = std::to_string(e.key);
  read_window(c, first + 1, e);
  e.wanted =
      wanted_in_window(e, std::string_view(e.form->name).starts_with("no ") ? "never" : "sent");
}

// The module of the gauge a label names, as the flight placed it so far
// ("radalt@2" is the second "radalt").
const PanelGauge* placed(const FlightSetup& setup, const std::string& label) {
  const std::string_view gauge = gauge_of_label(label);
  auto found =
      std::ranges::find_if(setup.layout, [&](const PanelGauge& g) { return g.gauge == gauge; });
  return found == setup.layout.end() ? nullptr : &*found;
}

// An element by number, or by the name its module gives it.
size_t element_arg(const FlightCommand& c, size_t i, const std::string& label,
                   const FlightSetup& setup, Expectation& e) {
  if (c.args[i].find_first_not_of("0123456789") == std::string::npos) return u32_arg(c, i);
  const PanelGauge* gauge = placed(setup, label);
  if (gauge == nullptr) {
    fail_at(c,
            "element '" + c.args[i] + "' of a gauge not placed before this line: '" + label + "'");
  }
  e.element_name = c.args[i];
  if (auto number = element_number(gauge->module, gauge->gauge, c.args[i])) return *number;
  const std::string known = element_names_help(gauge->module, gauge->gauge);
  fail_at(c, label + " has no element '" + c.args[i] + "'" +
                 (known.empty() ? "; its elements have no names, give the number"
                                : "; its elements: " + known));
}

void parse_element(const FlightCommand& c, size_t first, const FlightSetup& setup, Expectation& e) {
  if (c.args.size() != first + 6) cannot_read(c, e);
  keyword_arg(c, first + 1, "of");
  e.subject = c.args[first + 2];
  e.element = element_arg(c, first, e.subject, setup, e);
  const std::string& state = c.args[first + 3];
  if (state != "shown" && state != "hidden") fail_at(c, "expected 'shown' or 'hidden'");
  e.shown = state == "shown";
  e.wanted = state;
  keyword_arg(c, first + 4, "at");
  e.to_s = seconds_arg(c, first + 5);
}
void parse_var(const FlightCommand& c, size_t first, const FlightSetup&, Expectation& e) {
  if (c.args.size() != first + 5) cannot_read(c, e);
  e.subject = c.args[first];
  keyword_arg(c, first + 1, "=");
  e.value = i32_arg(c, first + 2);
  e.wanted = std::to_string(e.value);
  keyword_arg(c, first + 3, "at");
  e.to_s = seconds_arg(c, first + 4);
}

ExpectationResult result(const Expectation& e, bool met, std::string seen, std::string why) {
  return {e.where, e.text, met, e.wanted, std::move(seen), met ? "" : std::move(why)};
}

// The times, in seconds of flight, of the events that match, in the window.
template <typename Match>
std::vector<double> times_of(const Expectation& e, const PanelHost& host, double fps, Match match) {
  std::vector<double> times;
  for (const Event& event : host.events().events()) {
    if (!match(event)) continue;
    const double t = event.frame / fps;
    if (!e.windowed || (t >= e.from_s && t <= e.to_s)) times.push_back(t);
  }
  return times;
}

ExpectationResult happened(const Expectation& e, const std::vector<double>& times, bool wanted) {
  const std::string seen = times.empty() ? "never" : "at " + format_double(times.front()) + " s";
  if (wanted) {
    return result(e, !times.empty(), seen,
                  std::string("it never happened") + (e.windowed ? " then" : ""));
  }
  return result(e, times.empty(), seen, "it happened " + seen);
}

bool heard(const Expectation& e, const Event& event) {
  return voice_heard(event) && e.subject == event.text;
}
bool sent(const Expectation& e, const Event& event) {
  return event.kind == EventKind::kKeyEvent && event.code == e.key;
}

ExpectationResult check_sound(const Expectation& e, const PanelHost& host, double fps) {
  return happened(e, times_of(e, host, fps, [&](const Event& ev) { return heard(e, ev); }), true);
}
ExpectationResult check_no_sound(const Expectation& e, const PanelHost& host, double fps) {
  return happened(e, times_of(e, host, fps, [&](const Event& ev) { return heard(e, ev); }), false);
}
ExpectationResult check_key(const Expectation& e, const PanelHost& host, double fps) {
  return happened(e, times_of(e, host, fps, [&](const Event& ev) { return sent(e, ev); }), true);
}
ExpectationResult check_no_key(const Expectation& e, const PanelHost& host, double fps) {
  return happened(e, times_of(e, host, fps, [&](const Event& ev) { return sent(e, ev); }), false);
}
ExpectationResult check_element(const Expectation& e, const PanelHost& host, double) {
  const bool shown = !host.element_hidden(e.subject, e.element);
  const std::string seen = shown ? "shown" : "hidden";
  return result(e, shown == e.shown, seen, "it was " + seen);
}
ExpectationResult check_var(const Expectation& e, const PanelHost& host, double) {
  const int32_t value = host.named_read(e.subject);
  const std::string seen = std::to_string(value);
  return result(e, value == e.value, seen, "it was " + seen);
}

std::string line_sound(const Expectation& e) {
  return "expect sound " + e.subject + window_text(e);
}
std::string line_no_sound(const Expectation& e) {
  return "expect no sound " + e.subject + window_text(e);
}
std::string line_key(const Expectation& e) {
  return "expect key " + std::to_string(e.key) + window_text(e);
}
std::string line_no_key(const Expectation& e) {
  return "expect no key " + std::to_string(e.key) + window_text(e);
}
std::string line_element(const Expectation& e) {
  return "expect element " + (e.element_name.empty() ? std::to_string(e.element) : e.element_name) +
         " of " + e.subject + (e.shown ? " shown" : " hidden") + " at " + number_text(e.to_s);
}
std::string line_var(const Expectation& e) {
  return "expect var " + e.subject + " = " + std::to_string(e.value) + " at " + number_text(e.to_s);
}

constexpr ExpectForm kForms[] = {
    {"sound", "sound PATH [between A and B]",
     "the sound library started PATH (in that span, both ends included)", false, parse_sound,
     check_sound, line_sound},
    {"no sound", "no sound PATH [between A and B]", "it never started PATH (in that span)", false,
     parse_sound, check_no_sound, line_no_sound},
    {"key", "key ID [between A and B]", "a gauge sent key event ID (in that span)", false,
     parse_key, check_key, line_key},
    {"no key", "no key ID [between A and B]", "no gauge sent key event ID (in that span)", false,
     parse_key, check_no_key, line_no_key},
    {"element", "element N|NAME of GAUGE shown|hidden at T",
     "element N of the gauge (or its name: dh_lamp of radalt) is shown or hidden at T", true,
     parse_element, check_element, line_element},
    {"var", "var NAME = VALUE at T", "the named variable NAME reads VALUE at T", true, parse_var,
     check_var, line_var},
};

// The form whose name the words begin with, and how many words that is.
const ExpectForm* form_of(const FlightCommand& c, size_t& words) {
  for (const ExpectForm& form : kForms) {
    std::istringstream name(form.name);
    size_t i = 0;
    bool same = true;
    for (std::string word; same && name >> word; ++i) {
      same = i < c.args.size() && c.args[i] == word;
    }
    if (same) {
      words = i;
      return &form;
    }
  }
  return nullptr;
}

}  // namespace

bool Expectation::reads_state() const {
  return form != nullptr && form->reads_state;
}

std::span<const ExpectForm> expect_forms() {
  return kForms;
}

const ExpectForm& expect_form(const char* name) {
  for (const ExpectForm& form : kForms) {
    if (std::string_view(form.name) == name) return form;
  }
  return kForms[0];
}

Expectation read_expectation(const FlightCommand& raw, const FlightSetup& setup) {
  const FlightCommand c = without_units(raw);
  Expectation e;
  e.where = c.where;
  e.text = "expect";
  for (const std::string& word : raw.args) e.text += " " + word;
  const bool negated = !c.args.empty() && c.args[0] == "no";
  if (c.args.size() <= (negated ? 1u : 0u)) fail_at(c, "expect what? sound, key, element or var");
  size_t words = 0;
  e.form = form_of(c, words);
  if (e.form == nullptr) cannot_read(c, e);
  e.form->parse(c, words, setup, e);
  return e;
}

ExpectationResult check_expectation(const Expectation& e, const PanelHost& host,
                                    double frames_per_second) {
  return e.form->check(e, host, frames_per_second);
}

ExpectationResult not_reached(const Expectation& e) {
  const char* why = "the flight ended before then";
  return {e.where, e.text, false, e.wanted, why, why};
}

std::vector<std::string> failure_lines(const std::vector<ExpectationResult>& results) {
  std::vector<std::string> out;
  for (const ExpectationResult& r : results) {
    if (!r.met) out.push_back(r.where + ": " + r.text + ": " + r.why);
  }
  return out;
}

}  // namespace host
