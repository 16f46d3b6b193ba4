// The one pixel font's two faces: which characters each draws, that every
// glyph is its own, and how text is laid out across and upwards.
#include "formats/pixel_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using formats::Image;
using formats::Rgb;

constexpr Rgb kInk{255, 255, 255};

std::vector<Rgb> pixels(const Image& image) {
  return {image.data(), image.data() + ptrdiff_t{image.width()} * image.height()};
}

TEST(PixelFont, CaptionFaceDrawsEachKnownCharacterDifferentlyAndNothingForOthers) {
  const std::string known = "0123456789FT.:-ABCXYZ/()+,";
  std::vector<std::vector<Rgb>> seen;
  for (char c : known) {
    SCOPED_TRACE(std::string(1, c));
    Image cell(3, 5);
    formats::draw_text(cell, formats::caption_face(), 0, 0, std::string(1, c), kInk, 1);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), pixels(cell)), 0);
    seen.push_back(pixels(cell));
  }
  // Lower case, unknown signs and space draw nothing in either face.
  for (const formats::FontFace* face : {&formats::caption_face(), &formats::legend_face()}) {
    Image blank(16, 7);
    formats::draw_text(blank, *face, 0, 0, "x? ", kInk, 1);
    EXPECT_EQ(std::count(blank.data(), blank.data() + ptrdiff_t{16} * 7, Rgb{}), 16 * 7);
  }
  EXPECT_EQ(formats::caption_face().text_width("F12", 2), 3 * 8 - 2);
  EXPECT_EQ(formats::legend_face().text_width("F12", 2), (3 * 6 - 1) * 2);
  EXPECT_EQ(formats::caption_face().text_width("", 3), 0);
}

TEST(PixelFont, EachFaceHasDistinctGlyphsWithinItsSize) {
  for (const formats::FontFace* face : {&formats::caption_face(), &formats::legend_face()}) {
    std::set<std::vector<uint8_t>> seen;
    for (const formats::Glyph& g : face->glyphs) {
      SCOPED_TRACE(std::string("glyph '") + g.ch + "'");
      const std::vector<uint8_t> rows(g.rows.begin(), g.rows.end());
      EXPECT_TRUE(seen.insert(rows).second) << "same bitmap as an earlier glyph";
      for (int row = face->height; row < formats::kMaxGlyphRows; ++row) EXPECT_EQ(g.rows[row], 0);
    }
  }
}

// Text drawn upwards is the same text drawn across, turned a quarter left.
TEST(PixelFont, UpwardsIsAcrossTurnedLeft) {
  struct Case {
    const formats::FontFace* face;
    const char* text;
    int scale;
  };
  const Case kCases[] = {{&formats::caption_face(), "PULL UP 1000", 2},
                         {&formats::caption_face(), "F7", 1},
                         {&formats::legend_face(), "DH 200 FT", 3}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    const auto w = static_cast<int32_t>(c.face->text_width(c.text, c.scale));
    const int32_t h = c.face->height * c.scale;
    Image across(w, h);
    Image upwards(h, w);
    formats::draw_text(across, *c.face, 0, 0, c.text, kInk, c.scale);
    formats::draw_text_upwards(upwards, *c.face, 0, 0, c.text, kInk, c.scale);
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        ASSERT_EQ(across.at(x, y), upwards.at(y, w - 1 - x)) << x << "," << y;
      }
    }
  }
}

TEST(PixelFont, TextIsClippedAtEveryEdge) {
  // The same letter placed partly outside leaves exactly its inside part.
  Image whole(5, 7);
  formats::draw_text(whole, formats::legend_face(), 0, 0, "W", kInk, 1);
  for (const auto& [dx, dy] : std::vector<std::pair<int, int>>{{-2, 0}, {3, 0}, {0, -4}, {0, 5}}) {
    SCOPED_TRACE(std::to_string(dx) + "," + std::to_string(dy));
    Image part(5, 7);
    formats::draw_text(part, formats::legend_face(), dx, dy, "W", kInk, 1);
    for (int32_t y = 0; y < 7; ++y) {
      for (int32_t x = 0; x < 5; ++x) {
        const bool inside = whole.contains(x - dx, y - dy);
        EXPECT_EQ(part.at(x, y), inside ? whole.at(x - dx, y - dy) : Rgb{}) << x << "," << y;
      }
    }
  }
}

}  // namespace
