#include "formats/image.h"

#include <algorithm>
#include <string>

#include "formats/format_error.h"

namespace formats {

Image::Image(int32_t width, int32_t height, Rgb fill) : width_(width), height_(height) {
  if (width < 0 || height < 0 || width > kMaxImageSide || height > kMaxImageSide) {
    throw FormatError("a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                      " pixels is out of range");
  }
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
}

void Image::fill_rect(int64_t x, int64_t y, int64_t width, int64_t height, Rgb c) {
  // The caller's box may be anywhere; only its part inside the picture counts.
  const int64_t x0 = std::max<int64_t>(x, 0);
  const int64_t y0 = std::max<int64_t>(y, 0);
  const int64_t x1 = std::min<int64_t>(x + std::max<int64_t>(width, 0), width_);
  const int64_t y1 = std::min<int64_t>(y + std::max<int64_t>(height, 0), height_);
  for (int64_t py = y0; py < y1; ++py) {
    for (int64_t px = x0; px < x1; ++px) {
      pixels_[index(static_cast<int32_t>(px), static_cast<int32_t>(py))] = c;
    }
  }
}

}  // namespace formats
