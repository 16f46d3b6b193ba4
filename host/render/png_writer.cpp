#include "host/render/png_writer.h"

#include <cstdio>
#include <fstream>

#include "formats/format_error.h"
#include "formats/png_encoder.h"
#include "host/host_error.h"

namespace host::render {

bool png_supported() {
  return formats::png_supported();
}

std::vector<uint8_t> png_bytes(const Image& image) {
  try {
    return formats::encode_png(image);
  } catch (const formats::FormatError& error) {
    throw HostError(error.what());
  }
}

void write_png(const std::string& path, const Image& image) {
  if (image.empty()) throw HostError("cannot write " + path + ": the picture is empty");
  std::vector<uint8_t> bytes;
  try {
    bytes = formats::encode_png(image);
  } catch (const formats::FormatError& error) {
    throw HostError("cannot write " + path + ": " + error.what());
  }
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      throw HostError("cannot write " + path);
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    throw HostError("cannot write " + path + " (renaming " + temporary + " failed)");
  }
}

}  // namespace host::render
