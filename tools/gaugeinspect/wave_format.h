#pragma once
// The format of a RIFF WAVE sound held in a resource: channels, rate, sample
// size and the length of its sample data.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace gaugeinspect {

struct WaveFormat {
  uint16_t format_tag = 0;  // 1 for PCM
  uint16_t channels = 0;
  uint32_t sample_rate = 0;
  uint16_t bits_per_sample = 0;
  uint32_t data_bytes = 0;
  std::string error;  // empty when the fmt and data chunks were both found and fit

  bool valid() const { return error.empty(); }
};

// nullopt when the bytes do not start as a RIFF WAVE file at all; a WAVE
// file with broken chunks is returned with `error` set. Never throws.
std::optional<WaveFormat> read_wave_format(std::span<const uint8_t> data);

}  // namespace gaugeinspect
