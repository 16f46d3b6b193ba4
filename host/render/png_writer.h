#pragma once
// PNG files of pictures. Only the native build has a PNG library; the
// Windows build has none and writes no pictures.
#include <string>

#include "host/render/image.h"

namespace host::render {

bool png_supported();

// Writes `path` through `path`.tmp and a rename, so a reader never sees
// half a file. Throws HostError when it cannot, or when the build has no
// PNG support.
void write_png(const std::string& path, const Image& image);

}  // namespace host::render
