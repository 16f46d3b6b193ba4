#include "file_output.h"

#include <string_view>

#include "formats/atomic_file.h"

namespace assetgen {

void write_file_atomically(const std::string& path, const Bytes& bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (auto why = formats::write_file_atomically(path, text)) {
    throw OutputError("cannot write '" + path + "': " + *why);
  }
}

}  // namespace assetgen
