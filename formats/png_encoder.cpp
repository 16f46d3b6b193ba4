#include "formats/png_encoder.h"

#include <string>

#include "formats/format_error.h"

#if FORMATS_HAVE_PNG
#include <png.h>

#include <cstring>
#endif

namespace formats {

#if FORMATS_HAVE_PNG

bool png_supported() {
  return true;
}

Bytes encode_png(const Image& image) {
  if (image.empty()) throw FormatError("cannot encode an empty picture as PNG");
  // The simplified interface: errors come back as return values, with no
  // longjmp through this code. One pass into a buffer of the largest size
  // the picture can take: the live panel encodes pictures many times a second.
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width());
  png.height = static_cast<png_uint_32>(image.height());
  png.format = PNG_FORMAT_RGB;
  Bytes out(PNG_IMAGE_PNG_SIZE_MAX(png));
  png_alloc_size_t size = out.size();
  int ok = png_image_write_to_memory(&png, out.data(), &size, 0, image.data(), 0, nullptr);
  out.resize(ok != 0 ? size : 0);
  const std::string why = png.message;
  png_image_free(&png);
  if (ok == 0) throw FormatError("cannot encode a picture as PNG: " + why);
  return out;
}

#else

bool png_supported() {
  return false;
}

Bytes encode_png(const Image& /*image*/) {
  throw FormatError("this build has no PNG library");
}

#endif

}  // namespace formats
