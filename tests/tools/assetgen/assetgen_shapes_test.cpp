// Drawing descriptions: the round and slanted shapes (line, disc, ring,
// triangle, tick), seen as pixels where a right shape and a near miss
// differ, and their mistakes reported by file and line.
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

TEST(AssetgenShapes, LinesCoverHalfTheirThicknessEachSideWithRoundEnds) {
  const DrawCase cases[] = {
      {"along a row, thickness 3",
       10,
       7,
       "line 2 3 7 3 3 #c80a14",
       {{2, 3, kInk},
        {7, 3, kInk},
        {4, 2, kInk},
        {4, 4, kInk},
        {4, 1, kBlack},
        {4, 5, kBlack},
        {1, 3, kInk},
        {1, 2, kInk},
        {1, 1, kBlack},
        {0, 3, kBlack},
        {8, 3, kInk},
        {9, 3, kBlack}}},
      {"even thickness on a half-pixel row",
       8,
       6,
       "line 1 2.5 6 2.5 2 #c80a14",
       {{3, 1, kBlack}, {3, 2, kInk}, {3, 3, kInk}, {3, 4, kBlack}}},
      {"diagonal, thickness 1",
       6,
       6,
       "line 0 0 5 5 1 #c80a14",
       {{0, 0, kInk}, {3, 3, kInk}, {5, 5, kInk}, {1, 0, kBlack}, {0, 1, kBlack}}},
      {"both ends at one point make a dot",
       6,
       6,
       "line 2 2 2 2 3 #c80a14",
       {{2, 2, kInk}, {3, 2, kInk}, {3, 3, kInk}, {4, 2, kBlack}, {2, 0, kBlack}}},
      {"ends outside the picture are clipped",
       4,
       3,
       "line -5 1 20 1 1 #c80a14",
       {{0, 1, kInk}, {3, 1, kInk}, {0, 0, kBlack}, {3, 2, kBlack}}},
  };
  for (const DrawCase& c : cases) check(c);
}

TEST(AssetgenShapes, DiscsAndRingsMeasureFromTheCentrePixel) {
  const DrawCase cases[] = {
      {"disc radius 3",
       11,
       11,
       "disc 5 5 3 #c80a14",
       {{5, 2, kInk},
        {5, 1, kBlack},
        {8, 5, kInk},
        {9, 5, kBlack},
        {2, 5, kInk},
        {5, 8, kInk},
        {7, 7, kInk},
        {8, 7, kBlack}}},
      {"disc radius 0 is one pixel",
       5,
       5,
       "disc 2 2 0 #c80a14",
       {{2, 2, kInk}, {1, 2, kBlack}, {3, 2, kBlack}, {2, 1, kBlack}}},
      {"disc between pixels",
       4,
       4,
       "disc 1.5 1.5 1 #c80a14",
       {{1, 1, kInk}, {2, 1, kInk}, {1, 2, kInk}, {2, 2, kInk}, {0, 1, kBlack}, {3, 2, kBlack}}},
      {"disc clipped",
       3,
       3,
       "disc 0 0 2 #c80a14",
       {{0, 0, kInk}, {2, 0, kInk}, {1, 1, kInk}, {2, 1, kBlack}}},
      {"ring thickness 1 lies just inside the radius",
       11,
       11,
       "fill 1 2 3\nring 5 5 4 1 #c80a14",
       {{5, 1, kInk},
        {5, 2, kPaper},
        {5, 5, kPaper},
        {9, 5, kInk},
        {0, 5, kPaper},
        {8, 7, kInk},
        {8, 8, kPaper}}},
      {"ring thickness 2",
       11,
       11,
       "fill 1 2 3\nring 5 5 4 2 #c80a14",
       {{5, 1, kInk}, {5, 2, kInk}, {5, 3, kPaper}, {8, 5, kInk}, {7, 5, kPaper}}},
      {"ring thicker than its radius is a disc",
       11,
       11,
       "ring 5 5 3 5 #c80a14",
       {{5, 5, kInk}, {5, 2, kInk}, {5, 1, kBlack}}},
  };
  for (const DrawCase& c : cases) check(c);
}

TEST(AssetgenShapes, TrianglesFillInsideAndOnTheirEdges) {
  // The long edge of the first two runs along x + y = 9.
  const std::vector<Probe> corner = {{1, 1, kInk},   {8, 1, kInk},   {1, 8, kInk},   {4, 4, kInk},
                                     {4, 5, kInk},   {5, 5, kBlack}, {0, 1, kBlack}, {1, 0, kBlack},
                                     {9, 1, kBlack}, {1, 9, kBlack}};
  const DrawCase cases[] = {
      {"clockwise", 10, 10, "triangle 1 1 8 1 1 8 #c80a14", corner},
      {"anticlockwise", 10, 10, "triangle 1 1 1 8 8 1 #c80a14", corner},
      {"corners between pixels",
       5,
       5,
       "triangle 0.5 0.5 3.5 0.5 0.5 3.5 #c80a14",
       {{1, 1, kInk}, {3, 1, kInk}, {2, 2, kInk}, {0, 0, kBlack}, {3, 0, kBlack}, {3, 2, kBlack}}},
      {"flat triangle paints its segment",
       5,
       3,
       "triangle 0 1 4 1 2 1 #c80a14",
       {{0, 1, kInk}, {4, 1, kInk}, {2, 0, kBlack}, {2, 2, kBlack}}},
      {"overhanging the edge",
       4,
       4,
       "triangle -4 -4 12 -4 -4 12 #c80a14",
       {{0, 0, kInk}, {3, 3, kInk}}},
  };
  for (const DrawCase& c : cases) check(c);
}

