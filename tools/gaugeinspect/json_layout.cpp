#include "tools/gaugeinspect/json_layout.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace gaugeinspect {
namespace {

// Doubles that hold integers print as integers; others in their shortest
// exact form; NaN and the infinities, which JSON lacks, as strings.
std::string float_text(double d) {
  if (std::isnan(d)) return "\"NaN\"";
  if (std::isinf(d)) return d > 0 ? "\"Infinity\"" : "\"-Infinity\"";
  if (d == std::trunc(d) && std::fabs(d) < 9007199254740992.0) {
    return std::to_string(static_cast<int64_t>(d));
  }
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, d);
  return std::string(buf, res.ptr);
}

constexpr size_t kFlatObjectMembers = 4;

bool scalar(const Json& j) {
  return !j.is_array() && !j.is_object();
}

void write(const Json& j, std::string& out, int indent) {
  const std::string pad(static_cast<size_t>(indent) + 2, ' ');
  const std::string end_pad(static_cast<size_t>(indent), ' ');
  if (j.is_string()) {
    out += json_quote(j.get_ref<const std::string&>());
  } else if (j.is_number_float()) {
    out += float_text(j.get<double>());
  } else if (j.is_array()) {
    bool flat = true;
    for (const Json& item : j) flat = flat && scalar(item);
    out += '[';
    for (size_t i = 0; i < j.size(); ++i) {
      if (i > 0) out += flat ? ", " : ",";
      if (!flat) out += "\n" + pad;
      write(j[i], out, indent + 2);
    }
    if (!flat && !j.empty()) out += "\n" + end_pad;
    out += ']';
  } else if (j.is_object()) {
    // Small all-scalar objects, such as needle table entries, on one line.
    bool flat = j.size() <= kFlatObjectMembers;
    for (const auto& member : j.items()) flat = flat && scalar(member.value());
    out += '{';
    bool first = true;
    for (const auto& member : j.items()) {
      out += !first ? (flat ? ", " : ",\n") : (flat ? "" : "\n");
      first = false;
      if (!flat) out += pad;
      out += json_quote(member.key()) + ": ";
      write(member.value(), out, indent + 2);
    }
    if (!flat && !j.empty()) out += "\n" + end_pad;
    out += '}';
  } else {
    out += j.dump();  // null, true, false and integers, as the library spells them
  }
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

std::string json_text(const Json& doc) {
  std::string out;
  write(doc, out, 0);
  out += '\n';
  return out;
}

}  // namespace gaugeinspect
