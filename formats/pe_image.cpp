#include "formats/pe_image.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

namespace formats {
namespace {

constexpr uint16_t kDosMagic = 0x5A4D;  // "MZ"
constexpr uint32_t kDosLfanewOffset = 0x3C;
constexpr uint32_t kCoffHeaderBytes = 20;
constexpr uint16_t kOptionalMagicPe32 = 0x10B;
constexpr uint32_t kOptionalEntryPoint = 16;
constexpr uint32_t kOptionalImageBase = 28;
constexpr uint32_t kOptionalSectionAlignment = 32;
constexpr uint32_t kOptionalSizeOfImage = 56;
constexpr uint32_t kOptionalSizeOfHeaders = 60;
constexpr uint32_t kOptionalNumberOfRvaAndSizes = 92;
constexpr uint32_t kOptionalDataDirectories = 96;
constexpr uint32_t kDataDirectoryBytes = 8;
constexpr uint32_t kSectionHeaderBytes = 40;
constexpr uint32_t kExportDirectoryBytes = 40;
constexpr uint32_t kImportDescriptorBytes = 20;
constexpr uint32_t kThunkOrdinalFlag = 0x80000000;
constexpr uint32_t kThunkOrdinalReserved = 0x7FFF0000;

std::string hex(uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return "0x" + text;
}

}  // namespace

std::vector<uint8_t> read_file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PeError("cannot open " + path);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  if (in.bad()) throw PeError("cannot read " + path);
  return bytes;
}

PeImage::PeImage(std::vector<uint8_t> file) : file_(std::move(file)) {
  read_headers();
  read_exports();
  read_imports();
}

const PeSection* PeImage::section_at(uint32_t rva) const {
  for (const PeSection& s : sections_) {
    if (s.contains_rva(rva)) return &s;
  }
  return nullptr;
}

uint64_t PeImage::file_offset(uint32_t rva, uint64_t length, const char* what) const {
  const PeSection* s = section_at(rva);
  if (s == nullptr) throw PeError(std::string(what) + ": RVA " + hex(rva) + " is in no section");
  const uint64_t into = rva - s->virtual_address;
  // Only bytes the file holds can be read from it; the rest of a section is
  // zero-filled at load time.
  const uint64_t backed = std::min<uint64_t>(s->size_of_raw_data, s->mapped_size());
  if (length > backed || into > backed - length) {
    throw PeError(std::string(what) + ": " + std::to_string(length) + " bytes at RVA " + hex(rva) +
                  " run past the file data of section " + s->name);
  }
  const uint64_t offset = uint64_t{s->pointer_to_raw_data} + into;
  reader().require(offset, length, what);
  return offset;
}

uint32_t PeImage::u32_at_rva(uint32_t rva, const char* what) const {
  return reader().u32(file_offset(rva, 4, what), what);
}

std::string PeImage::string_at_rva(uint32_t rva, const char* what) const {
  const PeSection* s = section_at(rva);
  if (s == nullptr) throw PeError(std::string(what) + ": RVA " + hex(rva) + " is in no section");
  const uint64_t backed = std::min<uint64_t>(s->size_of_raw_data, s->mapped_size());
  // Bounded by the section, so a string cannot run on into the next one.
  const ByteReader section(reader().bytes(s->pointer_to_raw_data, backed, what));
  return section.c_string(rva - s->virtual_address, what);
}

std::optional<PeDataDirectory> PeImage::directory(uint32_t index) const {
  if (index >= directories_.size()) return std::nullopt;
  const PeDataDirectory& d = directories_[index];
  if (d.virtual_address == 0 || d.size == 0) return std::nullopt;
  return d;
}

void PeImage::read_headers() {
  const ByteReader r = reader();
  if (r.u16(0, "DOS header e_magic") != kDosMagic) throw PeError("DOS header: no MZ signature");
  const uint64_t pe = r.u32(kDosLfanewOffset, "DOS header e_lfanew");
  if (r.tag(pe, "PE signature") != std::string("PE\0\0", 4)) {
    throw PeError("no PE signature at e_lfanew " + hex(pe));
  }
  const uint64_t coff = pe + 4;
  r.require(coff, kCoffHeaderBytes, "COFF header");
  machine_ = r.u16(coff + 0, "COFF header Machine");
  const uint16_t section_count = r.u16(coff + 2, "COFF header NumberOfSections");
  const uint16_t optional_size = r.u16(coff + 16, "COFF header SizeOfOptionalHeader");

  const uint64_t opt = coff + kCoffHeaderBytes;
  r.require(opt, optional_size, "optional header");
  if (optional_size < kOptionalDataDirectories) throw PeError("optional header too short");
  const uint16_t magic = r.u16(opt, "optional header Magic");
  if (magic != kOptionalMagicPe32)
    throw PeError("optional header Magic " + hex(magic) + " is not PE32");
  image_base_ = r.u32(opt + kOptionalImageBase, "optional header ImageBase");
  size_of_image_ = r.u32(opt + kOptionalSizeOfImage, "optional header SizeOfImage");
  size_of_headers_ = r.u32(opt + kOptionalSizeOfHeaders, "optional header SizeOfHeaders");
  section_alignment_ = r.u32(opt + kOptionalSectionAlignment, "optional header SectionAlignment");
  entry_point_rva_ = r.u32(opt + kOptionalEntryPoint, "optional header AddressOfEntryPoint");
  const uint32_t dir_count = r.u32(opt + kOptionalNumberOfRvaAndSizes, "NumberOfRvaAndSizes");
  if (dir_count > (optional_size - kOptionalDataDirectories) / kDataDirectoryBytes) {
    throw PeError(std::to_string(dir_count) + " data directories do not fit the optional header");
  }
  for (uint32_t i = 0; i < dir_count; ++i) {
    const uint64_t at = opt + kOptionalDataDirectories + uint64_t{i} * kDataDirectoryBytes;
    directories_.push_back(
        {r.u32(at, "data directory VirtualAddress"), r.u32(at + 4, "data directory Size")});
  }

  const uint64_t table = opt + optional_size;
  r.require(table, uint64_t{section_count} * kSectionHeaderBytes, "section table");
  for (uint16_t i = 0; i < section_count; ++i) {
    const uint64_t at = table + uint64_t{i} * kSectionHeaderBytes;
    PeSection s;
    const std::span<const uint8_t> name = r.bytes(at, 8, "section Name");
    s.name.assign(name.begin(), std::find(name.begin(), name.end(), uint8_t{0}));
    s.virtual_size = r.u32(at + 8, "section VirtualSize");
    s.virtual_address = r.u32(at + 12, "section VirtualAddress");
    s.size_of_raw_data = r.u32(at + 16, "section SizeOfRawData");
    s.pointer_to_raw_data = r.u32(at + 20, "section PointerToRawData");
    s.characteristics = r.u32(at + 36, "section Characteristics");
    sections_.push_back(std::move(s));
  }
}

