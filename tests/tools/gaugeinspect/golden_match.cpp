#include "tests/tools/gaugeinspect/golden_match.h"

#include <algorithm>

namespace inspect_tests {
namespace {

using gaugeinspect::Json;

std::string brief(const Json& j) {
  if (j.is_array()) return "an array of " + std::to_string(j.items().size());
  if (j.is_object()) return "an object";
  std::string text = j.dump();
  text.pop_back();  // the newline
  return text;
}

void compare(const Json& expected, const Json& actual, const std::string& path,
             std::vector<std::string>& out) {
  const std::string where = path.empty() ? "(document)" : path;
  if (expected.is_string() && expected.as_string() == "*") {
    if (actual.is_null()) out.push_back(where + ": expected a value, found null");
    return;
  }
  if (expected.is_object() && expected.members().size() == 1 &&
      expected.members()[0].first == "$any" && expected.members()[0].second.is_array()) {
    for (const Json& alternative : expected.members()[0].second.items()) {
      std::vector<std::string> miss;
      compare(alternative, actual, path, miss);
      if (miss.empty()) return;
    }
    out.push_back(where + ": matches none of the alternatives, found " + brief(actual));
    return;
  }
  if (expected.is_object()) {
    if (!actual.is_object()) {
      out.push_back(where + ": expected an object, found " + brief(actual));
      return;
    }
    for (const auto& [key, value] : expected.members()) {
      const Json* found = actual.find(key);
      const std::string member = path.empty() ? key : path + "." + key;
      if (found == nullptr) {
        out.push_back(member + ": missing");
      } else {
        compare(value, *found, member, out);
      }
    }
    return;
  }
  if (expected.is_array()) {
    if (!actual.is_array()) {
      out.push_back(where + ": expected " + brief(expected) + ", found " + brief(actual));
      return;
    }
    if (actual.items().size() != expected.items().size())
      out.push_back(where + ": expected " + brief(expected) + ", found " + brief(actual));
    // The items both have are compared too, to show where the lists part.
    const size_t common = std::min(expected.items().size(), actual.items().size());
    for (size_t i = 0; i < common; ++i) {
      compare(expected.items()[i], actual.items()[i], path + "[" + std::to_string(i) + "]", out);
    }
    return;
  }
  const bool same =
      (expected.is_null() && actual.is_null()) ||
      (expected.is_bool() && actual.is_bool() && expected.as_bool() == actual.as_bool()) ||
      (expected.is_number() && actual.is_number() && expected.as_number() == actual.as_number()) ||
      (expected.is_string() && actual.is_string() && expected.as_string() == actual.as_string());
  if (!same) out.push_back(where + ": expected " + brief(expected) + ", found " + brief(actual));
}

}  // namespace

std::vector<std::string> golden_mismatches(const Json& expected, const Json& actual) {
  std::vector<std::string> out;
  compare(expected, actual, "", out);
  return out;
}

}  // namespace inspect_tests
