#pragma once
// One line of a drawing description taken apart left to right. Errors are
// std::runtime_error with only the complaint; draw_description adds
// FILE:LINE.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "draw.h"
#include "image.h"
#include "shapes.h"

namespace assetgen {

struct Token {
  std::string_view text;
  std::size_t offset;  // into the line, for "rest of the line" arguments
};

bool is_blank(char c);

// The blank-separated words of line.
std::vector<Token> split_line(std::string_view line);

// Digits allowed after the decimal point.
inline constexpr int kMaxDecimals = 6;

class Command {
 public:
  // usage is the command's synopsis, quoted in diagnostics; tokens[0] is the
  // command name.
  Command(std::string_view line, std::vector<Token> tokens, const char* usage);

  int64_t integer(const char* name, int64_t lo, int64_t hi);
  int coordinate(const char* name);
  int size(const char* name);
  Rect rect();

  // A decimal such as 12, -3.5 or 0.25 from lo to hi. It is read as an
  // exact integer divided by a power of ten, so every machine gets the same
  // double.
  double decimal(const char* name, int64_t lo, int64_t hi);
  // A decimal above 0, up to hi.
  double positive(const char* name, int64_t hi);
  // Two decimal coordinates.
  Point point(const char* x_name, const char* y_name);

  Rgb colour();

  // Everything after the arguments read so far, trailing blanks dropped.
  std::string_view rest(const char* name);

  // Throws if arguments are left over.
  void finish() const;

 private:
  [[noreturn]] void missing(const char* name) const;
  std::string_view next(const char* name);

  std::string_view line_;
  std::vector<Token> tokens_;
  const char* usage_;
  std::size_t next_ = 1;  // token 0 is the command name
};

}  // namespace assetgen
