#pragma once
// Shared helpers for the assetgen tests: scratch directories, whole-file
// reads, little-endian field access and reading back our own bitmaps.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "formats/image.h"

namespace formats {

// Readable colours in failure messages.
inline void PrintTo(const Rgb& c, std::ostream* os) {
  *os << "(" << int{c.r} << "," << int{c.g} << "," << int{c.b} << ")";
}

}  // namespace formats

namespace assetgen_test {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// A fresh directory per test, removed afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("assetgen_") + info->test_suite_name() + "_" + info->name() +
                       "_" + std::to_string(::getpid());
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    path_ = fs::temp_directory_path() / name;
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

inline Bytes read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline uint32_t le16(const Bytes& b, size_t at) {
  return static_cast<uint32_t>(b.at(at)) | static_cast<uint32_t>(b.at(at + 1)) << 8;
}

inline uint32_t le32(const Bytes& b, size_t at) {
  return le16(b, at) | le16(b, at + 2) << 16;
}

inline int16_t le_i16(const Bytes& b, size_t at) {
  return static_cast<int16_t>(le16(b, at));
}

inline std::string tag(const Bytes& b, size_t at, size_t length = 4) {
  if (at + length > b.size()) return "<past end>";
  return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                     b.begin() + static_cast<std::ptrdiff_t>(at + length));
}

// The pixels of a 24-bit bottom-up BMP as encode_bmp24 writes them; nullopt
// for anything else, so a test can tell a wrong file from wrong pixels.
inline std::optional<formats::Image> decode_bmp24(const Bytes& b) {
  if (b.size() < 54 || tag(b, 0, 2) != "BM" || le16(b, 28) != 24 || le32(b, 30) != 0) {
    return std::nullopt;
  }
  const auto width = static_cast<int>(le32(b, 18));
  const auto height = static_cast<int>(le32(b, 22));
  if (width < 1 || width > 4096 || height < 1 || height > 4096) return std::nullopt;
  const size_t stride = (3 * static_cast<size_t>(width) + 3) / 4 * 4;
  const size_t offset = le32(b, 10);
  if (b.size() != offset + stride * static_cast<size_t>(height)) return std::nullopt;
  formats::Image image(width, height);
  for (int y = 0; y < height; ++y) {
    const size_t row = offset + static_cast<size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const size_t at = row + 3 * static_cast<size_t>(x);
      image.set(x, y, {b[at + 2], b[at + 1], b[at]});
    }
  }
  return image;
}

}  // namespace assetgen_test
