#include "host/audio/wav_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "host/host_error.h"

namespace host::audio {
namespace {

// Little-endian fields, read only after the caller has checked the bounds.
uint32_t le16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8;
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return le16(b, at) | le16(b, at + 2) << 16;
}

bool tag_at(const std::vector<uint8_t>& b, size_t at, const char (&tag)[5]) {
  for (size_t i = 0; i < 4; ++i) {
    if (b[at + i] != static_cast<uint8_t>(tag[i])) return false;
  }
  return true;
}

[[noreturn]] void bad(const std::string& name, const std::string& why) {
  throw HostError("bad WAV file " + name + ": " + why);
}

struct Chunks {
  size_t format_at = 0;
  uint64_t format_size = 0;
  size_t data_at = 0;
  uint64_t data_size = 0;
  bool has_format = false;
  bool has_data = false;
};

// The first "fmt " and "data" chunks. Sizes are checked against the bytes
// present, never the RIFF size field: streaming writers leave that wrong.
Chunks find_chunks(const std::vector<uint8_t>& b, const std::string& name) {
  Chunks c;
  size_t at = 12;
  while (b.size() - at >= 8) {
    const uint64_t size = le32(b, at + 4);
    const size_t body = at + 8;
    const bool inside = size <= b.size() - body;
    if (tag_at(b, at, "fmt ") && !c.has_format) {
      if (!inside) bad(name, "the \"fmt \" chunk runs past the end of the file");
      c.format_at = body;
      c.format_size = size;
      c.has_format = true;
    } else if (tag_at(b, at, "data") && !c.has_data) {
      if (!inside) bad(name, "the \"data\" chunk runs past the end of the file");
      c.data_at = body;
      c.data_size = size;
      c.has_data = true;
    }
    if (!inside) break;
    // Chunks are padded to an even length; a missing final pad byte is harmless.
    const uint64_t next = body + size + (size & 1);
    if (next >= b.size()) break;
    at = static_cast<size_t>(next);
  }
  return c;
}

void put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>(value >> 8 & 0xFF));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

void put_tag(std::vector<uint8_t>& out, const char (&tag)[5]) {
  // Byte by byte: GCC 12 misreads a range insert here as an overflow.
  for (size_t i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

WavClip parse_wav(const std::vector<uint8_t>& b, const std::string& name) {
  if (b.size() < 12 || !tag_at(b, 0, "RIFF") || !tag_at(b, 8, "WAVE")) {
    bad(name, "not a RIFF WAVE file");
  }
  const Chunks c = find_chunks(b, name);
  if (!c.has_format) bad(name, "no \"fmt \" chunk");
  if (c.format_size < 16) bad(name, "the \"fmt \" chunk is too short");
  WavClip clip;
  const uint32_t format_tag = le16(b, c.format_at);
  clip.channels = le16(b, c.format_at + 2);
  clip.sample_rate = le32(b, c.format_at + 4);
  clip.bits_per_sample = le16(b, c.format_at + 14);
  if (format_tag != 1) bad(name, "not PCM (format " + std::to_string(format_tag) + ")");
  if (clip.channels != 1 && clip.channels != 2) {
    bad(name, std::to_string(clip.channels) + " channels (1 or 2 expected)");
  }
  if (clip.bits_per_sample != 8 && clip.bits_per_sample != 16) {
    bad(name, std::to_string(clip.bits_per_sample) + " bits per sample (8 or 16 expected)");
  }
  if (clip.sample_rate == 0) bad(name, "a sample rate of 0");
  if (!c.has_data) bad(name, "no \"data\" chunk");

  const size_t bytes_per_sample = clip.bits_per_sample / 8;
  const size_t block_bytes = bytes_per_sample * clip.channels;
  // A trailing partial block (one sample per channel) is dropped, as a player would.
  const size_t blocks = static_cast<size_t>(c.data_size) / block_bytes;
  clip.mono.reserve(blocks);
  for (size_t i = 0; i < blocks; ++i) {
    double sum = 0.0;
    for (size_t ch = 0; ch < clip.channels; ++ch) {
      const size_t at = c.data_at + i * block_bytes + ch * bytes_per_sample;
      // 8-bit samples are unsigned around 128; 16-bit ones are two's complement.
      sum += clip.bits_per_sample == 8 ? (static_cast<double>(b[at]) - 128.0) * 256.0
                                       : static_cast<double>(static_cast<int16_t>(le16(b, at)));
    }
    clip.mono.push_back(sum / static_cast<double>(clip.channels));
  }
  return clip;
}

WavClip read_wav(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw HostError("missing WAV file " + path);
  std::vector<uint8_t> bytes;
  uint8_t buffer[16384];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) throw HostError("missing WAV file " + path + " (it cannot be read)");
  return parse_wav(bytes, path);
}

std::vector<uint8_t> encode_wav_mono16(uint32_t sample_rate, const std::vector<int16_t>& samples) {
  const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + data_bytes);
  put_tag(out, "RIFF");
  put32(out, 36 + data_bytes);
  put_tag(out, "WAVE");
  put_tag(out, "fmt ");
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, sample_rate);
  put32(out, sample_rate * 2);  // bytes per second
  put16(out, 2);                // block align
  put16(out, 16);
  put_tag(out, "data");
  put32(out, data_bytes);
  for (int16_t s : samples) put16(out, static_cast<uint16_t>(s));
  return out;
}

void write_wav_mono16(const std::string& path, uint32_t sample_rate,
                      const std::vector<int16_t>& samples) {
  // RIFF sizes are 32-bit: about 13 hours of track at 22050 Hz.
  if (samples.size() > (0xFFFFFFFFu - 36u) / 2u) {
    throw HostError("cannot write " + path + ": the track is too long for a WAV file");
  }
  const std::vector<uint8_t> bytes = encode_wav_mono16(sample_rate, samples);
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      throw HostError("cannot write " + temporary);
    }
  }
  // std::filesystem replaces an existing file on Windows too, unlike std::rename.
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw HostError("cannot rename " + temporary + " to " + path + ": " + error.message());
  }
}

}  // namespace host::audio
