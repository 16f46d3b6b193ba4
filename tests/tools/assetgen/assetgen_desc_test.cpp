// Drawing descriptions: what each command paints, seen as pixels at the
// points that tell a right shape from a near miss.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assetgen_draw_cases.h"
#include "assetgen_test_support.h"
#include "desc.h"
#include "image.h"

namespace {

using assetgen::Image;
using assetgen::Rgb;

using assetgen_test::DrawCase;
using assetgen_test::kBlack;
using assetgen_test::kInk;
using assetgen_test::kPaper;
using assetgen_test::Probe;

void check(const DrawCase& c) {
  assetgen_test::check_drawing(c);
}

Image draw(int width, int height, const std::string& source) {
  Image image(width, height);
  assetgen::draw_description(image, source, "case.txt");
  return image;
}

TEST(AssetgenDesc, FillAndColourForms) {
  const DrawCase cases[] = {
      {"nothing to draw leaves black", 3, 2, "", {{0, 0, kBlack}, {2, 1, kBlack}}},
      {"decimal colour", 3, 2, "fill 10 20 30", {{0, 0, {10, 20, 30}}, {2, 1, {10, 20, 30}}}},
      {"hex colour, either case", 2, 2, "fill #0A14fF", {{1, 1, {10, 20, 255}}}},
      {"later commands paint over earlier ones",
       3,
       1,
       "fill #c80a14\nrect 1 0 1 1 1 2 3\n",
       {{0, 0, kInk}, {1, 0, kPaper}, {2, 0, kInk}}},
      {"comments, blank lines, tabs and CRLF",
       2,
       1,
       "# heading\r\n\r\n \t \n  # indented comment\n\trect\t0 0  1 1 #c80a14\r\n",
       {{0, 0, kInk}, {1, 0, kBlack}}},
  };
  for (const DrawCase& c : cases) check(c);
}

TEST(AssetgenDesc, RectanglesAreFilledAndClipped) {
  const DrawCase cases[] = {
      {"inside",
       8,
       6,
       "rect 2 1 3 2 #c80a14",
       {{2, 1, kInk},
        {4, 2, kInk},
        {1, 1, kBlack},
        {5, 1, kBlack},
        {2, 0, kBlack},
        {2, 3, kBlack}}},
      {"over the top-left corner",
       8,
       6,
       "rect -2 -3 4 5 #c80a14",
       {{0, 0, kInk}, {1, 1, kInk}, {2, 0, kBlack}, {0, 2, kBlack}}},
      {"over the bottom-right corner",
       8,
       6,
       "rect 6 4 10 10 #c80a14",
       {{6, 4, kInk}, {7, 5, kInk}, {5, 5, kBlack}, {7, 3, kBlack}}},
      {"wholly outside", 4, 4, "rect 4 0 3 3 #c80a14\nrect 0 -3 4 3 #c80a14", {{3, 0, kBlack}}},
      {"zero width and height", 4, 4, "rect 1 1 0 3 #c80a14\nrect 1 1 3 0 #c80a14", {}},
  };
  for (const DrawCase& c : cases) check(c);
  // Zero sizes must leave every pixel alone, not just the probed ones.
  const Image empty = draw(4, 4, "rect 1 1 0 3 #c80a14\nrect 1 1 3 0 #c80a14");
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(empty.at(x, y), kBlack) << x << "," << y;
  }
}

TEST(AssetgenDesc, RectOutlinesHaveTheirThicknessInsideTheRectangle) {
  const DrawCase cases[] = {
      {"thickness 2",
       10,
       9,
       "rect_outline 1 1 8 7 2 #c80a14",
       {{1, 1, kInk},
        {2, 2, kInk},
        {8, 7, kInk},
        {7, 6, kInk},
        {7, 3, kInk},
        {3, 6, kInk},
        {8, 1, kInk},
        {1, 7, kInk},
        {3, 3, kBlack},
        {6, 5, kBlack},
        {6, 3, kBlack},
        {0, 0, kBlack},
        {9, 8, kBlack},
        {9, 4, kBlack}}},
      {"thickness 1 keeps the inside",
       5,
       5,
       "fill 1 2 3\nrect_outline 0 0 5 5 1 #c80a14",
       {{0, 2, kInk}, {4, 2, kInk}, {2, 0, kInk}, {2, 4, kInk}, {1, 1, kPaper}, {3, 3, kPaper}}},
      {"thickness past the middle fills",
       4,
       3,
       "rect_outline 0 0 4 3 5 #c80a14",
       {{0, 0, kInk}, {1, 1, kInk}, {2, 1, kInk}, {3, 2, kInk}}},
      {"edges outside the picture are clipped",
       4,
       3,
       "rect_outline -1 0 4 3 1 #c80a14",
       {{0, 0, kInk}, {2, 1, kInk}, {0, 2, kInk}, {0, 1, kBlack}, {1, 1, kBlack}, {3, 1, kBlack}}},
  };
  for (const DrawCase& c : cases) check(c);
}

