#pragma once
// Drawing descriptions: small text files that say how to paint a bitmap, so
// gauge pictures live in the repository as reviewable text. One command a
// line; blank lines and lines whose first non-blank character is '#' are
// skipped. Coordinates are pixels from the top-left corner, x right, y down.
// COLOUR is "R G B" (0-255 each) or "#rrggbb".
//   fill COLOUR                           the whole picture
//   rect X Y W H COLOUR                   filled rectangle
//   rect_outline X Y W H THICKNESS COLOUR rectangle outline inside X Y W H
//   round_rect X Y W H RADIUS COLOUR      filled, corners rounded
//   text X Y COLOUR STRING...             pixel-font text, top-left at X Y
//   text_center CX Y COLOUR STRING...     the same, centred on column CX
//                                         (an even width has its extra
//                                         column left of CX)
//   scale N                               glyph size factor for later text
//   line X0 Y0 X1 Y1 THICKNESS COLOUR     thick line with round ends
//   disc CX CY R COLOUR                   filled circle
//   ring CX CY R THICKNESS COLOUR         circle outline inside radius R
//   triangle X0 Y0 X1 Y1 X2 Y2 COLOUR     filled triangle
//   tick CX CY PX PY INNER OUTER THICKNESS COLOUR
//                                         scale mark on the ray from CX CY
//                                         through PX PY, from INNER to
//                                         OUTER away from CX CY
// STRING is the rest of the line after the colour, trailing blanks dropped.
// The last five commands take decimals such as 12.5 or -0.25 for
// coordinates, radii and thicknesses; shapes.h says which pixels they paint.
#include <stdexcept>
#include <string>
#include <string_view>

#include "image.h"

namespace assetgen {

// The message is "FILE:LINE: what is wrong", or "cannot read ..." when the
// file itself is unusable.
struct DescriptionError : std::invalid_argument {
  using std::invalid_argument::invalid_argument;
};

inline constexpr int kMaxCoordinate = 2 * kMaxSide;
inline constexpr std::size_t kMaxTextLength = 1000;

// Paints the commands of source over image in order. file_name only labels
// diagnostics. Throws DescriptionError at the first bad line.
void draw_description(Image& image, std::string_view source, const std::string& file_name);

// The whole file as bytes. Throws DescriptionError if it cannot be read.
std::string read_description_file(const std::string& path);

}  // namespace assetgen
