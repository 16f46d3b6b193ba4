#pragma once
// Decodes a device-independent bitmap as a BITMAP resource holds it: the
// info header, the palette of an 8-bit picture, then the rows, bottom-up
// unless the height is negative, each padded to four bytes.
#include <cstddef>
#include <cstdint>

#include "host/render/image.h"

namespace host::render {

inline constexpr size_t kDibInfoHeaderBytes = 40;
inline constexpr size_t kBmpFileHeaderBytes = 14;

// Uncompressed 24-bit and 8-bit pictures only; anything else, and any data
// that ends early, is a HostError saying what is wrong.
Image decode_dib(const uint8_t* data, size_t size);

}  // namespace host::render
