#include "host/audio/resample.h"

#include <cstddef>

namespace host::audio {

std::vector<double> resample_linear(const std::vector<double>& in, uint32_t from_rate,
                                    uint32_t to_rate) {
  if (from_rate == to_rate || in.empty() || from_rate == 0 || to_rate == 0) return in;
  // Positions in whole numbers of 1/to_rate input samples: exact, and no
  // double ever becomes an index.
  const uint64_t from = from_rate;
  const uint64_t to = to_rate;
  const uint64_t count = (static_cast<uint64_t>(in.size()) * to + from / 2) / from;
  std::vector<double> out;
  out.reserve(static_cast<size_t>(count));
  const size_t last = in.size() - 1;
  for (uint64_t k = 0; k < count; ++k) {
    const uint64_t position = k * from;
    const size_t i = static_cast<size_t>(position / to);
    const double fraction = static_cast<double>(position % to) / static_cast<double>(to);
    const double a = in[i < last ? i : last];
    const double b = in[i + 1 < last ? i + 1 : last];
    out.push_back(a + (b - a) * fraction);
  }
  return out;
}

}  // namespace host::audio
