#pragma once
// Pictures as PNG files, through libpng. A build without libpng (the Windows
// cross build) still has these functions: png_supported() says false and
// encoding throws.
#include "formats/byte_writer.h"
#include "formats/image.h"

namespace formats {

bool png_supported();

// The bytes of an 8-bit RGB PNG of the picture. Throws FormatError for an
// empty picture, when libpng fails, or when the build has no libpng.
Bytes encode_png(const Image& image);

}  // namespace formats
