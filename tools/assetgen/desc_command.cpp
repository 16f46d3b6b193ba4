#include "desc_command.h"

#include <charconv>
#include <stdexcept>
#include <string>
#include <utility>

#include "desc.h"

namespace assetgen {

namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

Rgb hex_colour(std::string_view t) {
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

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// -?D+(.D{1,kMaxDecimals})? as an integer count of 10^-decimals; false for
// anything else. Values are kept far below 2^53, so the division that makes
// the double is exact up to its single rounding.
bool parse_decimal(std::string_view t, double& value) {
  std::size_t i = 0;
  const bool negative = !t.empty() && t[0] == '-';
  if (negative) ++i;
  int64_t scaled = 0;
  int whole_digits = 0;
  for (; i < t.size() && is_digit(t[i]); ++i, ++whole_digits) {
    if (whole_digits == 9) return false;
    scaled = scaled * 10 + (t[i] - '0');
  }
  if (whole_digits == 0) return false;
  int decimals = 0;
  if (i < t.size() && t[i] == '.') {
    for (++i; i < t.size() && is_digit(t[i]); ++i, ++decimals) {
      if (decimals == kMaxDecimals) return false;
      scaled = scaled * 10 + (t[i] - '0');
    }
    if (decimals == 0) return false;
  }
  if (i != t.size()) return false;
  double divisor = 1.0;
  for (int d = 0; d < decimals; ++d) divisor *= 10.0;
  value = static_cast<double>(negative ? -scaled : scaled) / divisor;
  return true;
}

}  // namespace

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

std::vector<Token> split_line(std::string_view line) {
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

Command::Command(std::string_view line, std::vector<Token> tokens, const char* usage)
    : line_(line), tokens_(std::move(tokens)), usage_(usage) {}

int64_t Command::integer(const char* name, int64_t lo, int64_t hi) {
  const std::string_view t = next(name);
  int64_t value = 0;
  const char* first = t.data();
  const char* last = first + t.size();
  // from_chars takes a leading '-' only, never '+'.
  const auto [end, ec] = std::from_chars(first, last, value);
  const bool sign_ok = lo < 0 || t[0] != '-';
  if (!sign_ok || ec != std::errc() || end != last || value < lo || value > hi) {
    throw std::runtime_error(std::string(name) + " must be an integer from " + std::to_string(lo) +
                             " to " + std::to_string(hi) + ", got '" + std::string(t) + "'");
  }
  return value;
}

int Command::coordinate(const char* name) {
  return static_cast<int>(integer(name, -kMaxCoordinate, kMaxCoordinate));
}

int Command::size(const char* name) {
  return static_cast<int>(integer(name, 0, kMaxCoordinate));
}

Rect Command::rect() {
  Rect r;
  r.x = coordinate("X");
  r.y = coordinate("Y");
  r.w = size("W");
  r.h = size("H");
  return r;
}

double Command::decimal(const char* name, int64_t lo, int64_t hi) {
  const std::string_view t = next(name);
  double value = 0.0;
  const bool sign_ok = lo < 0 || t[0] != '-';
  if (!sign_ok || !parse_decimal(t, value) || value < static_cast<double>(lo) ||
      value > static_cast<double>(hi)) {
    throw std::runtime_error(std::string(name) + " must be a number from " + std::to_string(lo) +
                             " to " + std::to_string(hi) + " with at most " +
                             std::to_string(kMaxDecimals) + " decimals, got '" + std::string(t) +
                             "'");
  }
  return value;
}

double Command::positive(const char* name, int64_t hi) {
  const double value = decimal(name, 0, hi);
  if (!(value > 0.0)) throw std::runtime_error(std::string(name) + " must be more than 0");
  return value;
}

Point Command::point(const char* x_name, const char* y_name) {
  Point p;
  p.x = decimal(x_name, -kMaxCoordinate, kMaxCoordinate);
  p.y = decimal(y_name, -kMaxCoordinate, kMaxCoordinate);
  return p;
}

Rgb Command::colour() {
  const std::string_view t = next("COLOUR");
  if (t[0] == '#') return hex_colour(t);
  --next_;
  Rgb c;
  c.r = static_cast<uint8_t>(integer("R", 0, 255));
  c.g = static_cast<uint8_t>(integer("G", 0, 255));
  c.b = static_cast<uint8_t>(integer("B", 0, 255));
  return c;
}

std::string_view Command::rest(const char* name) {
  if (next_ >= tokens_.size()) missing(name);
  std::string_view text = line_.substr(tokens_[next_].offset);
  while (is_blank(text.back())) text.remove_suffix(1);
  next_ = tokens_.size();
  return text;
}

void Command::finish() const {
  if (next_ < tokens_.size()) {
    throw std::runtime_error("unexpected '" + std::string(tokens_[next_].text) + "' after " +
                             usage_ + " (comments go on a line of their own)");
  }
}

void Command::missing(const char* name) const {
  throw std::runtime_error(std::string("missing ") + name + ": the command is " + usage_);
}

std::string_view Command::next(const char* name) {
  if (next_ >= tokens_.size()) missing(name);
  return tokens_[next_++].text;
}

}  // namespace assetgen
