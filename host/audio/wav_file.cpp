#include "host/audio/wav_file.h"

#include <cstdio>
#include <optional>

#include "formats/atomic_file.h"
#include "formats/byte_reader.h"
#include "formats/riff_wave.h"
#include "host/host_error.h"

namespace host::audio {
namespace {

[[noreturn]] void bad(const std::string& name, const std::string& why) {
  throw HostError("bad WAV file " + name + ": " + why);
}

}  // namespace

WavClip parse_wav(const std::vector<uint8_t>& b, const std::string& name) {
  // Sizes are checked against the bytes present, never the RIFF size field:
  // streaming writers leave that wrong.
  const std::optional<formats::WaveFormat> wave =
      formats::read_wave_format(b, formats::RiffSize::kIgnored);
  if (!wave) bad(name, "not a RIFF WAVE file");
  if (!wave->valid()) bad(name, wave->error);
  if (const std::string why = formats::pcm_playable_error(*wave); !why.empty()) bad(name, why);
  WavClip clip;
  clip.channels = wave->channels;
  clip.sample_rate = wave->sample_rate;
  clip.bits_per_sample = wave->bits_per_sample;

  const formats::ByteReader data(
      formats::ByteReader(b).bytes(wave->data_offset, wave->data_bytes, "data"));
  const size_t bytes_per_sample = clip.bits_per_sample / 8;
  const size_t block_bytes = bytes_per_sample * clip.channels;
  // A trailing partial block (one sample per channel) is dropped, as a player would.
  const size_t blocks = data.size() / block_bytes;
  clip.mono.reserve(blocks);
  for (size_t i = 0; i < blocks; ++i) {
    double sum = 0.0;
    for (size_t ch = 0; ch < clip.channels; ++ch) {
      const size_t at = i * block_bytes + ch * bytes_per_sample;
      // 8-bit samples are unsigned around 128; 16-bit ones are two's complement.
      sum += clip.bits_per_sample == 8
                 ? (static_cast<double>(data.u8(at, "sample")) - 128.0) * 256.0
                 : static_cast<double>(data.i16(at, "sample"));
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
  formats::Bytes data;
  data.reserve(samples.size() * 2);
  for (int16_t s : samples) formats::put_u16(data, static_cast<uint16_t>(s));
  return formats::encode_pcm_wave(formats::PcmLayout{1, sample_rate, 16}, data);
}

void write_wav_mono16(const std::string& path, uint32_t sample_rate,
                      const std::vector<int16_t>& samples) {
  // RIFF sizes are 32-bit: about 13 hours of track at 22050 Hz.
  if (samples.size() > (0xFFFFFFFFu - 36u) / 2u) {
    throw HostError("cannot write " + path + ": the track is too long for a WAV file");
  }
  const std::vector<uint8_t> bytes = encode_wav_mono16(sample_rate, samples);
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (auto why = formats::write_file_atomically(path, text)) {
    throw HostError("cannot write " + path + ": " + *why);
  }
}

}  // namespace host::audio
