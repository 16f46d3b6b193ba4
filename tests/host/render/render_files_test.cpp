// What the host writes: PNG files, the contact sheet and the pictures of a
// flight taken after each frame that changed the panel.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "host/host_error.h"
#include "host/render/contact_sheet.h"
#include "host/render/png_writer.h"
#include "host/render/snapshots.h"
#include "radalt_fixture.h"

namespace {

namespace fs = std::filesystem;
using host::render::Image;
using host::render::Rgb;

fs::path fresh_folder(const std::string& name) {
  fs::path dir = fs::path(testing::TempDir()) / ("render_" + name);
  fs::remove_all(dir);
  return dir;
}

// Reads a PNG back with libpng as RGB; empty when it cannot.
Image read_png(const fs::path& path) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, path.c_str()) == 0) return Image();
  png.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(png));
  if (png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr) == 0) return Image();
  Image out(static_cast<int32_t>(png.width), static_cast<int32_t>(png.height));
  for (int32_t y = 0; y < out.height(); ++y) {
    for (int32_t x = 0; x < out.width(); ++x) {
      const uint8_t* p = &bytes[3 * (static_cast<size_t>(y) * out.width() + x)];
      out.set(x, y, Rgb{p[0], p[1], p[2]});
    }
  }
  return out;
}

std::vector<std::string> files_in(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PngWriter, WritesWhatReadsBackAndLeavesNoTemporaryFile) {
  const fs::path dir = fresh_folder("png");
  fs::create_directories(dir);
  struct Case {
    const char* name;
    int32_t w, h;
  };
  for (const Case& c : {Case{"one pixel", 1, 1}, Case{"odd sizes", 7, 3}, Case{"tall", 2, 50}}) {
    SCOPED_TRACE(c.name);
    Image image(c.w, c.h);
    for (int32_t y = 0; y < c.h; ++y) {
      for (int32_t x = 0; x < c.w; ++x) {
        image.set(x, y, Rgb{static_cast<uint8_t>(x * 30), static_cast<uint8_t>(y * 5), 77});
      }
    }
    const fs::path path = dir / "picture.png";
    host::render::write_png(path.string(), image);
    Image back = read_png(path);
    ASSERT_EQ(back.width(), c.w);
    ASSERT_EQ(back.height(), c.h);
    for (int32_t y = 0; y < c.h; ++y) {
      for (int32_t x = 0; x < c.w; ++x) ASSERT_EQ(back.at(x, y), image.at(x, y)) << x << "," << y;
    }
    EXPECT_EQ(files_in(dir), std::vector<std::string>{"picture.png"});
  }
}

TEST(PngWriter, SaysWhenItCannotWrite) {
  EXPECT_TRUE(host::render::png_supported());
  const fs::path dir = fresh_folder("png_fail");
  EXPECT_THROW(host::render::write_png((dir / "missing" / "x.png").string(), Image(2, 2)),
               host::HostError);
  EXPECT_THROW(host::render::write_png((dir / "empty.png").string(), Image()), host::HostError);
}

TEST(ContactSheet, KeepsAnEvenSampleWithTheFirstAndLatest) {
  struct Case {
    size_t added;
    size_t max;
    std::vector<size_t> shown;  // which pictures, by the order they came in
  };
  const Case cases[] = {
      {0, 8, {}},
      {1, 8, {0}},
      {7, 8, {0, 1, 2, 3, 4, 5, 6}},
      {8, 8, {0, 2, 4, 6, 7}},
      {9, 8, {0, 2, 4, 6, 8}},
      {100, 8, {0, 16, 32, 48, 64, 80, 96, 99}},
      {33, 4, {0, 16, 32}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.added) + " pictures, at most " + std::to_string(c.max));
    host::render::ContactSheet sheet(c.max, 16);
    for (size_t i = 0; i < c.added; ++i) {
      sheet.add(std::to_string(i), Image(4, 4, Rgb{static_cast<uint8_t>(i), 0, 0}));
    }
    std::vector<std::string> expected;
    for (size_t i : c.shown) expected.push_back(std::to_string(i));
    EXPECT_EQ(sheet.captions(), expected);
    EXPECT_EQ(sheet.compose().empty(), c.added == 0);
  }
}

TEST(ContactSheet, TilesShrunkPicturesWithCaptionsUnder) {
  host::render::ContactSheet sheet(48, 50);
  for (int i = 0; i < 5; ++i) sheet.add("F" + std::to_string(i), Image(200, 100, Rgb{200, 0, 0}));
  Image out = sheet.compose();
  // Three columns of cells 50 wide, two rows of 25 + caption; none larger.
  EXPECT_GE(out.width(), 3 * 50);
  EXPECT_LT(out.width(), 3 * 50 + 4 * 20);
  EXPECT_GE(out.height(), 2 * 25);
  EXPECT_LT(out.height(), 2 * (25 + 30) + 3 * 20);
  size_t red =
      std::count(out.data(), out.data() + size_t(out.width()) * out.height(), Rgb{200, 0, 0});
  EXPECT_EQ(red, 5u * 50 * 25);
}

// The radar altimeter flown a few frames: a picture on the first frame and
// on those that moved the pointer, none for frames that changed nothing.
class Snapshots : public radalt_test::Radalt {};

TEST_F(Snapshots, APictureForEachFrameThatChangedThePanel) {
  const fs::path dir = fresh_folder("snapshots");
  host::render::PanelSnapshots pictures(panel, dir.string(), {{"", "vrn_radalt", "radalt"}});
  panel.set_frame_observer([&](uint32_t frame) { pictures.after_frame(frame); });
  const uint32_t first = panel.frame() + 1;
  struct Step {
    const char* name;
    double metres;
    bool picture;
  };
  const Step steps[] = {{"the first frame", 500, true},
                        {"nothing changed", 500, false},
                        {"the pointer moved", 400, true},
                        {"held there", 400, false},
                        {"the pointer moved back", 500, true}};
  std::vector<std::string> expected;
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(steps[i].name);
    height(steps[i].metres);
    panel.run_frame();
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06u.png", first + static_cast<unsigned>(i));
    if (steps[i].picture) expected.push_back(name);
    EXPECT_EQ(files_in(dir), expected);
  }
  pictures.finish();
  expected.insert(expected.begin(), "contact_sheet.png");
  EXPECT_EQ(files_in(dir), expected);
  EXPECT_EQ(pictures.pictures(), 3u);
  Image frame = read_png(dir / expected[1]);
  EXPECT_EQ(frame.width(), 8 + 302 + 8);
  EXPECT_EQ(frame.height(), 8 + 302 + 8);
  EXPECT_FALSE(read_png(dir / "contact_sheet.png").empty());
  fs::remove_all(dir);
}

TEST_F(Snapshots, ShowingAnElementIsAChange) {
  const fs::path dir = fresh_folder("snapshots_flag");
  host::render::PanelSnapshots pictures(panel, dir.string(), {{"", "vrn_radalt", "radalt"}});
  panel.set_frame_observer([&](uint32_t frame) { pictures.after_frame(frame); });
  panel.run_frames(3);
  ASSERT_EQ(pictures.pictures(), 1u);
  set(radalt_test::kPower, 0.0);  // the OFF flag shows (and the pointer drops to 0)
  panel.run_frame();
  EXPECT_EQ(pictures.pictures(), 2u);
  fs::remove_all(dir);
}

}  // namespace
