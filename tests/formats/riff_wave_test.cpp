// RIFF WAVE files as the sound library and the audio track read them from
// disk (the RIFF size ignored) and as the format library writes them: every
// written layout reads back, and every damaged file is refused or read only
// as far as it is whole.
#include "formats/riff_wave.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "formats/byte_writer.h"
#include "formats/format_error.h"

namespace {

using formats::Bytes;
using formats::RiffSize;

struct Chunk {
  std::string tag;
  Bytes body;
  bool pad = true;  // write the pad byte after an odd body
};

Bytes fmt_body(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1) {
  Bytes b;
  formats::put_u16(b, tag);
  formats::put_u16(b, channels);
  formats::put_u32(b, rate);
  formats::put_u32(b, rate * channels * (bits / 8u));
  formats::put_u16(b, static_cast<uint16_t>(channels * (bits / 8u)));
  formats::put_u16(b, bits);
  return b;
}

// A RIFF WAVE file of the chunks, its RIFF size right unless `riff_size` is given.
Bytes riff(const std::vector<Chunk>& chunks, int64_t riff_size = -1) {
  Bytes b;
  for (const Chunk& c : chunks) {
    for (char ch : c.tag) b.push_back(static_cast<uint8_t>(ch));
    formats::put_u32(b, static_cast<uint32_t>(c.body.size()));
    b.insert(b.end(), c.body.begin(), c.body.end());
    if (c.pad && c.body.size() % 2 == 1) b.push_back(0);
  }
  Bytes file{'R', 'I', 'F', 'F'};
  formats::put_u32(
      file, riff_size < 0 ? static_cast<uint32_t>(b.size() + 4) : static_cast<uint32_t>(riff_size));
  file.insert(file.end(), {'W', 'A', 'V', 'E'});
  file.insert(file.end(), b.begin(), b.end());
  return file;
}

// Sets the little-endian size field at `at` (a chunk's size is 4 past its tag).
Bytes with_u32(Bytes b, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) b.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
  return b;
}

const Chunk kFmt{"fmt ", fmt_body(1, 22050, 16)};
const Chunk kData{"data", Bytes(6, 0x11)};

TEST(RiffWave, DamagedFilesOnDiskAndAsResources) {
  struct Row {
    const char* name;
    Bytes file;
    const char* on_disk;   // nullptr: not a WAVE at all; "": valid
    const char* resource;  // the same bytes with the RIFF size trusted
    uint32_t data_bytes;   // when valid on disk
  };
  const Bytes good = riff({kFmt, kData});
  const Row kRows[] = {
      {"whole", good, "", "", 6},
      {"empty", {}, nullptr, nullptr, 0},
      {"cut inside the RIFF header", Bytes(good.begin(), good.begin() + 11), nullptr, nullptr, 0},
      {"RIFF size too large (a streaming writer's)", riff({kFmt, kData}, 0x7FFFFFF0), "",
       "the RIFF size 2147483632 runs past the end of the file", 6},
      {"RIFF size too small: the data lies beyond it", riff({kFmt, kData}, 4 + 24), "",
       "no \"data\" chunk", 6},
      {"odd data without its final pad byte", riff({kFmt, Chunk{"data", Bytes(5, 0x22), false}}),
       "", "", 5},
      {"odd data padded, then another chunk",
       riff({kFmt, Chunk{"data", Bytes(3, 1)}, Chunk{"LIST", Bytes(4, 0)}}), "", "", 3},
      {"a damaged chunk after the two that matter",
       with_u32(riff({kFmt, kData, Chunk{"LIST", Bytes(4, 0)}}), 12 + 24 + 14 + 4, 999), "",
       "the \"LIST\" chunk runs past the end of the file (999 bytes)", 6},
      {"data chunk size past the end", with_u32(good, 12 + 24 + 4, 7),
       "the \"data\" chunk runs past the end of the file (7 bytes)",
       "the \"data\" chunk runs past the end of the file (7 bytes)", 0},
      {"fmt chunk size past the end", with_u32(good, 12 + 4, 0xFFFFFFFF),
       "the \"fmt \" chunk runs past the end of the file (4294967295 bytes)",
       "the \"fmt \" chunk runs past the end of the file (4294967295 bytes)", 0},
      {"fmt chunk too short", riff({Chunk{"fmt ", Bytes(14, 1)}, kData}),
       "the \"fmt \" chunk is too short (14 bytes)", "the \"fmt \" chunk is too short (14 bytes)",
       0},
      {"no fmt chunk", riff({kData}), "no \"fmt \" chunk", "no \"fmt \" chunk", 0},
      {"no data chunk", riff({kFmt}), "no \"data\" chunk", "no \"data\" chunk", 0},
      {"cut inside a chunk header", Bytes(good.begin(), good.begin() + 12 + 24 + 5),
       "no \"data\" chunk", "the RIFF size 42 runs past the end of the file", 0},
      {"the first of two data chunks counts", riff({kFmt, kData, Chunk{"data", Bytes(2, 0)}}), "",
       "", 6},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    const auto disk = formats::read_wave_format(row.file, RiffSize::kIgnored);
    const auto resource = formats::read_wave_format(row.file, RiffSize::kTrusted);
    ASSERT_EQ(disk.has_value(), row.on_disk != nullptr);
    ASSERT_EQ(resource.has_value(), row.resource != nullptr);
    if (!disk) continue;
    EXPECT_EQ(disk->error, row.on_disk);
    EXPECT_EQ(resource->error, row.resource);
    if (disk->valid()) {
      EXPECT_EQ(disk->data_bytes, row.data_bytes);
      EXPECT_EQ(disk->data_offset, 12u + 24u + 8u);
      EXPECT_EQ(disk->channels, 1);
      EXPECT_EQ(disk->sample_rate, 22050u);
    }
  }
}

