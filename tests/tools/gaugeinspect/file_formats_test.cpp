// The bitmap and sound headers read from resource bytes: what a sound one
// shows and the exact fault of a broken one, never a read past the bytes.
#include <gtest/gtest.h>

#include <functional>

#include "tests/tools/gaugeinspect/pe_builder.h"
#include "tools/gaugeinspect/bitmap_header.h"
#include "tools/gaugeinspect/wave_format.h"

namespace inspect_tests {
namespace {

using gaugeinspect::read_bitmap_header;
using gaugeinspect::read_wave_format;

TEST(BitmapHeader, ReadsAndJudgesEachHeader) {
  struct Row {
    const char* name;
    std::function<Bytes()> make;
    int32_t width, height;
    uint16_t bits;
    uint32_t palette;
    const char* error;  // empty for a usable bitmap
  };
  const Row kRows[] = {
      {"24-bit", [] { return bitmap_resource(29, 29, 24); }, 29, 29, 24, 0, ""},
      {"8-bit with its palette", [] { return bitmap_resource(3, 3, 8, 256); }, 3, 3, 8, 256, ""},
      {"8-bit with a short palette", [] { return bitmap_resource(43, 23, 8, 16); }, 43, 23, 8, 16,
       ""},
      {"8-bit palette implied by a zero count",
       [] {
         Bytes b = bitmap_resource(4, 4, 8, 256);
         put32(b, 32, 0);
         return b;
       },
       4, 4, 8, 256, ""},
      {"top-down", [] { return bitmap_resource(5, -7, 24); }, 5, -7, 24, 0, ""},
      {"empty", [] { return Bytes{}; }, 0, 0, 0, 0, "too short for a bitmap header"},
      {"cut inside the header", [] { return Bytes(39, 0); }, 0, 0, 0, 0, "too short"},
      {"core header",
       [] {
         Bytes b = bitmap_resource(4, 4, 24);
         put32(b, 0, 12);
         return b;
       },
       4, 4, 24, 0, "header size 12 is no BITMAPINFOHEADER"},
      {"zero width",
       [] {
         Bytes b = bitmap_resource(4, 4, 24);
         put32(b, 4, 0);
         return b;
       },
       0, 4, 24, 0, "width 0 is not positive"},
      {"zero height",
       [] {
         Bytes b = bitmap_resource(4, 4, 24);
         put32(b, 8, 0);
         return b;
       },
       4, 0, 24, 0, "height is zero"},
      {"two planes",
       [] {
         Bytes b = bitmap_resource(4, 4, 24);
         put16(b, 12, 2);
         return b;
       },
       4, 4, 24, 0, "planes 2, expected 1"},
      {"7-bit pixels", [] { return bitmap_resource(4, 4, 7); }, 4, 4, 7, 128, "bit count 7"},
      {"more colours than 8 bits index",
       [] {
         Bytes b = bitmap_resource(4, 4, 8, 256);
         put32(b, 32, 300);
         return b;
       },
       4, 4, 8, 300, "300 palette colours for 8-bit pixels"},
      {"huge width",
       [] {
         Bytes b = bitmap_resource(4, 4, 24);
         put32(b, 4, 0x7FFFFFFF);
         return b;
       },
       0x7FFFFFFF, 4, 24, 0, "bytes of pixels declared"},
      {"pixels cut short",
       [] {
         Bytes b = bitmap_resource(29, 29, 24);
         b.resize(b.size() - 1);
         return b;
       },
       29, 29, 24, 0, "2552 bytes of pixels declared, 2551 present"},
      {"palette past the resource",
       [] {
         Bytes b = bitmap_resource(4, 4, 8, 256);
         b.resize(40 + 100);
         return b;
       },
       4, 4, 8, 256, "the colour table runs past the resource"},
      {"unknown compression",
       [] {
         Bytes b = bitmap_resource(4, 4, 24);
         put32(b, 16, 9);
         return b;
       },
       4, 4, 24, 0, "compression 9"},
      {"run-length 8 on 24-bit pixels",
       [] {
         Bytes b = bitmap_resource(4, 4, 24);
         put32(b, 16, 1);
         return b;
       },
       4, 4, 24, 0, "RLE8 with other than 8-bit pixels"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    const Bytes data = row.make();
    const auto h = read_bitmap_header(data);
    EXPECT_EQ(h.error.empty(), std::string(row.error).empty()) << h.error;
    EXPECT_NE(h.error.find(row.error), std::string::npos) << h.error;
    if (data.size() < 40) continue;
    EXPECT_EQ(h.width, row.width);
    EXPECT_EQ(h.height, row.height);
    EXPECT_EQ(h.bit_count, row.bits);
    EXPECT_EQ(h.palette_entries, row.palette);
  }
}

TEST(WaveFormat, ReadsTheFormatAndNamesBrokenChunks) {
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
       true, 0, 0, 0, 0, "runs past the resource"},
      {"data chunk past the end",
       [] {
         Bytes b = wave_file(1, 22050, 8, 4);
         put32(b, 40, 0xFFFFFFFF);
         return b;
       },
       true, 1, 22050, 8, 0, "chunk 'data' of 4294967295 bytes runs past the file"},
      {"fmt chunk too short",
       [] {
         Bytes b = wave_file(1, 22050, 8, 4);
         put32(b, 16, 8);
         return b;
       },
       true, 0, 0, 0, 0, "fmt chunk of 8 bytes"},
      {"no data chunk",
       [] {
         Bytes b = wave_file(1, 22050, 8, 0);
         b.resize(36);
         put32(b, 4, 28);
         return b;
       },
       true, 1, 22050, 8, 0, "no data chunk"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    const auto w = read_wave_format(row.make());
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
}  // namespace inspect_tests
