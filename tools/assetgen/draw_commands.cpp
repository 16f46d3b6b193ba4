#include "draw_commands.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "desc.h"
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

void command_fill(Command& c, Pen& pen) {
  const Rgb colour = c.colour();
  c.finish();
  pen.image.fill(colour);
}

void command_rect(Command& c, Pen& pen) {
  const Rect r = c.rect();
  const Rgb colour = c.colour();
  c.finish();
  fill_rect(pen.image, r, colour);
}

void command_rect_outline(Command& c, Pen& pen) {
  const Rect r = c.rect();
  const auto thickness = static_cast<int>(c.integer("THICKNESS", 1, kMaxCoordinate));
  const Rgb colour = c.colour();
  c.finish();
  draw_rect_outline(pen.image, r, thickness, colour);
}

void command_round_rect(Command& c, Pen& pen) {
  const Rect r = c.rect();
  const int most = r.w > 0 && r.h > 0 ? (std::min(r.w, r.h) - 1) / 2 : 0;
  const auto radius = static_cast<int>(c.integer("RADIUS", 0, most));
  const Rgb colour = c.colour();
  c.finish();
  fill_round_rect(pen.image, r, radius, colour);
}

void command_text_at(Command& c, Pen& pen, bool centred) {
  const int64_t x = c.coordinate(centred ? "CX" : "X");
  const int y = c.coordinate("Y");
  const Rgb colour = c.colour();
  const std::string_view text = checked_text(c.rest("STRING"));
  const int64_t left = centred ? x - text_width(text, pen.text_scale) / 2 : x;
  // The length limit keeps left far inside the range of int.
  draw_text(pen.image, static_cast<int>(left), y, text, colour, pen.text_scale);
}

void command_text(Command& c, Pen& pen) {
  command_text_at(c, pen, false);
}

void command_text_center(Command& c, Pen& pen) {
  command_text_at(c, pen, true);
}

void command_scale(Command& c, Pen& pen) {
  pen.text_scale = static_cast<int>(c.integer("N", 1, kMaxTextScale));
  c.finish();
}

void command_line(Command& c, Pen& pen) {
  const Point a = c.point("X0", "Y0");
  const Point b = c.point("X1", "Y1");
  const double thickness = c.positive("THICKNESS", kMaxCoordinate);
  const Rgb colour = c.colour();
  c.finish();
  draw_line(pen.image, a, b, thickness, colour);
}

void command_disc(Command& c, Pen& pen) {
  const Point centre = c.point("CX", "CY");
  const double radius = c.decimal("R", 0, kMaxCoordinate);
  const Rgb colour = c.colour();
  c.finish();
  fill_disc(pen.image, centre, radius, colour);
}

void command_ring(Command& c, Pen& pen) {
  const Point centre = c.point("CX", "CY");
  const double radius = c.decimal("R", 0, kMaxCoordinate);
  const double thickness = c.positive("THICKNESS", kMaxCoordinate);
  const Rgb colour = c.colour();
  c.finish();
  draw_ring(pen.image, centre, radius, thickness, colour);
}

void command_triangle(Command& c, Pen& pen) {
  const Point a = c.point("X0", "Y0");
  const Point b = c.point("X1", "Y1");
  const Point d = c.point("X2", "Y2");
  const Rgb colour = c.colour();
  c.finish();
  fill_triangle(pen.image, a, b, d, colour);
}

void command_tick(Command& c, Pen& pen) {
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
  draw_tick(pen.image, centre, toward, inner, outer, thickness, colour);
}

struct DrawCommand {
  std::string_view word;
  const char* usage;
  void (*draw)(Command&, Pen&);
};

// In the order an unknown command's message lists them.
constexpr DrawCommand kCommands[] = {
    {"fill", "fill COLOUR", command_fill},
    {"rect", "rect X Y W H COLOUR", command_rect},
    {"rect_outline", "rect_outline X Y W H THICKNESS COLOUR", command_rect_outline},
    {"round_rect", "round_rect X Y W H RADIUS COLOUR", command_round_rect},
    {"line", "line X0 Y0 X1 Y1 THICKNESS COLOUR", command_line},
    {"disc", "disc CX CY R COLOUR", command_disc},
    {"ring", "ring CX CY R THICKNESS COLOUR", command_ring},
    {"triangle", "triangle X0 Y0 X1 Y1 X2 Y2 COLOUR", command_triangle},
    {"tick", "tick CX CY PX PY INNER OUTER THICKNESS COLOUR", command_tick},
    {"text", "text X Y COLOUR STRING...", command_text},
    {"text_center", "text_center CX Y COLOUR STRING...", command_text_center},
    {"scale", "scale N", command_scale},
};

std::string command_words() {
  std::string out;
  for (size_t i = 0; i < std::size(kCommands); ++i) {
    if (i > 0) out += i + 1 == std::size(kCommands) ? " or " : ", ";
    out += kCommands[i].word;
  }
  return out;
}

}  // namespace

void run_draw_command(Pen& pen, std::string_view source_line) {
  std::vector<Token> tokens = split_line(source_line);
  const std::string_view word = tokens[0].text;
  for (const DrawCommand& row : kCommands) {
    if (row.word != word) continue;
    Command c(source_line, std::move(tokens), row.usage);
    row.draw(c, pen);
    return;
  }
  throw std::runtime_error("unknown command '" + std::string(word) + "' (expected " +
                           command_words() + ")");
}

}  // namespace assetgen
