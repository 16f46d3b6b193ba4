#include "host/render/png_writer.h"

#include <cstdio>

#include "host/host_error.h"

#if GAUGES_HAVE_PNG
#include <png.h>

#include <cstring>
#endif

namespace host::render {

#if GAUGES_HAVE_PNG

bool png_supported() {
  return true;
}

void write_png(const std::string& path, const Image& image) {
  if (image.empty()) throw HostError("cannot write " + path + ": the picture is empty");
  const std::string temporary = path + ".tmp";
  // The simplified interface reports errors by return value, with no
  // longjmp through this code.
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width());
  png.height = static_cast<png_uint_32>(image.height());
  png.format = PNG_FORMAT_RGB;
  const int ok = png_image_write_to_file(&png, temporary.c_str(), 0, image.data(), 0, nullptr);
  const std::string why = png.message;
  png_image_free(&png);
  if (ok == 0) {
    std::remove(temporary.c_str());
    throw HostError("cannot write " + path + ": " + why);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    throw HostError("cannot write " + path + " (renaming " + temporary + " failed)");
  }
}

#else

bool png_supported() {
  return false;
}

void write_png(const std::string& path, const Image& /*image*/) {
  throw HostError("cannot write " + path + ": this build has no PNG library");
}

#endif

}  // namespace host::render
