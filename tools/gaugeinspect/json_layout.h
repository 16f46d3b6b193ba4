#pragma once
// The --json report's document (an nlohmann ordered_json, so objects keep
// their members in the order of the records) and the layout it is printed
// in, which the library's own dump cannot give: two-space indentation, with
// arrays of scalars and small all-scalar objects on one line.
#include <nlohmann/json.hpp>
#include <string>

namespace gaugeinspect {

using Json = nlohmann::ordered_json;

// The document in the report's layout, ending in a newline.
std::string json_text(const Json& doc);

// The text as a JSON string literal, quotes included. Every byte outside
// printable ASCII is written as \u00XX, so the output is valid whatever the
// file held (bytes of a name are not taken for UTF-8).
std::string json_quote(const std::string& text);

}  // namespace gaugeinspect
