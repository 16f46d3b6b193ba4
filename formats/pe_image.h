#pragma once
// A reader for the file bytes of a 32-bit PE module (.gau, .dll, .exe): its
// sections, exports and imports. It trusts no offset or count in the file;
// anything that points outside the file or a section throws PeError.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "formats/byte_reader.h"

namespace formats {

struct PeError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline constexpr uint32_t kScnCntCode = 0x00000020;
inline constexpr uint32_t kScnCntInitializedData = 0x00000040;
inline constexpr uint32_t kScnCntUninitializedData = 0x00000080;
inline constexpr uint32_t kScnMemExecute = 0x20000000;
inline constexpr uint32_t kScnMemRead = 0x40000000;
inline constexpr uint32_t kScnMemWrite = 0x80000000;

struct PeSection {
  std::string name;
  uint32_t virtual_size = 0;
  uint32_t virtual_address = 0;
  uint32_t size_of_raw_data = 0;
  uint32_t pointer_to_raw_data = 0;
  uint32_t characteristics = 0;

  uint32_t mapped_size() const { return virtual_size != 0 ? virtual_size : size_of_raw_data; }
  bool contains_rva(uint32_t rva) const {
    return rva >= virtual_address && rva - virtual_address < mapped_size();
  }
  bool executable() const { return (characteristics & (kScnMemExecute | kScnCntCode)) != 0; }
  bool writable() const { return (characteristics & kScnMemWrite) != 0; }
  // Holds data and nothing the processor may run.
  bool data() const {
    return !executable() &&
           (characteristics & (kScnCntInitializedData | kScnCntUninitializedData)) != 0;
  }
};

struct PeExport {
  std::string name;  // empty for an export by ordinal only
  uint32_t ordinal = 0;
  uint32_t rva = 0;
  std::string section;  // empty when the address lies in no section
  bool in_data_section = false;
  bool forwarder = false;
};

// One entry of an import lookup table: by ordinal, or by name.
struct PeImportThunk {
  bool by_ordinal = false;
  uint16_t ordinal = 0;
  std::string name;
};

struct PeImportedDll {
  std::string dll;
  std::vector<uint16_t> ordinals;  // imports by ordinal, in table order
  std::vector<std::string> names;  // imports by name, in table order
  std::vector<PeImportThunk> thunks;  // both, in table order
  uint32_t address_table_rva = 0;     // FirstThunk: where the loader writes the addresses
};

struct PeDataDirectory {
  uint32_t virtual_address = 0;
  uint32_t size = 0;
};

inline constexpr uint32_t kDirectoryExport = 0;
inline constexpr uint32_t kDirectoryImport = 1;
inline constexpr uint32_t kDirectoryResource = 2;
inline constexpr uint32_t kDirectoryBaseRelocation = 5;
inline constexpr uint32_t kDirectoryTls = 9;
inline constexpr uint16_t kMachineI386 = 0x14c;

class PeImage {
 public:
  // Throws PeError (or ByteRangeError) when the bytes are not a well-formed
  // 32-bit PE image.
  explicit PeImage(std::vector<uint8_t> file);

  uint16_t machine() const { return machine_; }
  // Where the image asks to be loaded; absolute addresses in it assume this.
  uint32_t image_base() const { return image_base_; }
  uint32_t size_of_image() const { return size_of_image_; }
  // The headers' bytes a loader maps at the image base (the runtime reads them).
  uint32_t size_of_headers() const { return size_of_headers_; }
  uint32_t section_alignment() const { return section_alignment_; }
  // The DLL's entry point (DllMain); 0 when it has none.
  uint32_t entry_point_rva() const { return entry_point_rva_; }
  std::span<const uint8_t> file_bytes() const { return file_; }
  const std::vector<PeSection>& sections() const { return sections_; }
  const std::vector<PeExport>& exports() const { return exports_; }
  const std::vector<PeImportedDll>& imports() const { return imports_; }

  const PeSection* section_at(uint32_t rva) const;
  // The file offset of `length` bytes at `rva`; throws unless the file holds them.
  uint64_t file_offset(uint32_t rva, uint64_t length, const char* what) const;
  // nullopt when the image has no such directory or it is empty.
  std::optional<PeDataDirectory> directory(uint32_t index) const;

 private:
  ByteReader reader() const { return ByteReader(file_); }
  uint32_t u32_at_rva(uint32_t rva, const char* what) const;
  std::string string_at_rva(uint32_t rva, const char* what) const;

  void read_headers();
  void read_exports();
  void read_imports();

  std::vector<uint8_t> file_;
  uint16_t machine_ = 0;
  uint32_t image_base_ = 0;
  uint32_t size_of_image_ = 0;
  uint32_t size_of_headers_ = 0;
  uint32_t section_alignment_ = 0;
  uint32_t entry_point_rva_ = 0;
  std::vector<PeDataDirectory> directories_;
  std::vector<PeSection> sections_;
  std::vector<PeExport> exports_;
  std::vector<PeImportedDll> imports_;
};

// The whole file; throws PeError when it cannot be read.
std::vector<uint8_t> read_file_bytes(const std::string& path);

}  // namespace formats
