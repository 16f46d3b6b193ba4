#include "desc.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

#include "desc_command.h"
#include "draw.h"
#include "formats/pixel_font.h"
#include "shapes.h"

namespace assetgen {

namespace {

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
    if (formats::legend_face().find(ch) == nullptr) {
      std::string has;
      for (const formats::Glyph& g : formats::legend_face().glyphs) has += g.ch;
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
    std::vector<Token> tokens = split_line(line);
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
    } else if (name == "rect_outline") {
      Command c(line, std::move(tokens), "rect_outline X Y W H THICKNESS COLOUR");
      const Rect r = c.rect();
      const auto thickness = static_cast<int>(c.integer("THICKNESS", 1, kMaxCoordinate));
      const Rgb colour = c.colour();
      c.finish();
      draw_rect_outline(image, r, thickness, colour);
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
    } else if (name == "line") {
      Command c(line, std::move(tokens), "line X0 Y0 X1 Y1 THICKNESS COLOUR");
      const Point a = c.point("X0", "Y0");
      const Point b = c.point("X1", "Y1");
      const double thickness = c.positive("THICKNESS", kMaxCoordinate);
      const Rgb colour = c.colour();
      c.finish();
      draw_line(image, a, b, thickness, colour);
    } else if (name == "disc") {
      Command c(line, std::move(tokens), "disc CX CY R COLOUR");
      const Point centre = c.point("CX", "CY");
      const double radius = c.decimal("R", 0, kMaxCoordinate);
      const Rgb colour = c.colour();
      c.finish();
      fill_disc(image, centre, radius, colour);
    } else if (name == "ring") {
      Command c(line, std::move(tokens), "ring CX CY R THICKNESS COLOUR");
      const Point centre = c.point("CX", "CY");
      const double radius = c.decimal("R", 0, kMaxCoordinate);
      const double thickness = c.positive("THICKNESS", kMaxCoordinate);
      const Rgb colour = c.colour();
      c.finish();
      draw_ring(image, centre, radius, thickness, colour);
    } else if (name == "triangle") {
      Command c(line, std::move(tokens), "triangle X0 Y0 X1 Y1 X2 Y2 COLOUR");
      const Point a = c.point("X0", "Y0");
      const Point b = c.point("X1", "Y1");
      const Point d = c.point("X2", "Y2");
      const Rgb colour = c.colour();
      c.finish();
      fill_triangle(image, a, b, d, colour);
    } else if (name == "tick") {
      Command c(line, std::move(tokens), "tick CX CY PX PY INNER OUTER THICKNESS COLOUR");
      const Point centre = c.point("CX", "CY");
      const Point toward = c.point("PX", "PY");
      if (toward.x == centre.x && toward.y == centre.y) {
        throw std::runtime_error(
            "PX PY must differ from CX CY: the mark's direction is "
            "from the centre through that point");
      }
      const double inner = c.decimal("INNER", 0, kMaxCoordinate);
      const double outer = c.decimal("OUTER", 0, kMaxCoordinate);
      if (outer < inner) throw std::runtime_error("OUTER must not be less than INNER");
      const double thickness = c.positive("THICKNESS", kMaxCoordinate);
      const Rgb colour = c.colour();
      c.finish();
      draw_tick(image, centre, toward, inner, outer, thickness, colour);
    } else {
      throw std::runtime_error(
          "unknown command '" + std::string(name) +
          "' (expected fill, rect, rect_outline, round_rect, line, disc, ring, "
          "triangle, tick, text, text_center or scale)");
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
