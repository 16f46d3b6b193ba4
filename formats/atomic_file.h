#pragma once
// Whole-file output: the destination either keeps its old content or gets the
// complete new one, never a torn write that a reader (or a later incremental
// build) would take for finished.
#include <optional>
#include <string>
#include <string_view>

namespace formats {

// Writes `bytes` to PATH.tmp, then renames it over PATH, replacing a file
// already there (std::rename would not on Windows). Returns why it failed, or
// nothing; on failure the temporary is gone and PATH is as it was.
std::optional<std::string> write_file_atomically(const std::string& path, std::string_view bytes);

}  // namespace formats
