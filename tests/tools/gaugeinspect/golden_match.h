#pragma once
// Compares gaugeinspect's --json output with a hand-written description of
// what a module should hold. The description names only what matters:
//   - an object's members are looked up by name; members it leaves out are
//     not compared;
//   - an array matches an array of the same length, item by item;
//   - the string "*" matches any value but null (an RVA that is present);
//   - {"$any": [A, B, ...]} matches what any of A, B, ... matches;
//   - numbers, strings, booleans and null match only themselves.
#include <string>
#include <vector>

#include "tools/gaugeinspect/json_layout.h"

namespace inspect_tests {

// The document in `text`; throws nlohmann::json::parse_error naming the line
// and column of the first fault.
inline gaugeinspect::Json parse_json(const std::string& text) {
  return gaugeinspect::Json::parse(text);
}

// The member named `key` of an object, or nullptr.
const gaugeinspect::Json* member(const gaugeinspect::Json& object, const std::string& key);

// One line per difference, "path: expected E, found F"; empty on a match.
std::vector<std::string> golden_mismatches(const gaugeinspect::Json& expected,
                                           const gaugeinspect::Json& actual);

}  // namespace inspect_tests
