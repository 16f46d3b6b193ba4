#pragma once
// The modules' pictures as the build made them, where the native host reads
// them (bin/MODULE.bitmaps/ID.bmp), and the descriptions they were drawn
// from, all found through each module's generated bitmap header.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "assetgen_test_support.h"
#include "cabsound/cabsound_bitmaps.h"
#include "desc.h"
#include "frame/bitmap_entry.h"
#include "gpws/gpws_bitmaps.h"
#include "image.h"
#include "radalt/radalt_bitmaps.h"

namespace assetgen_test {

struct ModulePictures {
  const char* module;
  const char* description_dir;  // relative to the source tree
  std::span<const frame::BitmapEntry> bitmaps;
};

inline const ModulePictures kCabsound{cabsound::kBitmapModule, cabsound::kBitmapDescriptionDir,
                                      cabsound::kBitmaps};
inline const ModulePictures kGpws{gpws::kBitmapModule, gpws::kBitmapDescriptionDir, gpws::kBitmaps};
inline const ModulePictures kRadalt{radalt::kBitmapModule, radalt::kBitmapDescriptionDir,
                                    radalt::kBitmaps};
inline const ModulePictures kModules[] = {kCabsound, kGpws, kRadalt};

inline std::string picture_dir(const ModulePictures& m) {
  return std::string(MODULE_DIR) + "/" + m.module + ".bitmaps";
}

inline std::string picture_path(const ModulePictures& m, uint32_t id) {
  return picture_dir(m) + "/" + std::to_string(id) + ".bmp";
}

// The manifest's row of `id`; a failure, and an empty row, when there is none.
inline frame::BitmapEntry entry(const ModulePictures& m, uint32_t id) {
  for (const frame::BitmapEntry& e : m.bitmaps) {
    if (e.id == id) return e;
  }
  ADD_FAILURE() << m.module << " has no bitmap " << id;
  return {id, "", 0, 0, 0, ""};
}

// The picture as its description draws it, plain black without one.
inline assetgen::Image drawn(const ModulePictures& m, const frame::BitmapEntry& e) {
  assetgen::Image image(e.width, e.height);
  if (e.description[0] != '\0') {
    const std::string desc =
        std::string(SOURCE_ROOT) + "/" + m.description_dir + "/" + e.description;
    assetgen::draw_description(image, assetgen::read_description_file(desc), desc);
  }
  return image;
}

inline assetgen::Image drawn(const ModulePictures& m, uint32_t id) {
  return drawn(m, entry(m, id));
}

// The built 24-bit picture read back; nullopt for any other file.
inline std::optional<assetgen::Image> generated(const ModulePictures& m, uint32_t id) {
  return decode_bmp24(read_file(picture_path(m, id)));
}

}  // namespace assetgen_test
