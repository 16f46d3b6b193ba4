#include "host/serve/live_requests.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "host/flight_commands.h"
#include "host/flight_script.h"
#include "host/host_error.h"
#include "host/sim_names.h"

namespace host::serve {
namespace {

std::string shown(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// A whole or decimal number, optionally signed and with an exponent; no
// spaces, no "nan" or "inf", no hexadecimal.
bool plain_number(const std::string& text) {
  if (text.empty() || text.size() > 40) return false;
  return std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
  });
}

Checked<int32_t> pixel(const std::string& what, const std::string& text, int32_t size) {
  Checked<double> v = number_in(what, text, 0, size - 1);
  if (auto* refusal = std::get_if<Refusal>(&v)) return *refusal;
  const double d = std::get<double>(v);
  if (d != std::floor(d)) return Refusal{400, what + " must be a whole pixel, not " + text};
  return static_cast<int32_t>(d);
}

}  // namespace

Checked<double> number_in(const std::string& what, const std::string& text, double low,
                          double high) {
  double value = 0;
  const char* end = text.data() + text.size();
  if (!plain_number(text)) return Refusal{400, what + " must be a number, not '" + text + "'"};
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) {
    return Refusal{400, what + " must be a finite number, not '" + text + "'"};
  }
  if (value < low || value > high) {
    return Refusal{
        400, what + " must be between " + shown(low) + " and " + shown(high) + ", not " + text};
  }
  return value;
}

Checked<FlightCommand> set_request(const std::string& name, const std::string& value) {
  const auto known =
      std::ranges::find_if(sim_names(), [&](const SimName& n) { return name == n.name; });
  if (known == sim_names().end()) {
    return Refusal{404,
                   "unknown variable '" + name.substr(0, 64) + "'; known: " + sim_names_help()};
  }
  Checked<double> v = number_in(name, value, known->low, known->high);
  if (auto* refusal = std::get_if<Refusal>(&v)) return *refusal;
  return make_line("live", "set", {name, value}).words;
}

Checked<FlightCommand> press_request(const PanelLayout& layout, const std::string& x,
                                     const std::string& y) {
  Checked<int32_t> px = pixel("x", x, layout.width);
  if (auto* refusal = std::get_if<Refusal>(&px)) return *refusal;
  Checked<int32_t> py = pixel("y", y, layout.height);
  if (auto* refusal = std::get_if<Refusal>(&py)) return *refusal;
  std::optional<GaugePoint> at = gauge_at(layout, std::get<int32_t>(px), std::get<int32_t>(py));
  if (!at) return Refusal{400, "no gauge at " + x + ", " + y};
  return make_line("live", "hold", {at->label, std::to_string(at->x), std::to_string(at->y)}).words;
}

Checked<FlightCommand> release_request(const PanelLayout& layout, const std::string& gauge) {
  const bool known = std::any_of(layout.gauges.begin(), layout.gauges.end(),
                                 [&](const GaugeBox& g) { return g.label == gauge; });
  if (!known) return Refusal{404, "no gauge '" + gauge.substr(0, 64) + "' on this panel"};
  return make_line("live", "release", {gauge}).words;
}

Checked<FlightCommand> fly_request(const std::string& line) {
  if (line.size() > kLongestFlyingLine) {
    return Refusal{400, "a flying command is at most " + std::to_string(kLongestFlyingLine) +
                            " bytes, not " + std::to_string(line.size())};
  }
  std::vector<std::string> words;
  for (size_t at = 0; at < line.size();) {
    const size_t end = std::min(line.find(' ', at), line.size());
    if (end > at) words.push_back(line.substr(at, end - at));
    at = end + 1;
  }
  if (words.empty()) return Refusal{400, "no flying command"};
  const std::string verb = words.front();
  words.erase(words.begin());
  if (std::ranges::find(kPageFlyingVerbs, verb) == std::end(kPageFlyingVerbs)) {
    std::string known;
    for (const char* v : kPageFlyingVerbs) known += std::string(known.empty() ? "" : ", ") + v;
    return Refusal{404, "'" + verb.substr(0, 64) +
                            "' does not fly the aircraft; the page flies with: " + known};
  }
  try {
    return make_line("live", verb, std::move(words)).words;
  } catch (const HostError& error) {
    return Refusal{400, error.what()};
  }
}

Checked<double> speed_request(const std::string& value) {
  return number_in("speed", value, kSlowest, kFastest);
}

Checked<std::string> scenario_request(const std::vector<ScenarioFile>& known,
                                      const std::string& name) {
  const auto found =
      std::ranges::find_if(known, [&](const ScenarioFile& f) { return f.shown == name; });
  if (found == known.end()) {
    return Refusal{404, "no flight '" + name.substr(0, 64) + "' in the scenarios folder"};
  }
  return found->path;
}

Checked<std::string> flyable_scenario(const std::vector<ScenarioFile>& known,
                                      const std::string& name) {
  Checked<std::string> path = scenario_request(known, name);
  if (auto* found = std::get_if<std::string>(&path)) {
    try {
      FlightScript::load(*found);
    } catch (const HostError& error) {
      return Refusal{400, "cannot fly " + name + ": " + error.what()};
    }
  }
  return path;
}

}  // namespace host::serve
