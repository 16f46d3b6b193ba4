#pragma once
// Reads a JSON document (the golden descriptions and gaugeinspect's --json
// output) into a gaugeinspect::Json.
#include <stdexcept>
#include <string>

#include "tools/gaugeinspect/json_value.h"

namespace inspect_tests {

struct JsonParseError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Throws JsonParseError naming the line and column of the first fault.
gaugeinspect::Json parse_json(const std::string& text);

}  // namespace inspect_tests
