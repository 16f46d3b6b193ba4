#pragma once
// Builds small 32-bit PE images in memory for the reader's tests: a code
// section, a data section the test fills, and the export, import, resource
// and relocation tables made from what the test adds. Pointers the test
// writes with put_pointer() are listed in the relocation table, as a linker
// would.
#include <cstdint>
#include <string>
#include <vector>

namespace inspect_tests {

using Bytes = std::vector<uint8_t>;

inline constexpr uint32_t kImageBase = 0x10000000;
inline constexpr uint32_t kTextRva = 0x1000;
inline constexpr uint32_t kTextBytes = 0x200;
inline constexpr uint32_t kDataRva = 0x2000;
inline constexpr uint32_t kMaxDataBytes = 0x10000;

void put16(Bytes& b, size_t at, uint16_t v);
void put32(Bytes& b, size_t at, uint32_t v);
uint32_t get32(const Bytes& b, size_t at);

struct ResourceId {
  uint32_t id = 0;
  std::string text;  // a name instead of a number when set
};

class PeBuilder {
 public:
  // Appends `size` zero bytes to the data section, 8-byte aligned; returns their RVA.
  uint32_t reserve(uint32_t size);
  uint32_t add_string(const std::string& text);
  void put_u32(uint32_t rva, uint32_t value);
  void put_f64(uint32_t rva, double value);
  // The address of `target` at `field`, listed as a relocation.
  void put_pointer(uint32_t field, uint32_t target);
  void add_relocation(uint32_t rva) { relocations_.push_back(rva); }

  void add_export(const std::string& name, uint32_t rva) { exports_.push_back({name, rva}); }
  void add_import(const std::string& dll, std::vector<uint16_t> ordinals,
                  std::vector<std::string> names = {}) {
    imports_.push_back({dll, std::move(ordinals), std::move(names)});
  }
  void add_resource(ResourceId type, ResourceId name, Bytes data) {
    resources_.push_back({std::move(type), std::move(name), std::move(data)});
  }

  // The whole file. Section file offsets follow the headers in order:
  // .text, .data, then the tables that are not empty.
  Bytes build() const;
  // Where the data section's bytes start in the built file.
  static constexpr uint32_t kDataFileOffset = 0x400 + kTextBytes;

 private:
  struct Export {
    std::string name;
    uint32_t rva;
  };
  struct Import {
    std::string dll;
    std::vector<uint16_t> ordinals;
    std::vector<std::string> names;
  };
  struct ResourceEntry {
    ResourceId type;
    ResourceId name;
    Bytes data;
  };

  Bytes resource_tree(uint32_t rva) const;

  Bytes data_;
  std::vector<uint32_t> relocations_;
  std::vector<Export> exports_;
  std::vector<Import> imports_;
  std::vector<ResourceEntry> resources_;
};

// A BITMAP resource's bytes: an info header and zeroed pixels, with a grey
// palette of `palette` entries.
Bytes bitmap_resource(int32_t width, int32_t height, uint16_t bits, uint32_t palette = 0);
// A RIFF WAVE file of PCM silence.
Bytes wave_file(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t data_bytes);

}  // namespace inspect_tests
