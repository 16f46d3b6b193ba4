#pragma once
// RIFF WAVE files as the flight's audio track needs them: reading the PCM
// files the modules play (8 or 16 bits, one or two channels, any rate) as
// one mono signal, and writing the finished track.
#include <cstdint>
#include <string>
#include <vector>

namespace host::audio {

struct WavClip {
  uint32_t sample_rate = 0;
  uint32_t channels = 0;
  uint32_t bits_per_sample = 0;
  // One value per block (a sample of each channel), the channels averaged,
  // on the 16-bit scale (-32768 .. 32767) whatever the file's depth.
  std::vector<double> mono;
};

// The same files the stand-in sound library accepts: a RIFF WAVE with a PCM
// "fmt " chunk and a "data" chunk wholly inside the file. Throws HostError
// naming `name` and what is wrong.
WavClip parse_wav(const std::vector<uint8_t>& bytes, const std::string& name);

// Throws HostError "missing WAV file PATH" when it cannot be read, or the
// parse_wav error when it is not a playable WAV.
WavClip read_wav(const std::string& path);

// 16-bit mono PCM, a 44-byte header and the samples.
std::vector<uint8_t> encode_wav_mono16(uint32_t sample_rate, const std::vector<int16_t>& samples);

// Writes PATH.tmp and renames it to PATH, so a failed run never leaves half a
// file under the real name. Throws HostError when it cannot.
void write_wav_mono16(const std::string& path, uint32_t sample_rate,
                      const std::vector<int16_t>& samples);

}  // namespace host::audio
