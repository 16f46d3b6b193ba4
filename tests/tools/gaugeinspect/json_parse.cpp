#include "tests/tools/gaugeinspect/json_parse.h"

#include <charconv>
#include <cstdint>

namespace inspect_tests {
namespace {

using gaugeinspect::Json;

constexpr int kMaxDepth = 64;

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  Json document() {
    Json j = value(0);
    skip_space();
    if (at_ < s_.size()) fail("text after the document");
    return j;
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    size_t line = 1, column = 1;
    for (size_t i = 0; i < at_ && i < s_.size(); ++i) {
      column = s_[i] == '\n' ? 1 : column + 1;
      line += s_[i] == '\n' ? 1 : 0;
    }
    throw JsonParseError(std::to_string(line) + ":" + std::to_string(column) + ": " + what);
  }

  void skip_space() {
    while (at_ < s_.size() &&
           (s_[at_] == ' ' || s_[at_] == '\n' || s_[at_] == '\r' || s_[at_] == '\t')) {
      ++at_;
    }
  }

  bool take(char c) {
    skip_space();
    if (at_ < s_.size() && s_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }

  void expect(char c) {
    if (!take(c)) fail(std::string("expected '") + c + "'");
  }

  bool word(const char* w) {
    const std::string text(w);
    if (s_.compare(at_, text.size(), text) != 0) return false;
    at_ += text.size();
    return true;
  }

  Json value(int depth) {
    if (depth > kMaxDepth) fail("nested too deeply");
    skip_space();
    if (at_ >= s_.size()) fail("unexpected end");
    const char c = s_[at_];
    if (c == '{') return object(depth);
    if (c == '[') return array(depth);
    if (c == '"') return Json::string(string());
    if (word("null")) return Json();
    if (word("true")) return Json::boolean(true);
    if (word("false")) return Json::boolean(false);
    return number();
  }

  Json object(int depth) {
    expect('{');
    Json j = Json::object();
    if (take('}')) return j;
    do {
      skip_space();
      if (at_ >= s_.size() || s_[at_] != '"') fail("expected a member name");
      std::string key = string();
      expect(':');
      j.set(std::move(key), value(depth + 1));
    } while (take(','));
    expect('}');
    return j;
  }

  Json array(int depth) {
    expect('[');
    Json j = Json::array();
    if (take(']')) return j;
    do {
      j.push(value(depth + 1));
    } while (take(','));
    expect(']');
    return j;
  }

  Json number() {
    double d = 0;
    const char* begin = s_.data() + at_;
    const auto res = std::from_chars(begin, s_.data() + s_.size(), d);
    if (res.ec != std::errc() || res.ptr == begin) fail("expected a value");
    at_ += static_cast<size_t>(res.ptr - begin);
    return Json::number(d);
  }

  uint32_t hex4() {
    if (s_.size() - at_ < 4) fail("short \\u escape");
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = s_[at_++];
      v <<= 4;
      if (c >= '0' && c <= '9')
        v |= static_cast<uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f')
        v |= static_cast<uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        v |= static_cast<uint32_t>(c - 'A' + 10);
      else
        fail("bad \\u escape");
    }
    return v;
  }

  std::string string() {
    ++at_;  // the opening quote
    std::string out;
    while (true) {
      if (at_ >= s_.size()) fail("unterminated string");
      const char c = s_[at_++];
      if (c == '"') return out;
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (at_ >= s_.size()) fail("unterminated escape");
      const char e = s_[at_++];
      switch (e) {
        case 'n':
          out.push_back('\n');
          break;
        case 't':
          out.push_back('\t');
          break;
        case 'r':
          out.push_back('\r');
          break;
        case 'b':
          out.push_back('\b');
          break;
        case 'f':
          out.push_back('\f');
          break;
        case 'u': {
          // gaugeinspect writes a file's raw bytes as \u00XX; read them back
          // as those bytes.
          const uint32_t v = hex4();
          if (v > 0xFF) fail("\\u escape above 00ff");
          out.push_back(static_cast<char>(v));
          break;
        }
        default:
          out.push_back(e);
      }
    }
  }

  const std::string& s_;
  size_t at_ = 0;
};

}  // namespace

Json parse_json(const std::string& text) {
  return Parser(text).document();
}

}  // namespace inspect_tests