TEST(RiffWave, EveryWrittenLayoutReadsBack) {
  struct Row {
    formats::PcmLayout layout;
    size_t data_bytes;
  };
  const Row kRows[] = {{{1, 8000, 8}, 3},  {{1, 22050, 8}, 1914}, {{2, 22050, 16}, 8},
                       {{2, 44100, 8}, 0}, {{1, 11025, 16}, 2},   {{2, 96000, 16}, 4000}};
  for (const Row& row : kRows) {
    SCOPED_TRACE(std::to_string(row.layout.channels) + " channels, " +
                 std::to_string(row.layout.sample_rate) + " Hz, " +
                 std::to_string(row.layout.bits_per_sample) + " bits, " +
                 std::to_string(row.data_bytes) + " bytes");
    Bytes samples(row.data_bytes);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>(i * 7 + 1);
    const Bytes file = formats::encode_pcm_wave(row.layout, samples);
    EXPECT_EQ(file.size(), 44 + row.data_bytes + row.data_bytes % 2);
    for (RiffSize mode : {RiffSize::kIgnored, RiffSize::kTrusted}) {
      const auto w = formats::read_wave_format(file, mode);
      ASSERT_TRUE(w.has_value());
      ASSERT_TRUE(w->valid()) << w->error;
      EXPECT_EQ(formats::pcm_playable_error(*w), "");
      EXPECT_EQ(w->format_tag, formats::kWaveFormatPcm);
      EXPECT_EQ(w->channels, row.layout.channels);
      EXPECT_EQ(w->sample_rate, row.layout.sample_rate);
      EXPECT_EQ(w->bits_per_sample, row.layout.bits_per_sample);
      EXPECT_EQ(w->block_align, row.layout.block_align());
      EXPECT_EQ(w->byte_rate, row.layout.sample_rate * row.layout.block_align());
      ASSERT_EQ(w->data_bytes, row.data_bytes);
      EXPECT_TRUE(std::equal(samples.begin(), samples.end(),
                             file.begin() + static_cast<std::ptrdiff_t>(w->data_offset)));
    }
  }
}

TEST(RiffWave, OnlyWhatTheSoundLibraryPlaysIsPlayable) {
  struct Row {
    const char* name;
    Bytes fmt;
    const char* error;
  };
  const Row kRows[] = {
      {"8-bit mono", fmt_body(1, 11025, 8), ""},
      {"16-bit stereo", fmt_body(2, 44100, 16), ""},
      {"float samples", fmt_body(1, 22050, 32, 3), "not PCM (format 3)"},
      {"three channels", fmt_body(3, 22050, 16), "3 channels (1 or 2 expected)"},
      {"no channels", fmt_body(0, 22050, 16), "0 channels (1 or 2 expected)"},
      {"24-bit samples", fmt_body(1, 22050, 24), "24 bits per sample (8 or 16 expected)"},
      {"rate 0", fmt_body(1, 0, 16), "a sample rate of 0"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    const auto w = formats::read_wave_format(riff({{"fmt ", row.fmt}, kData}), RiffSize::kIgnored);
    ASSERT_TRUE(w && w->valid());
    EXPECT_EQ(formats::pcm_playable_error(*w), row.error);
  }
}

}  // namespace
