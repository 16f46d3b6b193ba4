#include "tests/tools/gaugeinspect/golden_match.h"

#include <algorithm>

namespace inspect_tests {
namespace {

using gaugeinspect::Json;

std::string brief(const Json& j) {
  if (j.is_array()) return "an array of " + std::to_string(j.size());
  if (j.is_object()) return "an object";
  std::string text = gaugeinspect::json_text(j);
  text.pop_back();  // the newline
  return text;
}

void compare(const Json& expected, const Json& actual, const std::string& path,
             std::vector<std::string>& out) {
  const std::string where = path.empty() ? "(document)" : path;
  if (expected.is_string() && expected.get_ref<const std::string&>() == "*") {
    if (actual.is_null()) out.push_back(where + ": expected a value, found null");
    return;
  }
  if (expected.is_object() && expected.size() == 1 && expected.begin().key() == "$any" &&
      expected.begin().value().is_array()) {
    for (const Json& alternative : expected.begin().value()) {
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
    for (const auto& [key, value] : expected.items()) {
      const Json* found = member(actual, key);
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
    if (actual.size() != expected.size())
      out.push_back(where + ": expected " + brief(expected) + ", found " + brief(actual));
    // The items both have are compared too, to show where the lists part.
    const size_t common = std::min(expected.size(), actual.size());
    for (size_t i = 0; i < common; ++i) {
      compare(expected[i], actual[i], path + "[" + std::to_string(i) + "]", out);
    }
    return;
  }
  // Numbers compare by value, whether written as integers or not.
  const bool same = (expected.is_number() && actual.is_number() &&
                     expected.get<double>() == actual.get<double>()) ||
                    (!expected.is_number() && expected == actual);
  if (!same) out.push_back(where + ": expected " + brief(expected) + ", found " + brief(actual));
}

}  // namespace

const Json* member(const Json& object, const std::string& key) {
  if (!object.is_object()) return nullptr;
  const auto found = object.find(key);
  return found == object.end() ? nullptr : &*found;
}

std::vector<std::string> golden_mismatches(const Json& expected, const Json& actual) {
  std::vector<std::string> out;
  compare(expected, actual, "", out);
  return out;
}

}  // namespace inspect_tests
