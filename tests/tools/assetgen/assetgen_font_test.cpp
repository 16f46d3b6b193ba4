// The pixel font: which characters exist, what a few of them look like when
// drawn, and how wide text comes out.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "assetgen_test_support.h"
#include "draw.h"
#include "formats/pixel_font.h"
#include "image.h"

namespace {

using assetgen::Image;
using assetgen::Rgb;

constexpr Rgb kInk{255, 255, 255};

TEST(AssetgenFont, HasExactlyTheLegendCharacters) {
  const std::string expected = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .-/:()%";
  EXPECT_EQ(formats::legend_face().glyphs.size(), expected.size());
  for (char ch : expected) {
    SCOPED_TRACE(std::string("character '") + ch + "'");
    const formats::Glyph* g = formats::legend_face().find(ch);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->ch, ch);
  }
  for (char ch : {'a', 'z', '+', '#', ',', '_', '\0', '\t', '\x7f', '\x80', '\xff'}) {
    SCOPED_TRACE("code " + std::to_string(static_cast<unsigned char>(ch)));
    EXPECT_EQ(formats::legend_face().find(ch), nullptr);
  }
}

TEST(AssetgenFont, GlyphsAreDistinctAndOnlySpaceIsBlank) {
  std::set<std::vector<uint8_t>> seen;
  for (const formats::Glyph& g : formats::legend_face().glyphs) {
    SCOPED_TRACE(std::string("glyph '") + g.ch + "'");
    const std::vector<uint8_t> rows(g.rows.begin(), g.rows.end());
    EXPECT_TRUE(seen.insert(rows).second) << "same bitmap as an earlier glyph";
    const bool blank = std::all_of(rows.begin(), rows.end(), [](uint8_t r) { return r == 0; });
    EXPECT_EQ(blank, g.ch == ' ');
  }
}

// Drawn glyphs read back as text art, '#' for ink.
std::vector<std::string> art(const std::string& text) {
  const auto width = static_cast<int>(assetgen::text_width(text, 1));
  Image image(width, formats::kLegendGlyphHeight);
  assetgen::draw_text(image, 0, 0, text, kInk, 1);
  std::vector<std::string> rows;
  for (int y = 0; y < image.height(); ++y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) row += image.at(x, y) == kInk ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(AssetgenFont, GlyphsLookRight) {
  const struct {
    const char* text;
    std::vector<std::string> rows;
  } cases[] = {
      {"A", {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
      {"G", {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
      {"P", {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
      {"W", {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
      {"0", {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
      {"%", {"##...", "##..#", "...#.", "..#..", ".#...", "#..##", "...##"}},
      {"UP",
       {"#...#.####.", "#...#.#...#", "#...#.#...#", "#...#.####.", "#...#.#....", "#...#.#....",
        ".###..#...."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(art(c.text), c.rows);
  }
}

TEST(AssetgenFont, TextWidthIsSixPerGlyphLessOneTimesTheScale) {
  const struct {
    const char* text;
    int scale;
    int64_t width;
  } cases[] = {
      {"", 1, 0},   {"H", 1, 5},   {"HH", 1, 11},   {"PULL UP", 1, 41}, {"GPWS", 1, 23},
      {"H", 2, 10}, {"HH", 3, 33}, {"M0-8", 1, 23}, {"TEST", 16, 368},  {" ", 1, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("'") + c.text + "' at scale " + std::to_string(c.scale));
    EXPECT_EQ(assetgen::text_width(c.text, c.scale), c.width);
    // Where the outer glyph columns carry ink, the drawn extent must match.
    if (c.width == 0 || c.text[0] == ' ') continue;
    Image image(400, 8 * c.scale, {});
    assetgen::draw_text(image, 0, 0, c.text, kInk, c.scale);
    int left = image.width();
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.at(x, y) == kInk) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
    }
    EXPECT_EQ(left, 0);
    EXPECT_EQ(right + 1, c.width);
  }
}

TEST(AssetgenFont, DrawTextRejectsWhatItCannotDraw) {
  Image image(20, 8);
  const struct {
    const char* name;
    const char* text;
    int scale;
  } cases[] = {
      {"lower case", "Ab", 1},
      {"unknown character off the picture", "AAAAAAAAAAAAAAAA+", 1},
      {"scale 0", "A", 0},
      {"scale too big", "A", assetgen::kMaxTextScale + 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(assetgen::draw_text(image, 0, 0, c.text, kInk, c.scale), std::invalid_argument);
  }
}

}  // namespace
