#pragma once
// The page's JSON answers: the panel's layout, the variables it may set,
// the events since it last asked; and every string in an answer made safe
// to send (page_text.h) in one walk, so no answer fails on its text.
#include <nlohmann/json.hpp>
#include <vector>

#include "host/serve/live_exchange.h"

namespace host::serve {

nlohmann::json layout_json(const LiveView& view);
nlohmann::json variables_json();
nlohmann::json events_json(const std::vector<NumberedEvent>& events);

// The JSON text of `body` with each string (keys too) as shown_text() shows it.
std::string page_json(const nlohmann::json& body);

}  // namespace host::serve
