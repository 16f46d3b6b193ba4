#include "tools/gaugeinspect/json_value.h"

#include <charconv>
#include <cmath>

namespace gaugeinspect {
namespace {

std::string number_text(double d) {
  if (std::isnan(d)) return "\"NaN\"";
  if (std::isinf(d)) return d > 0 ? "\"Infinity\"" : "\"-Infinity\"";
  if (d == std::trunc(d) && std::fabs(d) < 9007199254740992.0) {
    return std::to_string(static_cast<int64_t>(d));
  }
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, d);  // shortest exact form
  return std::string(buf, res.ptr);
}

constexpr size_t kFlatObjectMembers = 4;

bool scalar(const Json& j) {
  return !j.is_array() && !j.is_object();
}

}  // namespace

std::string json_quote(const std::string& text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20 || c >= 0x7F) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

Json& Json::push(Json item) {
  items_.push_back(std::move(item));
  return *this;
}

Json& Json::set(std::string key, Json value) {
  members_.emplace_back(std::move(key), std::move(value));
  return *this;
}

const Json* Json::find(const std::string& key) const {
  if (!is_object()) return nullptr;
  for (const auto& [k, v] : members()) {
    if (k == key) return &v;
  }
  return nullptr;
}

std::string Json::dump() const {
  std::string out;
  dump_to(out, 0);
  out += '\n';
  return out;
}

void Json::dump_to(std::string& out, int indent) const {
  const std::string pad(static_cast<size_t>(indent) + 2, ' ');
  const std::string end_pad(static_cast<size_t>(indent), ' ');
  if (is_null()) {
    out += "null";
  } else if (is_bool()) {
    out += as_bool() ? "true" : "false";
  } else if (is_number()) {
    out += number_text(as_number());
  } else if (is_string()) {
    out += json_quote(as_string());
  } else if (is_array()) {
    const Array& a = items();
    bool flat = true;
    for (const Json& j : a) flat = flat && scalar(j);
    out += '[';
    for (size_t i = 0; i < a.size(); ++i) {
      if (i > 0) out += flat ? ", " : ",";
      if (!flat) out += "\n" + pad;
      a[i].dump_to(out, indent + 2);
    }
    if (!flat && !a.empty()) out += "\n" + end_pad;
    out += ']';
  } else {
    const Object& o = members();
    // Small all-scalar objects, such as needle table entries, on one line.
    bool flat = o.size() <= kFlatObjectMembers;
    for (const auto& member : o) flat = flat && scalar(member.second);
    out += '{';
    for (size_t i = 0; i < o.size(); ++i) {
      out += i > 0 ? (flat ? ", " : ",\n") : (flat ? "" : "\n");
      if (!flat) out += pad;
      out += json_quote(o[i].first) + ": ";
      o[i].second.dump_to(out, indent + 2);
    }
    if (!flat && !o.empty()) out += "\n" + end_pad;
    out += '}';
  }
}

}  // namespace gaugeinspect
