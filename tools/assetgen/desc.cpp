#include "desc.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

#include "draw.h"
#include "pixel_font.h"

namespace assetgen {

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

struct Token {
  std::string_view text;
  std::size_t offset;  // into the line, for "rest of the line" arguments
};

std::vector<Token> split(std::string_view line) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && is_blank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !is_blank(line[i])) ++i;
    if (i > start) tokens.push_back({line.substr(start, i - start), start});
  }
  return tokens;
}

// One command line being taken apart left to right. Errors carry only the
// complaint; the caller adds FILE:LINE.
class Command {
 public:
  Command(std::string_view line, std::vector<Token> tokens, const char* usage)
      : line_(line), tokens_(std::move(tokens)), usage_(usage) {}

  int64_t integer(const char* name, int64_t lo, int64_t hi) {
    const std::string_view t = next(name);
    int64_t value = 0;
    const char* first = t.data();
    const char* last = first + t.size();
    // from_chars takes a leading '-' only, never '+'.
    const auto [end, ec] = std::from_chars(first, last, value);
    const bool sign_ok = lo < 0 || t[0] != '-';
    if (!sign_ok || ec != std::errc() || end != last || value < lo || value > hi) {
      throw std::runtime_error(std::string(name) + " must be an integer from " +
                               std::to_string(lo) + " to " + std::to_string(hi) + ", got '" +
                               std::string(t) + "'");
    }
    return value;
  }

  int coordinate(const char* name) {
    return static_cast<int>(integer(name, -kMaxCoordinate, kMaxCoordinate));
  }

  int size(const char* name) { return static_cast<int>(integer(name, 0, kMaxCoordinate)); }

  Rect rect() {
    Rect r;
    r.x = coordinate("X");
    r.y = coordinate("Y");
    r.w = size("W");
    r.h = size("H");
    return r;
  }

  Rgb colour() {
    const std::string_view t = next("COLOUR");
    if (t[0] == '#') return hex_colour(t);
    --next_;
    Rgb c;
    c.r = static_cast<uint8_t>(integer("R", 0, 255));
    c.g = static_cast<uint8_t>(integer("G", 0, 255));
    c.b = static_cast<uint8_t>(integer("B", 0, 255));
    return c;
  }

  // Everything after the arguments read so far, trailing blanks dropped.
  std::string_view rest(const char* name) {
    if (next_ >= tokens_.size()) missing(name);
    std::string_view text = line_.substr(tokens_[next_].offset);
    while (is_blank(text.back())) text.remove_suffix(1);
    next_ = tokens_.size();
    return text;
  }

  void finish() const {
    if (next_ < tokens_.size()) {
      throw std::runtime_error("unexpected '" + std::string(tokens_[next_].text) + "' after " +
                               usage_ + " (comments go on a line of their own)");
    }
  }

 private:
  [[noreturn]] void missing(const char* name) const {
    throw std::runtime_error(std::string("missing ") + name + ": the command is " + usage_);
  }

  std::string_view next(const char* name) {
    if (next_ >= tokens_.size()) missing(name);
    return tokens_[next_++].text;
  }

