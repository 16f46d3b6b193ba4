#pragma once
// Linear resampling of one mono signal, for mixing sounds of any rate into
// the track.
#include <cstdint>
#include <vector>

namespace host::audio {

// The signal at `to_rate`: round(size * to_rate / from_rate) samples, each
// interpolated between the two input samples around its time (the last one
// held past the end). Equal rates give the input unchanged.
std::vector<double> resample_linear(const std::vector<double>& in, uint32_t from_rate,
                                    uint32_t to_rate);

}  // namespace host::audio
