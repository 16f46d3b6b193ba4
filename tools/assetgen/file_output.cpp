#include "file_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace assetgen {

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& why) {
  throw OutputError("cannot write '" + path + "': " + why);
}

}  // namespace

void write_file_atomically(const std::string& path, const Bytes& bytes) {
  const std::string temp = path + ".tmp";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (file == nullptr) fail(path, std::strerror(errno));

  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int write_errno = errno;
  // fclose flushes, so a full disk may only show up here.
  const bool closed = std::fclose(file) == 0;
  const int close_errno = errno;
  std::error_code ignored;
  if (!written || !closed) {
    std::filesystem::remove(temp, ignored);
    fail(path, std::strerror(!written ? write_errno : close_errno));
  }

  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ignored);
    fail(path, ec.message());
  }
}

}  // namespace assetgen
