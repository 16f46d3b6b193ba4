#include "wav_writer.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "formats/riff_wave.h"
#include "tone_math.h"

namespace assetgen {

namespace {

[[noreturn]] void reject(const std::string& what) {
  throw std::invalid_argument(what);
}

// Linear ramp over fade blocks at both ends, 0 on the first and last block.
double envelope(uint32_t block, uint32_t blocks, uint32_t fade) {
  const uint32_t edge = std::min(block, blocks - 1u - block);
  if (edge >= fade) return 1.0;
  return static_cast<double>(edge) / static_cast<double>(fade);
}

}  // namespace

void check_wav_format(const WavFormat& f) {
  if (f.channels != 1 && f.channels != 2) {
    reject("CHANNELS must be 1 or 2, got " + std::to_string(f.channels));
  }
  if (f.sample_rate < kMinSampleRate || f.sample_rate > kMaxSampleRate) {
    reject("RATE must be from " + std::to_string(kMinSampleRate) + " to " +
           std::to_string(kMaxSampleRate) + ", got " + std::to_string(f.sample_rate));
  }
  if (f.bits_per_sample != 8 && f.bits_per_sample != 16) {
    reject("BITS must be 8 or 16, got " + std::to_string(f.bits_per_sample));
  }
}

Bytes encode_wav(const WavFormat& format, const Bytes& samples) {
  check_wav_format(format);
  if (samples.size() > kMaxDataBytes) {
    reject("DATA_BYTES must be at most " + std::to_string(kMaxDataBytes));
  }
  const formats::PcmLayout layout{static_cast<uint16_t>(format.channels),
                                  static_cast<uint32_t>(format.sample_rate),
                                  static_cast<uint16_t>(format.bits_per_sample)};
  return formats::encode_pcm_wave(layout, samples);
}

Bytes tone_samples(const ToneRequest& request) {
  const WavFormat& f = request.format;
  check_wav_format(f);
  const uint32_t block_align = wav_block_align(f);
  if (request.data_bytes > kMaxDataBytes) {
    reject("DATA_BYTES must be at most " + std::to_string(kMaxDataBytes) + ", got " +
           std::to_string(request.data_bytes));
  }
  if (request.data_bytes % block_align != 0) {
    reject("DATA_BYTES (" + std::to_string(request.data_bytes) +
           ") must be a multiple of the block align (" + std::to_string(block_align) + ")");
  }
  if (request.tone_hz < 1 || request.tone_hz > f.sample_rate / 2) {
    reject("TONE_HZ must be from 1 to " + std::to_string(f.sample_rate / 2) +
           " (half of RATE), got " + std::to_string(request.tone_hz));
  }

  const uint32_t blocks = request.data_bytes / block_align;
  const auto rate = static_cast<uint32_t>(f.sample_rate);
  const uint32_t fade = std::min(rate / 100u, blocks / 2u);
  Bytes out;
  out.reserve(request.data_bytes);
  for (uint32_t i = 0; i < blocks; ++i) {
    // Phase from exact integers: no drift however long the sound.
    const uint64_t phase = static_cast<uint64_t>(i) * static_cast<uint64_t>(request.tone_hz);
    const double value = envelope(i, blocks, fade) * turn_sine(phase % rate, rate);
    for (int c = 0; c < f.channels; ++c) {
      if (f.bits_per_sample == 8) {
        formats::put_u8(out, static_cast<uint8_t>(128 + round_clamped(64.0 * value, -128, 127)));
      } else {
        formats::put_u16(out, static_cast<uint16_t>(round_clamped(16384.0 * value, -32768, 32767)));
      }
    }
  }
  return out;
}

}  // namespace assetgen
