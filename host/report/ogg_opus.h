#pragma once
// The report's sound track as Ogg Opus (libopus and libogg), which browsers
// play and which is a tenth of the WAV's size. Native build only: the
// Windows build has neither library and keeps WAV.
#include <cstdint>
#include <vector>

namespace host::report {

// Opus takes 16 kHz as it is (wideband, enough for spoken callouts).
inline constexpr uint32_t kOpusInputRate = 16000;

// Whether this build encodes Opus.
bool opus_supported();

// Mono 16-bit samples at kOpusInputRate as the bytes of an Ogg Opus file
// that decodes to exactly as many samples. Stretches of digital silence
// cost no encoding time, so an hour with a few minutes of voices is quick.
// Throws HostError when the build has no Opus or the encoder fails.
std::vector<uint8_t> ogg_opus(const std::vector<int16_t>& samples);

}  // namespace host::report
