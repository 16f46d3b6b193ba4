#include "desc.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "desc_command.h"
#include "draw_commands.h"

namespace assetgen {

void draw_description(Image& image, std::string_view source, const std::string& file_name) {
  Pen pen{image};
  int line_number = 0;
  while (!source.empty()) {
    ++line_number;
    const std::size_t newline = source.find('\n');
    std::string_view line = source.substr(0, newline);
    source.remove_prefix(newline == std::string_view::npos ? source.size() : newline + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    std::size_t first = 0;
    while (first < line.size() && is_blank(line[first])) ++first;
    if (first == line.size() || line[first] == '#') continue;
    try {
      run_draw_command(pen, line);
    } catch (const std::runtime_error& e) {
      throw DescriptionError(file_name + ":" + std::to_string(line_number) + ": " + e.what());
    } catch (const std::invalid_argument& e) {
      throw DescriptionError(file_name + ":" + std::to_string(line_number) + ": " + e.what());
    }
  }
}

std::string read_description_file(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    throw DescriptionError("cannot read '" + path + "': " + std::strerror(errno));
  }
  std::string text;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  const int read_errno = errno;
  std::fclose(file);
  if (failed) throw DescriptionError("cannot read '" + path + "': " + std::strerror(read_errno));
  return text;
}

}  // namespace assetgen
