// A RIFF WAVE sound as the inspector finds it in a resource, where the RIFF
// size is trusted: its format, and the exact fault of a broken one.
#include <gtest/gtest.h>

#include <functional>

#include "formats/riff_wave.h"
#include "tests/tools/gaugeinspect/pe_builder.h"

namespace {

using formats::read_wave_format;
using inspect_tests::Bytes;
using inspect_tests::put16;
using inspect_tests::put32;
using inspect_tests::wave_file;

TEST(WaveFormat, ReadsAResourceAndNamesBrokenChunks) {
  struct Row {
    const char* name;
    std::function<Bytes()> make;
    bool is_wave;
    uint16_t channels;
    uint32_t rate;
    uint16_t bits;
    uint32_t data_bytes;
    const char* error;
  };
  const Row kRows[] = {
      {"8-bit mono", [] { return wave_file(1, 22050, 8, 1914); }, true, 1, 22050, 8, 1914, ""},
      {"16-bit stereo", [] { return wave_file(2, 22050, 16, 80764); }, true, 2, 22050, 16, 80764,
       ""},
      {"odd data length with a chunk after it",
       [] {
         Bytes b = wave_file(1, 11025, 8, 3);
         b.push_back(0);  // the pad byte
         for (char c : std::string("LIST")) b.push_back(static_cast<uint8_t>(c));
         b.resize(b.size() + 4, 0);
         put32(b, 4, static_cast<uint32_t>(b.size() - 8));
         return b;
       },
       true, 1, 11025, 8, 3, ""},
      {"not a sound",
       [] {
         return Bytes{'B', 'M', 0, 0};
       },
       false, 0, 0, 0, 0, ""},
      {"RIFF but not WAVE",
       [] {
         Bytes b = wave_file(1, 22050, 8, 4);
         b[8] = 'A';
         return b;
       },
       false, 0, 0, 0, 0, ""},
      {"RIFF size past the end",
       [] {
         Bytes b = wave_file(1, 22050, 8, 4);
         put32(b, 4, 0xFFFFFFF0);
         return b;
       },
       true, 0, 0, 0, 0, "the RIFF size 4294967280 runs past the end of the file"},
      {"data chunk past the end",
       [] {
         Bytes b = wave_file(1, 22050, 8, 4);
         put32(b, 40, 0xFFFFFFFF);
         return b;
       },
       true, 1, 22050, 8, 0, "the \"data\" chunk runs past the end of the file (4294967295 bytes)"},
      {"fmt chunk too short",
       [] {
         Bytes b = wave_file(1, 22050, 8, 4);
         put32(b, 16, 8);
         return b;
       },
       true, 0, 0, 0, 0, "the \"fmt \" chunk is too short (8 bytes)"},
      {"no data chunk",
       [] {
         Bytes b = wave_file(1, 22050, 8, 0);
         b.resize(36);
         put32(b, 4, 28);
         return b;
       },
       true, 1, 22050, 8, 0, "no \"data\" chunk"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    const auto w = read_wave_format(row.make(), formats::RiffSize::kTrusted);
    ASSERT_EQ(w.has_value(), row.is_wave);
    if (!w) continue;
    EXPECT_NE(w->error.find(row.error), std::string::npos) << w->error;
    EXPECT_EQ(w->error.empty(), std::string(row.error).empty()) << w->error;
    EXPECT_EQ(w->channels, row.channels);
    EXPECT_EQ(w->sample_rate, row.rate);
    EXPECT_EQ(w->bits_per_sample, row.bits);
    EXPECT_EQ(w->data_bytes, row.data_bytes);
  }
}

}  // namespace
