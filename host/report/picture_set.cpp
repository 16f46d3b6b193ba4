#include "host/report/picture_set.h"

#include <cstring>

#include "host/render/png_writer.h"

namespace host::report {
namespace {

// Eight bytes at a time: a panel picture is hashed at every event.
uint64_t hash_of(const render::Image& image) {
  uint64_t h = static_cast<uint64_t>(image.width()) << 32 | static_cast<uint32_t>(image.height());
  const auto* bytes = reinterpret_cast<const uint8_t*>(image.data());
  const size_t n = static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()) * 3;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, bytes + i, 8);
    h = (h ^ word) * 0x9e3779b97f4a7c15ull;
    h ^= h >> 29;
  }
  for (; i < n; ++i) h = (h ^ bytes[i]) * 0x100000001b3ull;
  return h;
}

bool same(const render::Image& a, const render::Image& b) {
  if (a.width() != b.width() || a.height() != b.height()) return false;
  const size_t n = static_cast<size_t>(a.width()) * static_cast<size_t>(a.height()) * 3;
  return n == 0 || std::memcmp(a.data(), b.data(), n) == 0;
}

}  // namespace

size_t PictureSet::add(const render::Image& image) {
  const uint64_t h = hash_of(image);
  auto [from, to] = by_hash_.equal_range(h);
  for (auto it = from; it != to; ++it) {
    if (same(images_[it->second], image)) return it->second;
  }
  pngs_.push_back(render::png_bytes(image));
  images_.push_back(image);
  by_hash_.emplace(h, pngs_.size() - 1);
  return pngs_.size() - 1;
}

}  // namespace host::report