TEST(AssetgenDesc, RoundedCornersLeaveTheirPixelsUntouched) {
  const DrawCase cases[] = {
      {"radius 1 drops exactly the corner pixels",
       7,
       6,
       "fill 1 2 3\nround_rect 1 1 5 4 1 #c80a14",
       {{1, 1, kPaper},
        {5, 1, kPaper},
        {1, 4, kPaper},
        {5, 4, kPaper},
        {2, 1, kInk},
        {1, 2, kInk},
        {4, 1, kInk},
        {5, 2, kInk},
        {2, 4, kInk},
        {5, 3, kInk},
        {3, 2, kInk},
        {0, 2, kPaper},
        {6, 2, kPaper}}},
      // A quarter disc of radius 3: 3 pixels cut from the first row, one
      // from the next two rows.
      {"radius 3",
       10,
       10,
       "round_rect 0 0 10 10 3 #c80a14",
       {{2, 0, kBlack},
        {3, 0, kInk},
        {0, 1, kBlack},
        {1, 1, kInk},
        {0, 2, kBlack},
        {1, 2, kInk},
        {0, 3, kInk},
        {6, 0, kInk},
        {7, 0, kBlack},
        {9, 2, kBlack},
        {8, 2, kInk},
        {9, 3, kInk},
        {2, 9, kBlack},
        {3, 9, kInk},
        {9, 8, kBlack},
        {8, 8, kInk},
        {9, 6, kInk}}},
      {"radius 0 is a plain rectangle",
       3,
       3,
       "round_rect 0 0 3 3 0 #c80a14",
       {{0, 0, kInk}, {2, 2, kInk}}},
      {"largest radius for the shorter side",
       5,
       3,
       "round_rect 0 0 5 3 1 #c80a14",
       {{0, 0, kBlack}, {4, 2, kBlack}, {1, 0, kInk}, {0, 1, kInk}, {4, 1, kInk}}},
      {"clipped",
       4,
       4,
       "round_rect 1 -1 3 4 1 #c80a14",
       {{1, 0, kInk},
        {3, 1, kInk},
        {1, 2, kBlack},
        {2, 2, kInk},
        {3, 2, kBlack},
        {0, 1, kBlack},
        {2, 3, kBlack}}},
  };
  for (const DrawCase& c : cases) check(c);
}

TEST(AssetgenDesc, TextIsDrawnWithThePixelFont) {
  // 'H' is 10001 on every row but the middle one (11111), so its edges and
  // the blank column after it show where a glyph starts and ends.
  const DrawCase cases[] = {
      {"one glyph, lit pixels only",
       8,
       9,
       "fill 1 2 3\ntext 1 2 #c80a14 A",
       {{1, 2, kPaper},
        {2, 2, kInk},
        {4, 2, kInk},
        {5, 2, kPaper},
        {1, 3, kInk},
        {2, 3, kPaper},
        {1, 5, kInk},
        {5, 5, kInk},
        {6, 5, kPaper},
        {1, 8, kInk},
        {3, 8, kPaper},
        {1, 1, kPaper}}},
      {"one blank column between glyphs",
       20,
       7,
       "text 0 0 #c80a14 HHH",
       {{0, 0, kInk},
        {4, 0, kInk},
        {5, 3, kBlack},
        {6, 0, kInk},
        {16, 3, kInk},
        {16, 0, kInk},
        {17, 3, kBlack}}},
      {"inner spaces kept",
       20,
       7,
       "text 0 0 #c80a14 H H",
       {{6, 3, kBlack}, {10, 3, kBlack}, {12, 3, kInk}}},
      {"clipped on the left and bottom",
       4,
       7,
       "text -3 5 #c80a14 H",
       {{0, 5, kBlack}, {1, 5, kInk}, {0, 6, kBlack}, {1, 6, kInk}, {0, 4, kBlack}}},
      {"scale 3 makes 3x3 blocks",
       20,
       21,
       "scale 3\ntext 0 0 #c80a14 I",
       {{2, 0, kBlack},
        {3, 0, kInk},
        {11, 2, kInk},
        {12, 0, kBlack},
        {3, 3, kBlack},
        {5, 3, kBlack},
        {6, 3, kInk},
        {8, 5, kInk},
        {9, 5, kBlack},
        {14, 20, kBlack},
        {11, 20, kInk}}},
      {"scale stays until changed",
       12,
       21,
       "scale 2\ntext 0 0 #c80a14 H\nscale 1\ntext 0 14 #c80a14 H",
       {{1, 0, kInk}, {8, 0, kInk}, {9, 0, kInk}, {10, 0, kBlack}, {4, 14, kInk}, {5, 14, kBlack}}},
  };
  for (const DrawCase& c : cases) check(c);
}

TEST(AssetgenDesc, CentredTextSitsOnTheGivenColumn) {
  const DrawCase cases[] = {
      // Width 5: columns 8..12 around 10.
      {"odd width",
       20,
       7,
       "text_center 10 0 #c80a14 H",
       {{7, 3, kBlack}, {8, 0, kInk}, {12, 0, kInk}, {13, 3, kBlack}}},
      // Width 10: columns 5..14, the extra one left of 10.
      {"even width",
       20,
       14,
       "scale 2\ntext_center 10 0 #c80a14 H",
       {{4, 6, kBlack}, {5, 0, kInk}, {14, 0, kInk}, {15, 6, kBlack}}},
      // "H H" is 17 wide: columns 2..18 around 10; trailing blanks ignored.
      {"trailing blanks do not count",
       21,
       7,
       "text_center 10 0 #c80a14 H H  \t",
       {{1, 3, kBlack}, {2, 0, kInk}, {18, 0, kInk}, {19, 3, kBlack}}},
      {"negative centre",
       4,
       7,
       "text_center -1 0 #c80a14 H",
       {{0, 3, kInk}, {1, 0, kInk}, {2, 3, kBlack}}},
  };
  for (const DrawCase& c : cases) check(c);
}

}  // namespace
