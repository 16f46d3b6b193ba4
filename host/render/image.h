#pragma once
// An RGB picture, rows top-down, three bytes a pixel with no padding, so the
// pixels can go to a PNG encoder as they are.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace host::render {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};
static_assert(sizeof(Rgb) == 3, "pixels are packed RGB triples");

inline constexpr Rgb kBlack{0, 0, 0};

class Image {
 public:
  Image() = default;
  // Throws HostError for negative or absurd sizes.
  Image(int32_t width, int32_t height, Rgb fill = kBlack);

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  bool contains(int64_t x, int64_t y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_;
  }
  // Unchecked: callers test contains() first.
  Rgb at(int32_t x, int32_t y) const { return pixels_[index(x, y)]; }
  void set(int32_t x, int32_t y, Rgb c) { pixels_[index(x, y)] = c; }
  // Clipped to the picture.
  void fill_rect(int32_t x, int32_t y, int32_t width, int32_t height, Rgb c);
  const Rgb* data() const { return pixels_.data(); }

 private:
  size_t index(int32_t x, int32_t y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<Rgb> pixels_;
};

// Far beyond any gauge or panel; guards allocations made from module data.
inline constexpr int32_t kMaxImageSide = 16384;

// Nearest-neighbour scaling to width x height (each at least 1).
Image scale_nearest(const Image& source, int32_t width, int32_t height);

// Copies `source` with its top-left corner at (x, y), clipped; with
// `black_transparent` the pure black pixels leave what is below.
void draw_image(Image& target, const Image& source, int32_t x, int32_t y,
                bool black_transparent = false);

}  // namespace host::render
