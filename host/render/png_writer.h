#pragma once
// The host's pictures as PNG, through the format library. Only the native
// build has libpng; the Windows build has none and writes no pictures.
#include <cstdint>
#include <string>
#include <vector>

#include "host/render/image.h"

namespace host::render {

bool png_supported();

// The bytes of a PNG file, kept in memory for the report page. Throws
// HostError when the picture is empty or the build has no PNG library.
std::vector<uint8_t> png_bytes(const Image& image);

// Writes `path` through `path`.tmp and a rename, so a reader never sees
// half a file. Throws HostError when it cannot, or when the build has no
// PNG support.
void write_png(const std::string& path, const Image& image);

}  // namespace host::render
