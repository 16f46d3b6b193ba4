#include "formats/riff_wave.h"

#include "formats/byte_reader.h"
#include "formats/format_error.h"

namespace formats {
namespace {

std::string quoted(const std::string& tag) {
  return "\"" + tag + "\"";
}

// Reads the "fmt " fields of a chunk already known to lie inside the bytes.
void read_format_chunk(const ByteReader& r, uint64_t body, uint32_t size, WaveFormat& w) {
  if (size < kPcmFormatBytes) {
    w.error = "the \"fmt \" chunk is too short (" + std::to_string(size) + " bytes)";
    return;
  }
  w.format_tag = r.u16(body, "wFormatTag");
  w.channels = r.u16(body + 2, "nChannels");
  w.sample_rate = r.u32(body + 4, "nSamplesPerSec");
  w.byte_rate = r.u32(body + 8, "nAvgBytesPerSec");
  w.block_align = r.u16(body + 12, "nBlockAlign");
  w.bits_per_sample = r.u16(body + 14, "wBitsPerSample");
}

}  // namespace

std::optional<WaveFormat> read_wave_format(std::span<const uint8_t> bytes, RiffSize riff_size) {
  const ByteReader r(bytes);
  if (!r.has_tag(0, "RIFF") || !r.has_tag(8, "WAVE")) return std::nullopt;
  WaveFormat w;
  uint64_t end = bytes.size();
  if (riff_size == RiffSize::kTrusted) {
    end = uint64_t{r.u32(4, "RIFF size")} + 8;
    if (end > bytes.size()) {
      w.error = "the RIFF size " + std::to_string(end - 8) + " runs past the end of the file";
      return w;
    }
  }
  bool have_format = false;
  bool have_data = false;
  // Every chunk moves the walk on by at least its header.
  for (uint64_t at = kRiffHeaderBytes; at < end && end - at >= kChunkHeaderBytes;) {
    const std::string id = r.tag(at, "ckID");
    const uint32_t size = r.u32(at + 4, "ckSize");
    const uint64_t body = at + kChunkHeaderBytes;
    const bool inside = size <= end - body;
    const bool wanted = (id == "fmt " && !have_format) || (id == "data" && !have_data);
    if (!inside) {
      // On disk a damaged chunk after the two that matter is not read at all.
      if (!wanted && riff_size == RiffSize::kIgnored) break;
      w.error = "the " + quoted(id) + " chunk runs past the end of the file (" +
                std::to_string(size) + " bytes)";
      return w;
    }
    if (id == "fmt " && !have_format) {
      have_format = true;
      read_format_chunk(r, body, size, w);
      if (!w.valid()) return w;
    } else if (id == "data" && !have_data) {
      have_data = true;
      w.data_offset = body;
      w.data_bytes = size;
    }
    at = body + size + (size & 1u);
  }
  if (!have_format) {
    w.error = "no \"fmt \" chunk";
  } else if (!have_data) {
    w.error = "no \"data\" chunk";
  }
  return w;
}

std::string pcm_playable_error(const WaveFormat& f) {
  if (f.format_tag != kWaveFormatPcm) {
    return "not PCM (format " + std::to_string(f.format_tag) + ")";
  }
  if (f.channels != 1 && f.channels != 2) {
    return std::to_string(f.channels) + " channels (1 or 2 expected)";
  }
  if (f.bits_per_sample != 8 && f.bits_per_sample != 16) {
    return std::to_string(f.bits_per_sample) + " bits per sample (8 or 16 expected)";
  }
  if (f.sample_rate == 0) return "a sample rate of 0";
  return {};
}

Bytes encode_pcm_wave(const PcmLayout& layout, std::span<const uint8_t> samples) {
  // RIFF sizes are 32-bit, and the RIFF size counts the header and pad too.
  if (samples.size() > 0xFFFFFFFFu - kPcmWaveHeaderBytes) {
    throw FormatError("the sound is too long for a WAV file");
  }
  const auto data_bytes = static_cast<uint32_t>(samples.size());
  const uint32_t pad = data_bytes % 2u;
  const uint32_t block_align = layout.block_align();

  Bytes out;
  out.reserve(kPcmWaveHeaderBytes + data_bytes + pad);
  put_tag(out, "RIFF");
  put_u32(out, 4u + (kChunkHeaderBytes + kPcmFormatBytes) + (kChunkHeaderBytes + data_bytes + pad));
  put_tag(out, "WAVE");

  put_tag(out, "fmt ");
  put_u32(out, kPcmFormatBytes);
  put_u16(out, kWaveFormatPcm);
  put_u16(out, layout.channels);
  put_u32(out, layout.sample_rate);
  put_u32(out, layout.sample_rate * block_align);  // byte rate
  put_u16(out, static_cast<uint16_t>(block_align));
  put_u16(out, layout.bits_per_sample);

  put_tag(out, "data");
  put_u32(out, data_bytes);
  out.insert(out.end(), samples.begin(), samples.end());
  if (pad != 0) put_u8(out, 0);
  return out;
}

}  // namespace formats
