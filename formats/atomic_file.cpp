#include "formats/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace formats {

std::optional<std::string> write_file_atomically(const std::string& path, std::string_view bytes) {
  const std::string temporary = path + ".tmp";
  std::error_code ignored;
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return std::string(std::strerror(errno));
  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int write_errno = errno;
  // fclose flushes, so a full disk may only show up here.
  const bool closed = std::fclose(file) == 0;
  const int close_errno = errno;
  if (!written || !closed) {
    std::filesystem::remove(temporary, ignored);
    return std::string(std::strerror(!written ? write_errno : close_errno));
  }
  // std::filesystem replaces an existing file on Windows too, unlike std::rename.
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::filesystem::remove(temporary, ignored);
    return "renaming " + temporary + " failed: " + error.message();
  }
  return std::nullopt;
}

}  // namespace formats
