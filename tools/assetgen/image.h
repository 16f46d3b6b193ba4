#pragma once
// The in-memory picture every bitmap writer reads and any drawing step paints
// into. Rows run top to bottom; writers reorder them when a format wants it.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

class Image {
 public:
  static constexpr int kMaxSide = 4096;

  // Throws std::invalid_argument unless both sides are in 1..kMaxSide.
  Image(int width, int height, Rgb fill = {});

  int width() const { return width_; }
  int height() const { return height_; }

  // Precondition: 0 <= x < width(), 0 <= y < height().
  Rgb pixel(int x, int y) const { return pixels_[index(x, y)]; }

  // Points outside the picture are ignored, so shapes may overhang the edge.
  void set(int x, int y, Rgb colour) {
    if (x >= 0 && x < width_ && y >= 0 && y < height_) pixels_[index(x, y)] = colour;
  }

  void fill(Rgb colour);

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};

}  // namespace assetgen
