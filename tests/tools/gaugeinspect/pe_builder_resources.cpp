// The resource section of a built image, and the bitmap and sound bytes the
// tests put in it.
#include <algorithm>
#include <cstring>

#include "tests/tools/gaugeinspect/pe_builder.h"

namespace inspect_tests {
namespace {

constexpr uint32_t kSubdirectory = 0x80000000;
constexpr uint32_t kLanguage = 1033;

// Named entries sort before numbered ones, as in a linked image.
bool key_less(const ResourceId& a, const ResourceId& b) {
  if (a.text.empty() != b.text.empty()) return !a.text.empty();
  return a.text.empty() ? a.id < b.id : a.text < b.text;
}
bool same_key(const ResourceId& a, const ResourceId& b) {
  return a.text == b.text && a.id == b.id;
}

void directory_header(Bytes& b, size_t at, const std::vector<ResourceId>& keys) {
  const auto named =
      std::count_if(keys.begin(), keys.end(), [](const ResourceId& k) { return !k.text.empty(); });
  put16(b, at + 12, static_cast<uint16_t>(named));
  put16(b, at + 14, static_cast<uint16_t>(keys.size() - named));
}

}  // namespace

Bytes PeBuilder::resource_tree(uint32_t rva) const {
  std::vector<const ResourceEntry*> sorted;
  for (const ResourceEntry& r : resources_) sorted.push_back(&r);
  std::stable_sort(sorted.begin(), sorted.end(), [](const auto* a, const auto* b) {
    if (!same_key(a->type, b->type)) return key_less(a->type, b->type);
    return key_less(a->name, b->name);
  });
  std::vector<ResourceId> types;
  for (const auto* r : sorted) {
    if (types.empty() || !same_key(types.back(), r->type)) types.push_back(r->type);
  }

  Bytes b(16 + 8 * types.size(), 0);
  directory_header(b, 0, types);
  std::vector<std::pair<size_t, std::string>> named_entries;  // entry offset, its name
  std::vector<size_t> language_entries;                       // in `sorted` order
  size_t next = 0;
  for (size_t t = 0; t < types.size(); ++t) {
    std::vector<ResourceId> names;
    for (const auto* r : sorted) {
      if (same_key(r->type, types[t])) names.push_back(r->name);
    }
    const size_t dir = b.size();
    b.resize(dir + 16 + 8 * names.size(), 0);
    directory_header(b, dir, names);
    const size_t type_entry = 16 + 8 * t;
    put32(b, type_entry, types[t].id);
    if (!types[t].text.empty()) named_entries.emplace_back(type_entry, types[t].text);
    put32(b, type_entry + 4, kSubdirectory | static_cast<uint32_t>(dir));
    for (size_t n = 0; n < names.size(); ++n, ++next) {
      const size_t lang = b.size();
      b.resize(lang + 24, 0);
      put16(b, lang + 14, 1);
      put32(b, lang + 16, kLanguage);
      language_entries.push_back(lang + 16);
      const size_t name_entry = dir + 16 + 8 * n;
      put32(b, name_entry, names[n].id);
      if (!names[n].text.empty()) named_entries.emplace_back(name_entry, names[n].text);
      put32(b, name_entry + 4, kSubdirectory | static_cast<uint32_t>(lang));
    }
  }
  std::vector<size_t> data_entries;
  for (size_t i = 0; i < sorted.size(); ++i) {
    data_entries.push_back(b.size());
    put32(b, language_entries[i] + 4, static_cast<uint32_t>(b.size()));
    b.resize(b.size() + 16, 0);
  }
  for (const auto& [entry, text] : named_entries) {
    put32(b, entry, kSubdirectory | static_cast<uint32_t>(b.size()));
    b.resize(b.size() + 2, 0);
    put16(b, b.size() - 2, static_cast<uint16_t>(text.size()));
    for (char c : text) {
      b.resize(b.size() + 2, 0);
      put16(b, b.size() - 2, static_cast<uint8_t>(c));
    }
  }
  for (size_t i = 0; i < sorted.size(); ++i) {
    b.resize((b.size() + 3) / 4 * 4, 0);
    put32(b, data_entries[i], rva + static_cast<uint32_t>(b.size()));
    put32(b, data_entries[i] + 4, static_cast<uint32_t>(sorted[i]->data.size()));
    b.insert(b.end(), sorted[i]->data.begin(), sorted[i]->data.end());
  }
  return b;
}

Bytes bitmap_resource(int32_t width, int32_t height, uint16_t bits, uint32_t palette) {
  const uint32_t abs_height = static_cast<uint32_t>(height < 0 ? -height : height);
  const uint32_t stride = (static_cast<uint32_t>(width) * bits + 31) / 32 * 4;
  Bytes b(40 + 4 * palette + stride * abs_height, 0);
  put32(b, 0, 40);
  put32(b, 4, static_cast<uint32_t>(width));
  put32(b, 8, static_cast<uint32_t>(height));
  put16(b, 12, 1);
  put16(b, 14, bits);
  put32(b, 32, palette);
  for (uint32_t i = 0; i < palette; ++i) {
    const auto grey = static_cast<uint8_t>(i);
    b[40 + 4 * i] = b[41 + 4 * i] = b[42 + 4 * i] = grey;
  }
  return b;
}

Bytes wave_file(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t data_bytes) {
  Bytes b(44 + data_bytes, 0);
  std::memcpy(b.data(), "RIFF", 4);
  put32(b, 4, 36 + data_bytes);
  std::memcpy(b.data() + 8, "WAVEfmt ", 8);
  put32(b, 16, 16);
  put16(b, 20, 1);
  put16(b, 22, channels);
  put32(b, 24, rate);
  const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
  put32(b, 28, rate * block);
  put16(b, 32, block);
  put16(b, 34, bits);
  std::memcpy(b.data() + 36, "data", 4);
  put32(b, 40, data_bytes);
  return b;
}

}  // namespace inspect_tests
