// 8-bit palettised bitmaps: the header fields, the palette order the gauges
// rely on (black first), row padding, the colour limit, and --bpp on the
// command line.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "assetgen_test_support.h"
#include "cli.h"
#include "desc.h"
#include "formats/bmp_writer.h"
#include "image.h"

namespace {

using namespace assetgen_test;
using assetgen::Image;
using assetgen::Rgb;

constexpr size_t kPixels = 14 + 40 + 4 * 256;

Rgb palette_entry(const Bytes& b, int i) {
  const size_t at = 54 + 4 * static_cast<size_t>(i);
  return {b.at(at + 2), b.at(at + 1), b.at(at)};
}

TEST(AssetgenBmp8, HeaderFields) {
  const Bytes b = formats::encode_bmp8(Image(3, 2, {9, 9, 9}));
  const struct {
    const char* name;
    size_t at;
    int bytes;
    uint32_t want;
  } fields[] = {
      {"file size", 2, 4, kPixels + 4 * 2},
      {"reserved", 6, 4, 0},
      {"pixel offset", 10, 4, kPixels},
      {"info header size", 14, 4, 40},
      {"width", 18, 4, 3},
      {"height, positive for bottom-up rows", 22, 4, 2},
      {"planes", 26, 2, 1},
      {"bits per pixel", 28, 2, 8},
      {"no compression", 30, 4, 0},
      {"image size", 34, 4, 4 * 2},
      {"horizontal resolution", 38, 4, 2835},
      {"vertical resolution", 42, 4, 2835},
      {"colours used", 46, 4, 256},
      {"all colours important", 50, 4, 0},
  };
  EXPECT_EQ(tag(b, 0, 2), "BM");
  EXPECT_EQ(b.size(), kPixels + 4 * 2);
  for (const auto& f : fields) {
    SCOPED_TRACE(f.name);
    EXPECT_EQ(f.bytes == 2 ? le16(b, f.at) : le32(b, f.at), f.want);
  }
}

TEST(AssetgenBmp8, PaletteIsBlackThenColoursInReadingOrder) {
  const Rgb red{200, 0, 0};
  const Rgb green{0, 150, 0};
  const Rgb blue{0, 0, 100};
  const Rgb white{255, 255, 255};
  const struct {
    const char* name;
    int width;
    int height;
    std::vector<Rgb> pixels;  // rows top to bottom
    std::vector<Rgb> palette;
    std::vector<uint8_t> stored;  // pixel bytes as written, bottom row first
  } cases[] = {
      {"black used in the middle",
       3,
       2,
       {red, {}, green, green, blue, red},
       {{}, red, green, blue},
       {2, 3, 1, 0, 1, 0, 2, 0}},
      {"black first even when unused", 2, 1, {white, white}, {{}, white}, {1, 1, 0, 0}},
      {"all black", 1, 2, {{}, {}}, {{}}, {0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Image image(c.width, c.height);
    for (size_t i = 0; i < c.pixels.size(); ++i) {
      image.set(static_cast<int>(i) % c.width, static_cast<int>(i) / c.width, c.pixels[i]);
    }
    EXPECT_EQ(formats::bmp8_palette(image), c.palette);
    const Bytes b = formats::encode_bmp8(image);
    for (int i = 0; i < 256; ++i) {
      SCOPED_TRACE("entry " + std::to_string(i));
      const Rgb want = static_cast<size_t>(i) < c.palette.size() ? c.palette[i] : Rgb{};
      EXPECT_EQ(palette_entry(b, i), want);
      EXPECT_EQ(b.at(54 + 4 * static_cast<size_t>(i) + 3), 0) << "reserved byte";
    }
    EXPECT_EQ(Bytes(b.begin() + kPixels, b.end()), Bytes(c.stored.begin(), c.stored.end()));
  }
}

TEST(AssetgenBmp8, RowsArePaddedToFourBytes) {
  const struct {
    int width;
    size_t stride;
  } cases[] = {{1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 8}, {50, 52}};
  for (const auto& c : cases) {
    SCOPED_TRACE("width " + std::to_string(c.width));
    // The top row in colour 1, the bottom one in colour 2.
    Image image(c.width, 2, {7, 7, 7});
    for (int x = 0; x < c.width; ++x) image.set(x, 1, {8, 8, 8});
    const Bytes b = formats::encode_bmp8(image);
    ASSERT_EQ(b.size(), kPixels + 2 * c.stride);
    EXPECT_EQ(le32(b, 34), 2 * c.stride);
    for (size_t row = 0; row < 2; ++row) {
      for (size_t i = 0; i < c.stride; ++i) {
        const uint8_t want = i < static_cast<size_t>(c.width) ? (row == 0 ? 2 : 1) : 0;
        ASSERT_EQ(b.at(kPixels + row * c.stride + i), want) << "row " << row << " byte " << i;
      }
    }
  }
}

// count colours besides black, which fills the rest of the picture.
Image with_colours(int count) {
  Image image(16, 17);
  for (int i = 0; i < count; ++i) {
    image.set(i % 16, i / 16, {static_cast<uint8_t>(i % 256), static_cast<uint8_t>(i / 256), 1});
  }
  return image;
}

TEST(AssetgenBmp8, AtMost256Colours) {
  const struct {
    const char* name;
    Image image;
    bool fits;
  } cases[] = {
      {"255 and black", with_colours(255), true},
      {"256 and black", with_colours(256), false},
      {"257 and black", with_colours(257), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.fits) {
      EXPECT_EQ(formats::bmp8_palette(c.image).size(), 256u);
      EXPECT_NO_THROW(formats::encode_bmp8(c.image));
    } else {
      EXPECT_THROW(formats::encode_bmp8(c.image), std::invalid_argument);
    }
  }
}

struct Outcome {
  int status;
  std::string err;
};

Outcome run(const std::vector<std::string>& args) {
  std::ostringstream err;
  const int status = assetgen::run_assetgen(args, err);
  return {status, err.str()};
}

TEST(AssetgenBmp8, BppOptionChoosesTheDepth) {
  const ScratchDir dir;
  const std::string desc = dir.file("d.txt");
  std::ofstream(desc, std::ios::binary) << "fill 10 20 30\nrect 1 0 1 1 #ffffff\n";
  Image drawn(3, 2);
  assetgen::draw_description(drawn, assetgen::read_description_file(desc), desc);
  const struct {
    const char* name;
    std::vector<std::string> args;  // after "bmp OUT"
    Bytes want;
  } cases[] = {
      {"after the description",
       {"3", "2", "--desc", desc, "--bpp", "8"},
       formats::encode_bmp8(drawn)},
      {"before it", {"3", "2", "--bpp", "8", "--desc", desc}, formats::encode_bmp8(drawn)},
      {"24 spelled out", {"3", "2", "--desc", desc, "--bpp", "24"}, formats::encode_bmp24(drawn)},
      {"plain colour",
       {"2", "1", "1", "2", "3", "--bpp", "8"},
       formats::encode_bmp8({2, 1, {1, 2, 3}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = dir.file("out.bmp");
    std::vector<std::string> args{"bmp", out};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome o = run(args);
    EXPECT_EQ(o.status, assetgen::kExitOk) << o.err;
    EXPECT_EQ(read_file(out), c.want);
  }
}

TEST(AssetgenBmp8, BadDepthsExitTwoAndWriteNothing) {
  const ScratchDir dir;
  const std::string many = dir.file("many.txt");
  {
    std::ofstream text(many, std::ios::binary);
    for (int i = 0; i < 300; ++i) {
      text << "rect " << i % 20 << " " << i / 20 << " 1 1 " << i % 256 << " " << i / 256 << " 9\n";
    }
  }
  const struct {
    const char* name;
    std::vector<std::string> args;  // KIND OUT left out
    const char* message;
    const char* kind = "bmp";
  } cases[] = {
      {"16 bits", {"2", "2", "--bpp", "16"}, "BPP must be 8 or 24, got '16'"},
      {"no value", {"2", "2", "--bpp"}, "--bpp needs 8 or 24 after it"},
      {"twice", {"2", "2", "--bpp", "8", "--bpp", "8"}, "--bpp given twice"},
      {"too many colours", {"20", "15", "--desc", many, "--bpp", "8"}, "more than 256 colours"},
      {"on a wav", {"1", "8000", "8", "100", "--bpp", "8"}, "unknown option '--bpp'", "wav"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = dir.file("out.bmp");
    std::vector<std::string> args{c.kind, out};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome o = run(args);
    EXPECT_EQ(o.status, assetgen::kExitBadArguments);
    EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(out));
  }
}

}  // namespace
