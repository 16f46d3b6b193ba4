#include "host/report/png_bytes.h"

#include "host/host_error.h"

#if GAUGES_HAVE_PNG
#include <png.h>

#include <cstring>
#endif

namespace host::report {

#if GAUGES_HAVE_PNG

std::vector<uint8_t> png_bytes(const render::Image& image) {
  if (image.empty()) throw HostError("cannot encode an empty picture as PNG");
  // The simplified interface: errors come back as return values, with no
  // longjmp through this code. The first call only measures.
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width());
  png.height = static_cast<png_uint_32>(image.height());
  png.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  std::vector<uint8_t> out;
  int ok = png_image_write_to_memory(&png, nullptr, &size, 0, image.data(), 0, nullptr);
  if (ok != 0) {
    out.resize(size);
    ok = png_image_write_to_memory(&png, out.data(), &size, 0, image.data(), 0, nullptr);
    out.resize(size);
  }
  const std::string why = png.message;
  png_image_free(&png);
  if (ok == 0) throw HostError("cannot encode a picture as PNG: " + why);
  return out;
}

#else

std::vector<uint8_t> png_bytes(const render::Image& /*image*/) {
  throw HostError("this build has no PNG library");
}

#endif

}  // namespace host::report
