#pragma once
// The image's resources as a flat list: the three-level directory (type,
// name, language) walked with every offset checked against the resource
// section and a cap on the number of entries, so a directory that points
// back into itself or claims millions of entries cannot run away.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formats/pe_image.h"

namespace formats {

inline constexpr uint32_t kResourceTypeBitmap = 2;
inline constexpr size_t kMaxResources = 4096;

// A resource type or name: a number, or a string when `text` is set.
struct ResourceKey {
  bool is_text = false;
  uint32_t id = 0;
  std::string text;  // UTF-16 narrowed; characters outside ASCII become '?'

  std::string display() const { return is_text ? text : std::to_string(id); }
  bool operator==(const ResourceKey&) const = default;
};

struct Resource {
  ResourceKey type;
  ResourceKey name;
  uint32_t language = 0;
  uint32_t data_rva = 0;
  uint32_t size = 0;
  std::span<const uint8_t> data;  // the bytes in the file; empty when they do not fit
  std::string data_error;         // why `data` is empty although `size` is not
};

// Type names the format defines by number.
std::string resource_type_name(const ResourceKey& type);

// In directory order: named entries first, then numbered ones. Throws
// PeError on a directory that is not well formed.
std::vector<Resource> read_resources(const PeImage& pe);

// The first resource of numbered `type` and numbered `id` (any language), or
// null.
const Resource* find_resource(const std::vector<Resource>& resources, uint32_t type, uint32_t id);

}  // namespace formats
