#pragma once
// An RGB picture, rows top-down, three bytes a pixel with no padding, so the
// pixels go to a PNG encoder as they are. What the bitmap and PNG code reads
// and writes, and what the host's pictures and assetgen's drawings paint.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace formats {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};
static_assert(sizeof(Rgb) == 3, "pixels are packed RGB triples");

inline constexpr Rgb kBlack{0, 0, 0};

// Far beyond any gauge or panel; guards allocations made from file data.
inline constexpr int32_t kMaxImageSide = 16384;

class Image {
 public:
  Image() = default;
  // Throws FormatError for a negative side or one above kMaxImageSide.
  Image(int32_t width, int32_t height, Rgb fill = kBlack);

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  bool contains(int64_t x, int64_t y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_;
  }
  // Unchecked: callers test contains() first.
  Rgb at(int32_t x, int32_t y) const { return pixels_[index(x, y)]; }
  // Points outside the picture are ignored, so shapes may overhang the edge.
  void set(int64_t x, int64_t y, Rgb c) {
    if (contains(x, y)) pixels_[index(static_cast<int32_t>(x), static_cast<int32_t>(y))] = c;
  }
  // Clipped to the picture.
  void fill_rect(int64_t x, int64_t y, int64_t width, int64_t height, Rgb c);
  void fill(Rgb c) { fill_rect(0, 0, width_, height_, c); }
  const Rgb* data() const { return pixels_.data(); }

 private:
  size_t index(int32_t x, int32_t y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<Rgb> pixels_;
};

}  // namespace formats
