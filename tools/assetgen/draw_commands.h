#pragma once
// The commands of a drawing description, one row each: its word, its usage
// and what it draws.
#include <string_view>

#include "image.h"

namespace assetgen {

// What the lines of one description share.
struct Pen {
  Image& image;
  int text_scale = 1;
};

// Draws one non-blank, non-comment line; throws std::runtime_error (or
// std::invalid_argument) with only the complaint.
void run_draw_command(Pen& pen, std::string_view line);

}  // namespace assetgen
