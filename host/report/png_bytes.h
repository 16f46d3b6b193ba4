#pragma once
// A picture as the bytes of a PNG file, kept in memory for the report page.
// Native build only, like the PNG files (render/png_writer.h).
#include <cstdint>
#include <vector>

#include "host/render/image.h"

namespace host::report {

// Throws HostError when the picture is empty or the build has no PNG library.
std::vector<uint8_t> png_bytes(const render::Image& image);

}  // namespace host::report