TEST(AssetgenShapes, TicksRunAlongTheRayThroughTheirPoint) {
  const DrawCase cases[] = {
      {"straight up, from 3 to 6",
       21,
       21,
       "tick 10 10 10 0 3 6 1 #c80a14",
       {{10, 7, kInk},
        {10, 4, kInk},
        {10, 8, kBlack},
        {10, 3, kBlack},
        {9, 5, kBlack},
        {11, 5, kBlack}}},
      {"to the right, thickness 3, square ends",
       21,
       21,
       "tick 10 10 20 10 2 5 3 #c80a14",
       {{12, 9, kInk},
        {15, 11, kInk},
        {12, 11, kInk},
        {11, 10, kBlack},
        {16, 10, kBlack},
        {13, 8, kBlack},
        {13, 12, kBlack}}},
      {"a 3-4-5 slope",
       20,
       20,
       "tick 0 0 30 40 5 10 1 #c80a14",
       {{3, 4, kInk}, {6, 8, kInk}, {4, 5, kInk}, {0, 0, kBlack}, {4, 3, kBlack}, {9, 12, kBlack}}},
      {"the point sets the direction only",
       12,
       11,
       "tick 5 5 6 5 0 3 1 #c80a14",
       {{5, 5, kInk}, {8, 5, kInk}, {9, 5, kBlack}, {4, 5, kBlack}}},
      {"point between pixels",
       21,
       21,
       "tick 10 10 10.5 0 0 10 1 #c80a14",
       {{10, 2, kInk}, {10, 8, kInk}, {11, 2, kBlack}, {9, 8, kBlack}}},
  };
  for (const DrawCase& c : cases) check(c);
}

struct ErrorCase {
  const char* name;
  std::string source;
  const char* message;  // part of the text after "d.txt:1: "
};

TEST(AssetgenShapes, MistakesNameTheFileAndLine) {
  const ErrorCase cases[] = {
      {"unknown command lists the shapes", "blur 2", "line, disc, ring, triangle, tick"},
      {"line without colour", "line 0 0 1 1 1",
       "missing COLOUR: the command is line X0 Y0 X1 Y1 THICKNESS COLOUR"},
      {"zero thickness", "line 0 0 1 1 0 #ffffff", "THICKNESS must be more than 0"},
      {"negative thickness", "ring 1 1 2 -1 #ffffff", "THICKNESS must be a number from 0"},
      {"negative radius", "disc 1 1 -1 #ffffff", "R must be a number from 0 to 8192"},
      {"minus zero radius", "disc 1 1 -0 #ffffff", "R must be a number"},
      {"two points", "disc 1.5.2 1 1 #ffffff", "CX must be a number"},
      {"nothing after the point", "disc 1. 1 1 #ffffff", "got '1.'"},
      {"nothing before the point", "disc .5 1 1 #ffffff", "got '.5'"},
      {"seven decimals", "disc 1.1234567 1 1 #ffffff", "with at most 6 decimals"},
      {"exponent", "disc 1e3 1 1 #ffffff", "got '1e3'"},
      {"plus sign", "disc +1 1 1 #ffffff", "got '+1'"},
      {"not a number", "disc nan 1 1 #ffffff", "got 'nan'"},
      {"too far", "disc 8192.5 0 1 #ffffff", "CX must be a number from -8192 to 8192"},
      {"too many digits", "disc 0 1234567890 1 #ffffff", "CY must be"},
      {"triangle short of a corner", "triangle 0 0 1 1 2 #ffffff", "Y2 must be"},
      {"tick towards its own centre", "tick 5 5 5 5 1 2 1 #ffffff", "PX PY must differ"},
      {"tick inside out", "tick 0 0 1 0 3 2 1 #ffffff", "OUTER must not be less than INNER"},
      {"tick from a negative distance", "tick 0 0 1 0 -1 2 1 #ffffff", "INNER must be"},
      {"tick extra", "tick 0 0 1 0 1 2 1 #ffffff 7",
       "unexpected '7' after tick CX CY PX PY INNER OUTER THICKNESS COLOUR"},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    Image image(8, 8);
    std::string what = "<no error>";
    try {
      assetgen::draw_description(image, "# shapes\n\n" + c.source, "d.txt");
    } catch (const assetgen::DescriptionError& e) {
      what = e.what();
    }
    EXPECT_EQ(what.rfind("d.txt:3: ", 0), 0u) << what;
    EXPECT_NE(what.find(c.message), std::string::npos) << what;
  }
}

TEST(AssetgenShapes, LargestDecimalsAreAccepted) {
  Image image(8, 8);
  EXPECT_NO_THROW(assetgen::draw_description(
      image, "disc -8192 8192.000000 0.000001 #ffffff\nline 0 0 1 1 8192 #ffffff", "d.txt"));
  EXPECT_EQ(image.at(7, 7), (Rgb{255, 255, 255}));
}

}  // namespace
