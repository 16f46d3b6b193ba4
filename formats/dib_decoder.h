#pragma once
// Decodes a device-independent bitmap as a BITMAP resource holds it: the
// info header, the palette of an 8-bit picture, then the rows, bottom-up
// unless the height is negative, each padded to four bytes.
#include <cstddef>
#include <cstdint>

#include "formats/image.h"

namespace formats {

// Uncompressed 24-bit and 8-bit pictures only; anything else, and any data
// that ends early, is a FormatError starting "bitmap: " and saying what is
// wrong.
Image decode_dib(const uint8_t* data, size_t size);

}  // namespace formats
