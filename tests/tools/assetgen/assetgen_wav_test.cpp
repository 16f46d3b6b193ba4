// WAV output: container fields, exact data length, the tone itself, and
// the arithmetic that keeps the samples identical on every machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <string>

#include "assetgen_test_support.h"
#include "tone_math.h"
#include "wav_writer.h"

namespace {

using assetgen::encode_tone_wav;
using assetgen::ToneRequest;
using assetgen::WavFormat;
using namespace assetgen_test;

ToneRequest request(int channels, int rate, int bits, uint32_t data_bytes, int tone_hz = 440) {
  ToneRequest r;
  r.format = WavFormat{channels, rate, bits};
  r.data_bytes = data_bytes;
  r.tone_hz = tone_hz;
  return r;
}

struct FormatCase {
  const char* name;
  int channels;
  int rate;
  int bits;
  uint32_t data_bytes;
  uint32_t byte_rate;    // written out by hand, not derived
  uint32_t block_align;  // likewise
};

constexpr FormatCase kFormats[] = {
    {"1ch 22050 Hz 8-bit", 1, 22050, 8, 1914, 22050, 1},
    {"1ch 11025 Hz 16-bit", 1, 11025, 16, 32996, 22050, 2},
    {"2ch 22050 Hz 16-bit", 2, 22050, 16, 80764, 88200, 4},
    {"1ch 22050 Hz 16-bit", 1, 22050, 16, 27312, 44100, 2},
    {"2ch 96000 Hz 8-bit", 2, 96000, 8, 96000, 192000, 2},
};

TEST(AssetgenWav, HeaderFieldsAndExactDataLength) {
  for (const FormatCase& c : kFormats) {
    SCOPED_TRACE(c.name);
    const Bytes b = encode_tone_wav(request(c.channels, c.rate, c.bits, c.data_bytes));
    ASSERT_EQ(b.size(), 44u + c.data_bytes);
    EXPECT_EQ(tag(b, 0), "RIFF");
    EXPECT_EQ(le32(b, 4), 36u + c.data_bytes) << "RIFF size";
    EXPECT_EQ(tag(b, 8), "WAVE");
    EXPECT_EQ(tag(b, 12), "fmt ");
    EXPECT_EQ(le32(b, 16), 16u) << "fmt size";
    EXPECT_EQ(le16(b, 20), 1u) << "format tag";
    EXPECT_EQ(le16(b, 22), static_cast<uint32_t>(c.channels));
    EXPECT_EQ(le32(b, 24), static_cast<uint32_t>(c.rate));
    EXPECT_EQ(le32(b, 28), c.byte_rate);
    EXPECT_EQ(le16(b, 32), c.block_align);
    EXPECT_EQ(le16(b, 34), static_cast<uint32_t>(c.bits));
    EXPECT_EQ(tag(b, 36), "data");
    EXPECT_EQ(le32(b, 40), c.data_bytes);
  }
}

TEST(AssetgenWav, OddDataLengthGetsAPadByteOutsideTheChunk) {
  const Bytes b = encode_tone_wav(request(1, 22050, 8, 1915));
  ASSERT_EQ(b.size(), 44u + 1915u + 1u);
  EXPECT_EQ(le32(b, 4), 36u + 1916u);
  EXPECT_EQ(le32(b, 40), 1915u);
  EXPECT_EQ(b.back(), 0);
}

TEST(AssetgenWav, EmptyDataIsAValidFile) {
  const Bytes b = encode_tone_wav(request(2, 44100, 16, 0));
  ASSERT_EQ(b.size(), 44u);
  EXPECT_EQ(le32(b, 4), 36u);
  EXPECT_EQ(le32(b, 40), 0u);
}

// A tone of a quarter of the rate lands exactly on 0, peak, 0, -peak.
TEST(AssetgenWav, QuarterRateToneHitsExactHalfScalePeaks) {
  struct Case {
    const char* name;
    int bits;
    int expected[4];
  };
  const Case cases[] = {
      {"16-bit", 16, {0, 16384, 0, -16384}},
      {"8-bit", 8, {128, 192, 128, 64}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int bytes_per_sample = c.bits / 8;
    const uint32_t blocks = 800;  // 100 ms at 8000 Hz; 80-block fades
    const Bytes s = assetgen::tone_samples(
        request(1, 8000, c.bits, blocks * static_cast<uint32_t>(bytes_per_sample), 2000));
    for (uint32_t i = 80; i < blocks - 80; ++i) {
      SCOPED_TRACE("block " + std::to_string(i));
      const int got = c.bits == 16 ? le_i16(s, 2 * i) : s.at(i);
      ASSERT_EQ(got, c.expected[i % 4]);
    }
  }
}

// Distance of each sample from silence, whatever the depth.
int level(const Bytes& s, int bits, uint32_t block, int channels, int channel) {
  const size_t index =
      static_cast<size_t>(block) * static_cast<size_t>(channels) + static_cast<size_t>(channel);
  return bits == 16 ? le_i16(s, 2 * index) : static_cast<int>(s.at(index)) - 128;
}

TEST(AssetgenWav, FadesFromAndToSilenceAndStaysWithinHalfScale) {
  for (const FormatCase& c : kFormats) {
    SCOPED_TRACE(c.name);
    const Bytes s = assetgen::tone_samples(request(c.channels, c.rate, c.bits, c.data_bytes));
    const uint32_t blocks = c.data_bytes / c.block_align;
    const uint32_t fade = std::min(static_cast<uint32_t>(c.rate) / 100u, blocks / 2u);
    const double peak = c.bits == 16 ? 16384.0 : 64.0;
    int loudest = 0;
    for (uint32_t i = 0; i < blocks; ++i) {
      SCOPED_TRACE("block " + std::to_string(i));
      const int v = level(s, c.bits, i, c.channels, 0);
      for (int ch = 1; ch < c.channels; ++ch) ASSERT_EQ(level(s, c.bits, i, c.channels, ch), v);
      const uint32_t edge = std::min(i, blocks - 1 - i);
      const double limit = edge >= fade ? peak : peak * edge / fade;
      ASSERT_LE(std::abs(v), limit + 0.5);
      loudest = std::max(loudest, std::abs(v));
    }
    EXPECT_EQ(level(s, c.bits, 0, c.channels, 0), 0);
    EXPECT_EQ(level(s, c.bits, blocks - 1, c.channels, 0), 0);
    EXPECT_GE(loudest, static_cast<int>(peak * 0.98)) << "tone should reach about half scale";
  }
}

TEST(AssetgenWav, RejectsRequestsThatCannotBeMetExactly) {
  const struct {
    const char* name;
    ToneRequest r;
  } cases[] = {
      {"16-bit mono, odd bytes", request(1, 22050, 16, 27313)},
      {"16-bit stereo, not a whole block", request(2, 22050, 16, 80766)},
      {"8-bit stereo, odd bytes", request(2, 22050, 8, 3)},
      {"tone above half the rate", request(1, 8000, 16, 100, 4001)},
      {"tone of zero", request(1, 8000, 16, 100, 0)},
      {"three channels", request(3, 22050, 16, 600)},
      {"12-bit", request(1, 22050, 12, 600)},
      {"rate too low", request(1, 999, 8, 10)},
      {"rate too high", request(1, 96001, 8, 10)},
      {"too much data", request(1, 22050, 8, assetgen::kMaxDataBytes + 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(assetgen::tone_samples(c.r), std::invalid_argument);
  }
}

// FNV-1a, to pin the exact bytes: a different libm, compiler or machine
// must not change a generated sound.
uint64_t fnv1a(const Bytes& b) {
  uint64_t h = 1469598103934665603ull;
  for (uint8_t byte : b) h = (h ^ byte) * 1099511628211ull;
  return h;
}

TEST(AssetgenWav, SamplesAreTheSameBytesEverywhere) {
  const struct {
    const char* name;
    ToneRequest r;
    uint64_t hash;
  } cases[] = {
      {"1ch 22050 Hz 16-bit 440 Hz", request(1, 22050, 16, 27312), 16530603525522325085ull},
      {"1ch 22050 Hz 8-bit 440 Hz", request(1, 22050, 8, 1914), 17928250410290234862ull},
      {"2ch 11025 Hz 16-bit 1234 Hz", request(2, 11025, 16, 4000, 1234), 15815157226917677117ull},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes first = encode_tone_wav(c.r);
    EXPECT_EQ(encode_tone_wav(c.r), first);
    EXPECT_EQ(fnv1a(first), c.hash);
  }
}

TEST(AssetgenToneMath, TurnSineMatchesTheLibraryClosely) {
  const struct {
    uint64_t num;
    uint64_t den;
  } cases[] = {{0, 1},         {1, 8},           {1, 4},
               {3, 8},         {1, 2},           {5, 8},
               {3, 4},         {7, 8},           {1, 3},
               {2, 3},         {440, 22050},     {21609, 22050},
               {11024, 22050}, {12345, 96000},   {95999, 96000},
               {22051, 22050}, {1u << 30, 7919}, {1, (1ull << 40) + 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.num) + "/" + std::to_string(c.den));
    const double turns = static_cast<double>(c.num % c.den) / static_cast<double>(c.den);
    EXPECT_NEAR(assetgen::turn_sine(c.num, c.den), std::sin(2 * std::numbers::pi * turns), 1e-14);
  }
}

TEST(AssetgenToneMath, QuarterTurnsAreExact) {
  EXPECT_EQ(assetgen::turn_sine(0, 4), 0.0);
  EXPECT_EQ(assetgen::turn_sine(1, 4), 1.0);
  EXPECT_EQ(assetgen::turn_sine(2, 4), 0.0);
  EXPECT_EQ(assetgen::turn_sine(3, 4), -1.0);
  EXPECT_EQ(assetgen::turn_sine(22050, 22050), 0.0);
}

TEST(AssetgenToneMath, RoundClampedIsDefinedForEveryInput) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    double value;
    int32_t lo;
    int32_t hi;
    int32_t expected;
  } cases[] = {
      {"half rounds away from zero", 2.5, -100, 100, 3},
      {"negative half", -2.5, -100, 100, -3},
      {"just below half", 2.4999999999, -100, 100, 2},
      {"largest below one half", 0.49999999999999994, -100, 100, 0},
      {"at the top", 32767.0, -32768, 32767, 32767},
      {"above the top", 32767.6, -32768, 32767, 32767},
      {"below the bottom", -40000.0, -32768, 32767, -32768},
      {"huge", 1e300, -32768, 32767, 32767},
      {"+inf", kInf, -128, 127, 127},
      {"-inf", -kInf, -128, 127, -128},
      {"NaN in a range with zero", kNaN, -128, 127, 0},
      {"NaN in a positive range", kNaN, 5, 9, 5},
      {"NaN in a negative range", kNaN, -9, -5, -5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(assetgen::round_clamped(c.value, c.lo, c.hi), c.expected);
  }
}

}  // namespace
