// The header of a device-independent bitmap as the inspector finds it in a
// resource: what a sound one shows and the exact fault of a broken one,
// never a read past the bytes.
#include "formats/dib_header.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/tools/gaugeinspect/pe_builder.h"

namespace {

using formats::read_bitmap_header;
using inspect_tests::bitmap_resource;
using inspect_tests::Bytes;
using inspect_tests::put16;
using inspect_tests::put32;

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

TEST(BitmapHeader, FindsTheBitmapInsideABmpFile) {
  const Bytes dib = bitmap_resource(2, 2, 24);
  Bytes file{'B', 'M'};
  file.resize(14, 0);
  file.insert(file.end(), dib.begin(), dib.end());
  const auto inside = formats::bmp_file_dib(file);
  EXPECT_TRUE(std::equal(inside.begin(), inside.end(), dib.begin(), dib.end()));
  EXPECT_TRUE(formats::bmp_file_dib(dib).empty()) << "a resource has no file header";
  EXPECT_TRUE(formats::bmp_file_dib(Bytes{'B', 'M', 0}).empty()) << "cut inside the file header";
}

}  // namespace
