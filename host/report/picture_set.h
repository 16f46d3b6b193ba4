#pragma once
// The pictures a report page embeds, each different picture once: a panel
// that looks as it did at an earlier event, or a lamp named again, costs
// one index instead of another PNG.
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "host/render/image.h"

namespace host::report {

class PictureSet {
 public:
  // The index of `image`'s PNG, encoded only the first time it is seen.
  size_t add(const render::Image& image);
  const std::vector<std::vector<uint8_t>>& pngs() const { return pngs_; }

 private:
  std::vector<render::Image> images_;
  std::vector<std::vector<uint8_t>> pngs_;
  std::unordered_multimap<uint64_t, size_t> by_hash_;
};

}  // namespace host::report
