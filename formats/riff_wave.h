#pragma once
// RIFF WAVE files: the "fmt " chunk's fields and where the "data" chunk
// lies, and uncompressed PCM files written from samples.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "formats/byte_writer.h"

namespace formats {

inline constexpr uint16_t kWaveFormatPcm = 1;
inline constexpr uint32_t kRiffHeaderBytes = 12;  // "RIFF", size, "WAVE"
inline constexpr uint32_t kChunkHeaderBytes = 8;  // tag, size
inline constexpr uint32_t kPcmFormatBytes = 16;   // the "fmt " fields of PCM
inline constexpr uint32_t kPcmWaveHeaderBytes = 44;

struct WaveFormat {
  // The "fmt " chunk (WAVEFORMAT plus wBitsPerSample).
  uint16_t format_tag = 0;       // wFormatTag: 1 for PCM
  uint16_t channels = 0;         // nChannels
  uint32_t sample_rate = 0;      // nSamplesPerSec
  uint32_t byte_rate = 0;        // nAvgBytesPerSec
  uint16_t block_align = 0;      // nBlockAlign
  uint16_t bits_per_sample = 0;  // wBitsPerSample
  // The "data" chunk: its body's offset in the file and its length.
  uint64_t data_offset = 0;
  uint32_t data_bytes = 0;
  std::string error;  // empty when both chunks were found and fit

  bool valid() const { return error.empty(); }
};

// How far the chunks may reach. A file on disk is read to its end: streaming
// writers leave the RIFF size wrong, and players ignore it. A resource inside
// a module is checked against the RIFF size, which may claim less than the
// resource holds but never more.
enum class RiffSize { kIgnored, kTrusted };

// nullopt when the bytes do not start as a RIFF WAVE file at all; a WAVE file
// with a broken, short or missing chunk comes back with `error` set. The first
// "fmt " and "data" chunks count; chunks are padded to an even length, and a
// missing pad byte at the very end is harmless. Never throws.
std::optional<WaveFormat> read_wave_format(std::span<const uint8_t> bytes, RiffSize riff_size);

// Empty when the sound library can play the format (PCM, 8 or 16 bits, one
// or two channels, a rate above 0), otherwise what is wrong with it.
std::string pcm_playable_error(const WaveFormat& format);

struct PcmLayout {
  uint16_t channels = 1;
  uint32_t sample_rate = 22050;
  uint16_t bits_per_sample = 16;  // 8 (unsigned) or 16 (signed)

  uint32_t block_align() const { return uint32_t{channels} * (bits_per_sample / 8u); }
};

// A complete PCM file around already interleaved little-endian samples: the
// 44-byte header, the samples, and the pad byte RIFF requires after a data
// chunk of odd length. Throws FormatError when the data does not fit the
// 32-bit sizes.
Bytes encode_pcm_wave(const PcmLayout& layout, std::span<const uint8_t> samples);

}  // namespace formats
