#pragma once
// Shared helpers for the assetgen tests: scratch directories, whole-file
// reads and little-endian field access.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace assetgen_test {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// A fresh directory per test, removed afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("assetgen_") + info->test_suite_name() + "_" + info->name() +
                       "_" + std::to_string(::getpid());
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    path_ = fs::temp_directory_path() / name;
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

inline Bytes read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline uint32_t le16(const Bytes& b, size_t at) {
  return static_cast<uint32_t>(b.at(at)) | static_cast<uint32_t>(b.at(at + 1)) << 8;
}

inline uint32_t le32(const Bytes& b, size_t at) {
  return le16(b, at) | le16(b, at + 2) << 16;
}

inline int16_t le_i16(const Bytes& b, size_t at) {
  return static_cast<int16_t>(le16(b, at));
}

inline std::string tag(const Bytes& b, size_t at, size_t length = 4) {
  if (at + length > b.size()) return "<past end>";
  return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                     b.begin() + static_cast<std::ptrdiff_t>(at + length));
}

}  // namespace assetgen_test
