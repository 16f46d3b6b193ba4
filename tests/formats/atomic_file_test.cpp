// The one whole-file write: what a reader finds on disk after a write that
// worked, and after one that failed.
#include "formats/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string read_all(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class AtomicWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) /
          ("atomic_write_" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(AtomicWrite, WritesNewAndReplacesExistingFiles) {
  struct Row {
    const char* what;
    const char* before;  // nullptr: no file there yet
    std::string bytes;
  };
  const Row rows[] = {
      {"a new file", nullptr, "first"},
      {"over a longer file", "a much longer old content", "short"},
      {"over a shorter file", "x", std::string("with\0nul and more", 17)},
      {"an empty file", "old", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const fs::path path = dir / "out.bin";
    fs::remove(path);
    if (row.before != nullptr) std::ofstream(path, std::ios::binary) << row.before;
    EXPECT_EQ(formats::write_file_atomically(path.string(), row.bytes), std::nullopt);
    EXPECT_EQ(read_all(path), row.bytes);
    EXPECT_FALSE(fs::exists(dir / "out.bin.tmp"));
  }
}

TEST_F(AtomicWrite, FailureSaysWhyAndLeavesNoTemporary) {
  struct Row {
    const char* what;
    fs::path path;
  };
  // A folder where the file should go: the temporary is written, the rename fails.
  fs::create_directories(dir / "taken" / "inside");
  const Row rows[] = {
      {"missing folder", dir / "nowhere" / "out.bin"},
      {"a folder in the way", dir / "taken"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    auto why = formats::write_file_atomically(row.path.string(), "bytes");
    ASSERT_TRUE(why.has_value());
    EXPECT_FALSE(why->empty());
    EXPECT_FALSE(fs::exists(row.path.string() + ".tmp"));
  }
  EXPECT_TRUE(fs::is_directory(dir / "taken" / "inside")) << "the folder in the way is untouched";
}

}  // namespace
