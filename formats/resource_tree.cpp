#include "formats/resource_tree.h"

#include <algorithm>

namespace formats {
namespace {

constexpr uint32_t kDirectoryBytes = 16;
constexpr uint32_t kEntryBytes = 8;
constexpr uint32_t kDataEntryBytes = 16;
constexpr uint32_t kHighBit = 0x80000000;
constexpr int kLanguageLevel = 2;
// Every level of every resource counts, so three levels of a full tree fit.
constexpr size_t kMaxEntriesVisited = 3 * kMaxResources;

class Walker {
 public:
  Walker(const PeImage& pe, const PeDataDirectory& dir) : pe_(pe) {
    const PeSection* s = pe.section_at(dir.virtual_address);
    if (s == nullptr) throw PeError("resource directory is in no section");
    const uint64_t backed = std::min<uint64_t>(s->size_of_raw_data, s->mapped_size());
    const uint64_t into = dir.virtual_address - s->virtual_address;
    if (into >= backed) throw PeError("resource directory lies past its section's file data");
    // Offsets in the tree count from the directory's start and may reach to
    // the end of its section's file data.
    tree_ = ByteReader(
        ByteReader(pe.file_bytes())
            .bytes(uint64_t{s->pointer_to_raw_data} + into, backed - into, "resource section"));
  }

  void walk(uint32_t offset, int level, Resource partial) {
    const uint16_t named = tree_.u16(uint64_t{offset} + 12, "resource directory NumberOfNamed");
    const uint16_t ids = tree_.u16(uint64_t{offset} + 14, "resource directory NumberOfId");
    const uint32_t count = uint32_t{named} + ids;
    tree_.require(uint64_t{offset} + kDirectoryBytes, uint64_t{count} * kEntryBytes,
                  "resource directory entries");
    for (uint32_t i = 0; i < count; ++i) {
      if (++visited_ > kMaxEntriesVisited) {
        throw PeError("resource directory has more than " + std::to_string(kMaxEntriesVisited) +
                      " entries");
      }
      const uint64_t at = uint64_t{offset} + kDirectoryBytes + uint64_t{i} * kEntryBytes;
      const uint32_t name = tree_.u32(at, "resource entry Name");
      const uint32_t target = tree_.u32(at + 4, "resource entry OffsetToData");
      const ResourceKey key = key_of(name);
      Resource r = partial;
      if (level == 0) r.type = key;
      if (level == 1) r.name = key;
      if (level == kLanguageLevel) r.language = key.id;
      const bool subdirectory = (target & kHighBit) != 0;
      if (subdirectory != (level < kLanguageLevel)) {
        throw PeError("resource tree entry at level " + std::to_string(level) + " points to a " +
                      (subdirectory ? "directory" : "data entry"));
      }
      if (subdirectory) {
        walk(target & ~kHighBit, level + 1, r);
      } else {
        add(target, std::move(r));
      }
    }
  }

  std::vector<Resource> take() { return std::move(found_); }

 private:
  ResourceKey key_of(uint32_t name) const {
    ResourceKey key;
    if ((name & kHighBit) == 0) {
      key.id = name;
      return key;
    }
    key.is_text = true;
    const uint64_t at = name & ~kHighBit;
    const uint16_t length = tree_.u16(at, "resource name length");
    tree_.require(at + 2, uint64_t{length} * 2, "resource name");
    for (uint32_t c = 0; c < length; ++c) {
      const uint16_t unit = tree_.u16(at + 2 + uint64_t{c} * 2, "resource name");
      key.text.push_back(unit >= 0x20 && unit < 0x7F ? static_cast<char>(unit) : '?');
    }
    return key;
  }

  void add(uint32_t entry, Resource r) {
    if (found_.size() >= kMaxResources) {
      throw PeError("more than " + std::to_string(kMaxResources) + " resources");
    }
    tree_.require(entry, kDataEntryBytes, "resource data entry");
    r.data_rva = tree_.u32(entry, "resource data OffsetToData");
    r.size = tree_.u32(uint64_t{entry} + 4, "resource data Size");
    try {
      const uint64_t at = pe_.file_offset(r.data_rva, r.size, "resource data");
      r.data = pe_.file_bytes().subspan(static_cast<size_t>(at), r.size);
    } catch (const std::runtime_error& e) {
      r.data_error = e.what();
    }
    found_.push_back(std::move(r));
  }

  const PeImage& pe_;
  ByteReader tree_{{}};
  size_t visited_ = 0;
  std::vector<Resource> found_;
};

}  // namespace

std::string resource_type_name(const ResourceKey& type) {
  if (type.is_text) return type.text;
  switch (type.id) {
    case 1:
      return "CURSOR";
    case 2:
      return "BITMAP";
    case 3:
      return "ICON";
    case 4:
      return "MENU";
    case 5:
      return "DIALOG";
    case 6:
      return "STRING";
    case 10:
      return "RCDATA";
    case 14:
      return "GROUP_ICON";
    case 16:
      return "VERSION";
    case 24:
      return "MANIFEST";
    default:
      return "#" + std::to_string(type.id);
  }
}

std::vector<Resource> read_resources(const PeImage& pe) {
  const std::optional<PeDataDirectory> dir = pe.directory(kDirectoryResource);
  if (!dir) return {};
  Walker walker(pe, *dir);
  walker.walk(0, 0, Resource{});
  return walker.take();
}

const Resource* find_resource(const std::vector<Resource>& resources, uint32_t type, uint32_t id) {
  for (const Resource& r : resources) {
    if (!r.type.is_text && r.type.id == type && !r.name.is_text && r.name.id == id) return &r;
  }
  return nullptr;
}

}  // namespace formats
