#include "formats/sim_path.h"

namespace formats {

std::string sim_file_path(const std::string& root, std::string_view relative) {
  std::string name;
#if defined(_WIN32)
  if (!root.empty() && root[0] == '/') name = "Z:";
#endif
  name += root;
  if (!name.empty() && name.back() != '/' && name.back() != '\\') name += '/';
  for (char c : relative) name += c == '\\' ? '/' : c;
  return name;
}

}  // namespace formats
