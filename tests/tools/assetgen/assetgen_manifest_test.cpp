// Each module's pictures as the build made them from its bitmaps.manifest:
// exactly the listed bitmaps, each at its size and depth and drawn from its
// own description (drawn again here, so a stale picture shows up).
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "formats/bmp_writer.h"
#include "module_pictures.h"

namespace {

using namespace assetgen_test;

TEST(ModulePictures, AreExactlyTheManifestsBitmaps) {
  for (const ModulePictures& m : kModules) {
    SCOPED_TRACE(m.module);
    std::set<std::string> listed;
    for (const frame::BitmapEntry& e : m.bitmaps) listed.insert(std::to_string(e.id) + ".bmp");
    EXPECT_EQ(listed.size(), m.bitmaps.size()) << "an id listed twice";
    std::set<std::string> found;
    for (const auto& file : fs::directory_iterator(picture_dir(m))) {
      found.insert(file.path().filename().string());
    }
    EXPECT_EQ(found, listed);
  }
}

TEST(ModulePictures, HaveTheManifestsSizesAndDepths) {
  for (const ModulePictures& m : kModules) {
    for (const frame::BitmapEntry& e : m.bitmaps) {
      SCOPED_TRACE(std::string(m.module) + " " + e.name + " (" + std::to_string(e.id) + ")");
      const Bytes file = read_file(picture_path(m, e.id));
      ASSERT_GE(file.size(), 54u);
      EXPECT_EQ(tag(file, 0, 2), "BM");
      EXPECT_EQ(le32(file, 18), static_cast<uint32_t>(e.width));
      EXPECT_EQ(le32(file, 22), static_cast<uint32_t>(e.height));
      EXPECT_EQ(le16(file, 28), static_cast<uint32_t>(e.depth));
    }
  }
}

TEST(ModulePictures, AreDrawnFromTheirDescriptions) {
  for (const ModulePictures& m : kModules) {
    for (const frame::BitmapEntry& e : m.bitmaps) {
      SCOPED_TRACE(std::string(m.module) + " " + e.name + " (" + std::to_string(e.id) + ")");
      const assetgen::Image want = drawn(m, e);
      EXPECT_EQ(read_file(picture_path(m, e.id)),
                e.depth == 8 ? formats::encode_bmp8(want) : formats::encode_bmp24(want));
    }
  }
}

}  // namespace
