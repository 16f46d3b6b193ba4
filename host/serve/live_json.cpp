#include "host/serve/live_json.h"

#include "host/serve/page_text.h"
#include "host/sim_names.h"

namespace host::serve {
namespace {

using nlohmann::json;

json shown_strings(const json& value) {
  if (value.is_string()) return shown_text(value.get_ref<const std::string&>());
  if (value.is_array()) {
    json out = json::array();
    for (const json& item : value) out.push_back(shown_strings(item));
    return out;
  }
  if (value.is_object()) {
    json out = json::object();
    for (const auto& [key, item] : value.items()) out[shown_text(key)] = shown_strings(item);
    return out;
  }
  return value;
}

}  // namespace

json layout_json(const LiveView& view) {
  json gauges = json::array();
  for (const GaugeBox& g : view.layout->gauges) {
    json areas = json::array();
    for (const AreaBox& a : g.areas) {
      areas.push_back({{"x", a.x},
                       {"y", a.y},
                       {"width", a.width},
                       {"height", a.height},
                       {"cursor", a.cursor},
                       {"repeats", a.repeats}});
    }
    gauges.push_back({{"label", g.label},
                      {"x", g.x},
                      {"y", g.y},
                      {"width", g.width},
                      {"height", g.height},
                      {"areas", areas}});
  }
  return {{"session", view.session},
          {"title", view.title},
          {"width", view.layout->width},
          {"height", view.layout->height},
          {"gauges", gauges}};
}

json variables_json() {
  json out = json::array();
  for (const SimName& n : sim_names()) {
    out.push_back({{"name", n.name},
                   {"what", n.what},
                   {"low", n.low},
                   {"high", n.high},
                   {"switch", n.low == 0 && n.high == 1}});
  }
  return out;
}

json events_json(const std::vector<NumberedEvent>& events) {
  json out = json::array();
  for (const NumberedEvent& n : events) {
    const PageEvent& e = n.event;
    json one = {{"n", n.number},
                {"frame", e.frame},
                {"kind", e.kind},
                {"what", e.what},
                {"entry", e.entry}};
    if (!e.sound.empty() || e.kind == "stop") {
      one["sound"] = e.sound;
      one["handle"] = e.handle;
      one["loop"] = e.loop;
    }
    out.push_back(std::move(one));
  }
  return out;
}

std::string page_json(const json& body) {
  // Every string is valid UTF-8 by now; replacing is only the last guard.
  return shown_strings(body).dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace host::serve
