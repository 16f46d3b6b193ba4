#include "host/serve/page_text.h"

#include <cstdint>
#include <cstdio>

namespace host::serve {
namespace {

// The length of the UTF-8 sequence at `text[i]` when it is well formed
// (shortest form, no surrogates, at most U+10FFFF), else 0.
size_t utf8_length(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[i + k]); };
  const auto continuation = [&](size_t k) {
    return i + k < text.size() && (byte(k) & 0xC0) == 0x80;
  };
  const uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (!continuation(1) || !continuation(2)) return 0;
    if (lead == 0xE0 && byte(1) < 0xA0) return 0;   // overlong
    if (lead == 0xED && byte(1) >= 0xA0) return 0;  // a surrogate
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
    if (lead == 0xF0 && byte(1) < 0x90) return 0;   // overlong
    if (lead == 0xF4 && byte(1) >= 0x90) return 0;  // past U+10FFFF
    return 4;
  }
  return 0;
}

bool plain_file_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == '.';
}

void escape(std::string& out, const char* pattern, unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, pattern, value);
  out += text;
}

}  // namespace

std::string shown_text(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t length = utf8_length(text, i);
    const auto lead = static_cast<uint8_t>(text[i]);
    if (length == 0 || (length == 1 && (lead < 0x20 || lead == 0x7F))) {
      escape(out, "\\x%02X", lead);
      ++i;
      continue;
    }
    if (length == 2 && lead == 0xC2 && static_cast<uint8_t>(text[i + 1]) < 0xA0) {
      escape(out, "\\u%04X", static_cast<uint8_t>(text[i + 1]));  // U+0080..U+009F
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

std::string ascii_file_name(std::string_view stem) {
  std::string out;
  for (char c : stem) out += plain_file_char(c) ? c : '_';
  return out;
}

std::string attachment_header(std::string_view name) {
  const std::string plain = "attachment; filename=\"" + ascii_file_name(name) + "\"";
  if (ascii_file_name(name) == name) return plain;
  std::string encoded;
  for (char c : shown_text(name)) {
    if (plain_file_char(c)) {
      encoded += c;
    } else {
      escape(encoded, "%%%02X", static_cast<uint8_t>(c));
    }
  }
  return plain + "; filename*=UTF-8''" + encoded;
}

}  // namespace host::serve
