#pragma once
// Whole-file output for build steps: the destination either keeps its old
// content or gets the complete new one, never a torn write that a later
// incremental build would take for up to date.
#include <stdexcept>
#include <string>

#include "formats/byte_writer.h"

namespace assetgen {

using formats::Bytes;

struct OutputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Writes path + ".tmp", then renames it over path. On failure the temporary
// file is removed and OutputError says why.
void write_file_atomically(const std::string& path, const Bytes& bytes);

}  // namespace assetgen
