#include "image.h"

#include <stdexcept>
#include <string>

namespace assetgen {

namespace {

int checked_side(int side, const char* what) {
  if (side < 1 || side > kMaxSide) {
    throw std::invalid_argument(std::string(what) + " must be from 1 to " +
                                std::to_string(kMaxSide) + ", got " + std::to_string(side));
  }
  return side;
}

}  // namespace

Image new_canvas(int width, int height, Rgb fill) {
  return Image(checked_side(width, "WIDTH"), checked_side(height, "HEIGHT"), fill);
}

}  // namespace assetgen
