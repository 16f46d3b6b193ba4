#include "tools/gaugeinspect/wave_format.h"

#include "tools/gaugeinspect/byte_reader.h"

namespace gaugeinspect {
namespace {

constexpr uint32_t kRiffHeaderBytes = 12;
constexpr uint32_t kChunkHeaderBytes = 8;
constexpr uint32_t kPcmFormatBytes = 16;

}  // namespace

std::optional<WaveFormat> read_wave_format(std::span<const uint8_t> data) {
  const ByteReader r(data);
  if (!r.fits(0, kRiffHeaderBytes) || r.tag(0, "RIFF") != "RIFF" || r.tag(8, "WAVE") != "WAVE") {
    return std::nullopt;
  }
  WaveFormat w;
  // The RIFF size may claim less than the resource holds, never more.
  const uint64_t riff_end = uint64_t{r.u32(4, "RIFF size")} + 8;
  if (riff_end > data.size()) {
    w.error = "RIFF size " + std::to_string(riff_end - 8) + " runs past the resource";
    return w;
  }
  bool have_format = false;
  bool have_data = false;
  // Every chunk moves the walk on by at least its header.
  for (uint64_t at = kRiffHeaderBytes; at <= riff_end && riff_end - at >= kChunkHeaderBytes;) {
    const std::string id = r.tag(at, "chunk id");
    const uint32_t size = r.u32(at + 4, "chunk size");
    const uint64_t body = at + kChunkHeaderBytes;
    if (size > riff_end - body) {
      w.error = "chunk '" + id + "' of " + std::to_string(size) + " bytes runs past the file";
      return w;
    }
    if (id == "fmt ") {
      if (size < kPcmFormatBytes) {
        w.error = "fmt chunk of " + std::to_string(size) + " bytes";
        return w;
      }
      w.format_tag = r.u16(body, "wFormatTag");
      w.channels = r.u16(body + 2, "nChannels");
      w.sample_rate = r.u32(body + 4, "nSamplesPerSec");
      w.bits_per_sample = r.u16(body + 14, "wBitsPerSample");
      have_format = true;
    } else if (id == "data") {
      w.data_bytes = size;
      have_data = true;
    }
    at = body + size + (size & 1);  // chunks are padded to even length
  }
  if (!have_format) {
    w.error = "no fmt chunk";
  } else if (!have_data) {
    w.error = "no data chunk";
  }
  return w;
}

}  // namespace gaugeinspect