  static int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  static Rgb hex_colour(std::string_view t) {
    uint8_t channel[3] = {};
    bool ok = t.size() == 7;
    for (std::size_t i = 0; ok && i < 3; ++i) {
      const int hi = hex_digit(t[1 + 2 * i]);
      const int lo = hex_digit(t[2 + 2 * i]);
      ok = hi >= 0 && lo >= 0;
      if (ok) channel[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    if (!ok) {
      throw std::runtime_error("a # colour must be # and six hex digits, got '" + std::string(t) +
                               "'");
    }
    return {channel[0], channel[1], channel[2]};
  }

  std::string_view line_;
  std::vector<Token> tokens_;
  const char* usage_;
  std::size_t next_ = 1;  // token 0 is the command name
};

std::string describe_char(char ch) {
  const auto code = static_cast<unsigned char>(ch);
  if (code > 32 && code < 127) {
    std::string d = std::string("'") + ch + "'";
    if (ch >= 'a' && ch <= 'z') d += " (the font is upper case only)";
    return d;
  }
  return "code " + std::to_string(code);
}

std::string_view checked_text(std::string_view text) {
  if (text.size() > kMaxTextLength) {
    throw std::runtime_error("text is longer than " + std::to_string(kMaxTextLength) +
                             " characters");
  }
  for (char ch : text) {
    if (find_glyph(ch) == nullptr) {
      std::string has(font_characters());
      std::erase(has, ' ');
      throw std::runtime_error("the pixel font has no character " + describe_char(ch) +
                               "; it has space and " + has);
    }
  }
  return text;
}

struct Painter {
  Image& image;
  int text_scale = 1;

  void run(std::string_view line) {
    std::vector<Token> tokens = split(line);
    const std::string_view name = tokens[0].text;
    if (name == "fill") {
      Command c(line, std::move(tokens), "fill COLOUR");
      const Rgb colour = c.colour();
      c.finish();
      image.fill(colour);
    } else if (name == "rect") {
      Command c(line, std::move(tokens), "rect X Y W H COLOUR");
      const Rect r = c.rect();
      const Rgb colour = c.colour();
      c.finish();
      fill_rect(image, r, colour);
    } else if (name == "frame") {
      Command c(line, std::move(tokens), "frame X Y W H THICKNESS COLOUR");
      const Rect r = c.rect();
      const auto thickness = static_cast<int>(c.integer("THICKNESS", 1, kMaxCoordinate));
      const Rgb colour = c.colour();
      c.finish();
      draw_frame(image, r, thickness, colour);
    } else if (name == "round_rect") {
      Command c(line, std::move(tokens), "round_rect X Y W H RADIUS COLOUR");
      const Rect r = c.rect();
      const int most = r.w > 0 && r.h > 0 ? (std::min(r.w, r.h) - 1) / 2 : 0;
      const auto radius = static_cast<int>(c.integer("RADIUS", 0, most));
      const Rgb colour = c.colour();
      c.finish();
      fill_round_rect(image, r, radius, colour);
    } else if (name == "text" || name == "text_center") {
      const bool centred = name == "text_center";
      Command c(line, std::move(tokens),
                centred ? "text_center CX Y COLOUR STRING..." : "text X Y COLOUR STRING...");
      const int64_t x = c.coordinate(centred ? "CX" : "X");
      const int y = c.coordinate("Y");
      const Rgb colour = c.colour();
      const std::string_view text = checked_text(c.rest("STRING"));
      const int64_t left = centred ? x - text_width(text, text_scale) / 2 : x;
      // The length limit keeps left far inside the range of int.
      draw_text(image, static_cast<int>(left), y, text, colour, text_scale);
    } else if (name == "scale") {
      Command c(line, std::move(tokens), "scale N");
      text_scale = static_cast<int>(c.integer("N", 1, kMaxTextScale));
      c.finish();
    } else {
      throw std::runtime_error("unknown command '" + std::string(name) +
                               "' (expected fill, rect, frame, round_rect, text, text_center "
                               "or scale)");
    }
  }
};

}  // namespace

void draw_description(Image& image, std::string_view source, const std::string& file_name) {
  Painter painter{image};
  int line_number = 0;
  while (!source.empty()) {
    ++line_number;
    const std::size_t newline = source.find('\n');
    std::string_view line = source.substr(0, newline);
    source.remove_prefix(newline == std::string_view::npos ? source.size() : newline + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    std::size_t first = 0;
    while (first < line.size() && is_blank(line[first])) ++first;
    if (first == line.size() || line[first] == '#') continue;
    try {
      painter.run(line);
    } catch (const std::runtime_error& e) {
      throw DescriptionError(file_name + ":" + std::to_string(line_number) + ": " + e.what());
    } catch (const std::invalid_argument& e) {
      throw DescriptionError(file_name + ":" + std::to_string(line_number) + ": " + e.what());
    }
  }
}

std::string read_description_file(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    throw DescriptionError("cannot read '" + path + "': " + std::strerror(errno));
  }
  std::string text;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  const int read_errno = errno;
  std::fclose(file);
  if (failed) throw DescriptionError("cannot read '" + path + "': " + std::strerror(read_errno));
  return text;
}

}  // namespace assetgen
