// The envelope map as a picture, its lettering, and the gaugehost envelope
// command end to end on coarse grids.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/envelope/envelope_picture.h"
#include "host/envelope/label_font.h"
#include "host/gaugehost_cli.h"
#include "host_fixture.h"

namespace {

namespace fs = std::filesystem;
using host::envelope::DescentAlert;
using host::envelope::GridAxis;
using host::render::Image;
using host::render::Rgb;

std::string pixels(const Image& image) {
  return std::string(reinterpret_cast<const char*>(image.data()),
                     static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()) * 3);
}

TEST(EnvelopePicture, EachCellIsColouredByWhatTheGpwsDidThere) {
  // Rows go up with height, columns right with descent or closure.
  host::envelope::SweepMap<DescentAlert> descent{
      GridAxis{0, 2600, 3},
      GridAxis{0, -8000, 2},
      {DescentAlert::kNone, DescentAlert::kPullUp, DescentAlert::kNone, DescentAlert::kSinkRate,
       DescentAlert::kNone, DescentAlert::kNone}};
  host::envelope::SweepMap<uint8_t> terrain{
      GridAxis{0, 2000, 2}, GridAxis{0, 8000, 3}, {0, 1, 1, 0, 0, 0}};
  const Image image = host::envelope::envelope_picture(descent, terrain);
  struct Case {
    const char* name;
    int map;
    int32_t row, column;
    Rgb colour;
  };
  const Case cases[] = {
      {"low and slow", 0, 0, 0, host::envelope::kQuietColour},
      {"low and fast", 0, 0, 1, host::envelope::kPullUpColour},
      {"middle and fast", 0, 1, 1, host::envelope::kSinkRateColour},
      {"high and fast", 0, 2, 1, host::envelope::kQuietColour},
      {"terrain near, closing slowly", 1, 0, 0, host::envelope::kQuietColour},
      {"terrain near, closing fast", 1, 0, 2, host::envelope::kTerrainColour},
      {"terrain far", 1, 1, 2, host::envelope::kQuietColour},
  };
  std::set<std::pair<int32_t, int32_t>> corners;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto box = host::envelope::cell_box(descent, terrain, c.map, c.row, c.column);
    ASSERT_GT(box.side, 1);
    ASSERT_TRUE(image.contains(box.x, box.y));
    ASSERT_TRUE(image.contains(box.x + box.side - 1, box.y + box.side - 1));
    EXPECT_EQ(image.at(box.x, box.y), c.colour);
    EXPECT_EQ(image.at(box.x + box.side - 1, box.y + box.side - 1), c.colour);
    EXPECT_TRUE(corners.insert({box.x, box.y}).second) << "two cells in one place";
  }
  const auto low = host::envelope::cell_box(descent, terrain, 0, 0, 0);
  const auto high = host::envelope::cell_box(descent, terrain, 0, 2, 0);
  const auto terrain_cell = host::envelope::cell_box(descent, terrain, 1, 0, 0);
  EXPECT_GT(low.y, high.y) << "greater heights further up";
  EXPECT_GT(terrain_cell.x, low.x) << "the terrain map to the right";
}

TEST(EnvelopeFont, EveryLetterHasItsOwnShapeInEitherCase) {
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/-.()+";
  std::set<std::string> seen;
  for (char c : letters) {
    SCOPED_TRACE(std::string(1, c));
    Image upper(3, 5);
    host::envelope::draw_label(upper, 0, 0, std::string(1, c), Rgb{255, 255, 255}, 1);
    EXPECT_TRUE(seen.insert(pixels(upper)).second) << "looks like another character";
    EXPECT_NE(pixels(upper), pixels(Image(3, 5))) << "draws nothing";
    if (c >= 'A' && c <= 'Z') {
      Image lower(3, 5);
      host::envelope::draw_label(lower, 0, 0, std::string(1, static_cast<char>(c - 'A' + 'a')),
                                 Rgb{255, 255, 255}, 1);
      EXPECT_EQ(pixels(lower), pixels(upper));
    }
  }
}

TEST(EnvelopeFont, UpwardsTextIsTheSameTextTurned) {
  const std::string text = "FT/MIN 25";
  const int32_t w = host::envelope::label_width(text, 2);
  const int32_t h = host::envelope::label_height(2);
  Image across(w, h);
  Image upwards(h, w);
  host::envelope::draw_label(across, 0, 0, text, Rgb{9, 9, 9}, 2);
  host::envelope::draw_label_upwards(upwards, 0, 0, text, Rgb{9, 9, 9}, 2);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
      ASSERT_EQ(across.at(x, y), upwards.at(y, w - 1 - x));
    }
  }
}

TEST(EnvelopeCommand, WritesTheMapOrSaysWhatIsWrong) {
  const fs::path dir = fs::path(testing::TempDir()) / "envelope_command";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string out = (dir / "envelope.png").string();
  struct Case {
    const char* name;
    std::vector<std::string> args;  // after "gaugehost envelope"
    int status;
    const char* says;
  };
  const Case cases[] = {
      {"no file", {}, 2, "OUT.png is required"},
      {"an option first", {"--coarse"}, 2, "OUT.png is required"},
      {"a grid of one", {out, "--grid", "1"}, 2, "--grid: wants"},
      {"a grid of words", {out, "--grid", "many"}, 2, "--grid: wants"},
      {"an unknown option", {out, "--fine"}, 2, "not expected: --fine"},
      {"a missing value", {out, "--root"}, 2, "--root: 1 required DIR missing"},
      {"no modules there",
       {out, "--modules", "/nonexistent", "--root", SIM_ROOT, "--coarse"},
       1,
       "envelope:"},
      {"no voices there",
       {out, "--modules", testing_host::module_dir(), "--root", "/nonexistent", "--coarse"},
       1,
       "sinkrate.wav"},
      {"a coarse map",
       {out, "--modules", testing_host::module_dir(), "--root", SIM_ROOT, "--coarse"},
       0,
       "14 x 14"},
      {"the modules beside gaugehost", {out, "--root", SIM_ROOT, "--grid", "3"}, 0, "3 x 3"},
      {"the last of --grid and --coarse, --coarse",
       {out, "--root", SIM_ROOT, "--grid", "3", "--coarse"},
       0,
       "14 x 14"},
      {"the last of --grid and --coarse, --grid",
       {out, "--root", SIM_ROOT, "--coarse", "--grid", "2"},
       0,
       "2 x 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = {"envelope"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    std::ostringstream standard_out, err;
    EXPECT_EQ(host::run_gaugehost(args, testing_host::module_dir(), standard_out, err), c.status);
    EXPECT_EQ(standard_out.str(), "");
    EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
    EXPECT_EQ(fs::exists(out), c.status == 0);
    EXPECT_FALSE(fs::exists(out + ".tmp"));
    fs::remove(out);
  }
}

}  // namespace