void PeImage::read_exports() {
  const std::optional<PeDataDirectory> dir = directory(kDirectoryExport);
  if (!dir) return;
  const ByteReader r = reader();
  const uint64_t at = file_offset(dir->virtual_address, kExportDirectoryBytes, "export directory");
  const uint32_t base = r.u32(at + 16, "export directory Base");
  const uint32_t function_count = r.u32(at + 20, "export directory NumberOfFunctions");
  const uint32_t name_count = r.u32(at + 24, "export directory NumberOfNames");
  const uint32_t functions = r.u32(at + 28, "export directory AddressOfFunctions");
  const uint32_t names = r.u32(at + 32, "export directory AddressOfNames");
  const uint32_t name_ordinals = r.u32(at + 36, "export directory AddressOfNameOrdinals");

  const uint64_t fn_at =
      file_offset(functions, uint64_t{function_count} * 4, "export address table");
  std::vector<std::string> name_of(function_count);
  if (name_count > 0) {
    const uint64_t names_at = file_offset(names, uint64_t{name_count} * 4, "export name pointers");
    const uint64_t ords_at =
        file_offset(name_ordinals, uint64_t{name_count} * 2, "export ordinals");
    for (uint32_t j = 0; j < name_count; ++j) {
      const uint16_t index = r.u16(ords_at + uint64_t{j} * 2, "export name ordinal");
      if (index >= function_count)
        throw PeError("export name ordinal " + std::to_string(index) + " out of range");
      name_of[index] =
          string_at_rva(r.u32(names_at + uint64_t{j} * 4, "export name pointer"), "export name");
    }
  }
  for (uint32_t i = 0; i < function_count; ++i) {
    PeExport e;
    e.rva = r.u32(fn_at + uint64_t{i} * 4, "export address");
    if (e.rva == 0) continue;  // an unused ordinal
    e.name = name_of[i];
    e.ordinal = base + i;
    e.forwarder = e.rva - dir->virtual_address < dir->size;
    if (const PeSection* s = section_at(e.rva)) {
      e.section = s->name;
      e.in_data_section = s->data();
    }
    exports_.push_back(std::move(e));
  }
}

void PeImage::read_imports() {
  const std::optional<PeDataDirectory> dir = directory(kDirectoryImport);
  if (!dir) return;
  for (uint64_t k = 0;; ++k) {
    const uint64_t rva = dir->virtual_address + k * kImportDescriptorBytes;
    if (rva > UINT32_MAX) throw PeError("import descriptors run past the address space");
    const uint64_t at =
        file_offset(static_cast<uint32_t>(rva), kImportDescriptorBytes, "import descriptor");
    const ByteReader r = reader();
    const uint32_t lookup = r.u32(at + 0, "import descriptor OriginalFirstThunk");
    const uint32_t name = r.u32(at + 12, "import descriptor Name");
    const uint32_t first_thunk = r.u32(at + 16, "import descriptor FirstThunk");
    if (lookup == 0 && name == 0 && first_thunk == 0) return;
    PeImportedDll dll;
    dll.dll = string_at_rva(name, "import descriptor Name");
    dll.address_table_rva = first_thunk;
    // The lookup table keeps what the file asked for; the address table is
    // its copy that binding may have overwritten.
    const uint32_t thunks = lookup != 0 ? lookup : first_thunk;
    for (uint64_t t = 0;; ++t) {
      const uint64_t thunk_rva = thunks + t * 4;
      if (thunk_rva > UINT32_MAX) throw PeError(dll.dll + ": thunks run past the address space");
      const uint32_t thunk = u32_at_rva(static_cast<uint32_t>(thunk_rva), "import thunk");
      if (thunk == 0) break;
      if ((thunk & kThunkOrdinalFlag) != 0) {
        if ((thunk & kThunkOrdinalReserved) != 0)
          throw PeError(dll.dll + ": malformed ordinal thunk " + hex(thunk));
        dll.ordinals.push_back(static_cast<uint16_t>(thunk));
        dll.thunks.push_back({true, static_cast<uint16_t>(thunk), {}});
      } else {
        file_offset(thunk, 2, "import hint");
        dll.names.push_back(string_at_rva(thunk + 2, "import name"));
        dll.thunks.push_back({false, 0, dll.names.back()});
      }
    }
    imports_.push_back(std::move(dll));
  }
}

}  // namespace formats
