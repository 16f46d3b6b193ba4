#pragma once
// The test tone the gauges' sounds are made of, as a RIFF WAVE file of
// uncompressed PCM (formats/riff_wave.h writes it).
#include <cstdint>

#include "formats/byte_writer.h"

namespace assetgen {

using formats::Bytes;

struct WavFormat {
  int channels = 1;  // 1 or 2
  int sample_rate = 22050;
  int bits_per_sample = 16;  // 8 (unsigned) or 16 (signed)
};

inline constexpr int kMinSampleRate = 1000;
inline constexpr int kMaxSampleRate = 96000;
// Keeps the whole file in memory comfortably; far beyond any gauge sound.
inline constexpr uint32_t kMaxDataBytes = 64u * 1024u * 1024u;
inline constexpr int kDefaultToneHz = 440;

// Throws std::invalid_argument for channel counts, rates or depths we do not write.
void check_wav_format(const WavFormat& format);

constexpr uint32_t wav_block_align(const WavFormat& f) {
  return static_cast<uint32_t>(f.channels) * static_cast<uint32_t>(f.bits_per_sample / 8);
}

// A complete file around already interleaved little-endian samples, after
// the checks of the format and the length.
Bytes encode_wav(const WavFormat& format, const Bytes& samples);

struct ToneRequest {
  WavFormat format;
  uint32_t data_bytes = 0;  // sample bytes; a whole number of blocks (one sample per channel)
  int tone_hz = kDefaultToneHz;
};

// Half-scale sine with a 10 ms linear fade at each end (shorter for short
// sounds): starts and ends at silence, so playing or looping it never clicks.
// Every channel carries the same signal. Throws std::invalid_argument for a
// request that cannot be met exactly.
Bytes tone_samples(const ToneRequest& request);

inline Bytes encode_tone_wav(const ToneRequest& request) {
  return encode_wav(request.format, tone_samples(request));
}

}  // namespace assetgen
