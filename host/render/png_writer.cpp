#include "host/render/png_writer.h"

#include "formats/atomic_file.h"
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
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (auto why = formats::write_file_atomically(path, text)) {
    throw HostError("cannot write " + path + ": " + *why);
  }
}

}  // namespace host::render
