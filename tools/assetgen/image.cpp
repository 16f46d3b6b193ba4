#include "image.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace assetgen {

namespace {

int checked_side(int side, const char* what) {
  if (side < 1 || side > Image::kMaxSide) {
    throw std::invalid_argument(std::string(what) + " must be from 1 to " +
                                std::to_string(Image::kMaxSide) + ", got " + std::to_string(side));
  }
  return side;
}

}  // namespace

Image::Image(int width, int height, Rgb fill)
    : width_(checked_side(width, "WIDTH")),
      height_(checked_side(height, "HEIGHT")),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

void Image::fill(Rgb colour) {
  std::fill(pixels_.begin(), pixels_.end(), colour);
}

}  // namespace assetgen
