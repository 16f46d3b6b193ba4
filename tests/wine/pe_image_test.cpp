// The PE reader itself: it lists what a known library exports and refuses,
// rather than reads past, a file whose offsets or counts are wrong.
#include "formats/pe_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "tests/wine/loaded_gau.h"

namespace wine_tests {
namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, uint64_t at, uint16_t v) {
  ASSERT_LE(at + 2, b.size());
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void put32(Bytes& b, uint64_t at, uint32_t v) {
  ASSERT_LE(at + 4, b.size());
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Where the fields the corruptions aim at sit in the unchanged file.
struct Layout {
  uint64_t lfanew;
  uint64_t coff;
  uint64_t optional;
  uint64_t section_table;
  uint16_t section_count;
  uint64_t first_raw_data;
  uint64_t export_directory;
  uint64_t export_name_ordinals;
  uint64_t first_import_descriptor;
};

Layout layout_of(const Bytes& file, const PeImage& pe) {
  const ByteReader r(file);
  Layout l{};
  l.lfanew = r.u32(0x3C, "e_lfanew");
  l.coff = l.lfanew + 4;
  l.optional = l.coff + 20;
  l.section_table = l.optional + r.u16(l.coff + 16, "SizeOfOptionalHeader");
  l.section_count = r.u16(l.coff + 2, "NumberOfSections");
  l.first_raw_data = UINT64_MAX;
  for (const PeSection& s : pe.sections()) {
    if (s.size_of_raw_data != 0)
      l.first_raw_data = std::min<uint64_t>(l.first_raw_data, s.pointer_to_raw_data);
  }
  const uint32_t exports = pe.directory(kDirectoryExport).value().virtual_address;
  l.export_directory = pe.file_offset(exports, 40, "export directory");
  l.export_name_ordinals =
      pe.file_offset(r.u32(l.export_directory + 36, "AddressOfNameOrdinals"), 2, "name ordinals");
  const uint32_t imports = pe.directory(kDirectoryImport).value().virtual_address;
  l.first_import_descriptor = pe.file_offset(imports, 20, "import descriptor");
  return l;
}

TEST(PeReader, ListsTheSoundLibraryOrdinalsAsCodeExports) {
  const PeImage pe(read_file_bytes(fssound_dll_path()));
  const uint32_t kOrdinals[] = {1, 7, 13, 14};
  for (uint32_t ordinal : kOrdinals) {
    SCOPED_TRACE("ordinal " + std::to_string(ordinal));
    const auto e = std::find_if(pe.exports().begin(), pe.exports().end(),
                                [&](const PeExport& x) { return x.ordinal == ordinal; });
    ASSERT_NE(e, pe.exports().end());
    EXPECT_FALSE(e->in_data_section);
    const PeSection* s = pe.section_at(e->rva);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->executable());
  }
}

TEST(PeReader, ReadsCabsoundAsA32BitImage) {
  const PeImage& pe = cabsound_image();
  EXPECT_EQ(pe.machine(), 0x14C);  // i386
  EXPECT_GT(pe.size_of_image(), 0u);
  EXPECT_FALSE(pe.sections().empty());
}

TEST(PeReader, RefusesCorruptFiles) {
  const Bytes good = read_file_bytes(cabsound_gau_path());
  const PeImage pe(good);
  const Layout l = layout_of(good, pe);

  struct Row {
    const char* name;
    bool parses;
    std::function<void(Bytes&)> corrupt;
  };
  const Row kRows[] = {
      {"unchanged", true, [](Bytes&) {}},
      {"empty file", false, [](Bytes& b) { b.clear(); }},
      {"cut inside the DOS header", false, [](Bytes& b) { b.resize(0x20); }},
      {"no MZ signature", false, [](Bytes& b) { b[0] = 'X'; }},
      {"e_lfanew at the end of the file", false,
       [](Bytes& b) { put32(b, 0x3C, static_cast<uint32_t>(b.size())); }},
      {"e_lfanew near 4 GiB", false, [](Bytes& b) { put32(b, 0x3C, 0xFFFFFFFE); }},
      {"no PE signature", false, [&](Bytes& b) { b[l.lfanew] = 'X'; }},
      {"cut inside the COFF header", false, [&](Bytes& b) { b.resize(l.coff + 10); }},
      {"PE32+ optional header", false, [&](Bytes& b) { put16(b, l.optional, 0x20B); }},
      {"optional header shorter than its directories", false,
       [&](Bytes& b) { put16(b, l.coff + 16, 64); }},
      {"more data directories than fit", false,
       [&](Bytes& b) { put32(b, l.optional + 92, 0x10000000); }},
      {"section count past the file", false, [&](Bytes& b) { put16(b, l.coff + 2, 0xFFFF); }},
      {"cut inside the section table", false, [&](Bytes& b) { b.resize(l.section_table + 50); }},
      {"cut after the headers", false, [&](Bytes& b) { b.resize(l.first_raw_data); }},
      {"export directory in no section", false,
       [&](Bytes& b) { put32(b, l.optional + 96, 0xFFFFFF00); }},
      {"export function count past the file", false,
       [&](Bytes& b) { put32(b, l.export_directory + 20, 0x40000000); }},
      {"export name ordinal out of range", false,
       [&](Bytes& b) { put16(b, l.export_name_ordinals, 0xFFFF); }},
      {"import directory in no section", false,
       [&](Bytes& b) { put32(b, l.optional + 104, 0x7FFFFFF0); }},
      {"import DLL name in no section", false,
       [&](Bytes& b) { put32(b, l.first_import_descriptor + 12, 0xFFFFFFF0); }},
      {"import thunks in no section", false,
       [&](Bytes& b) {
         put32(b, l.first_import_descriptor + 0, 0xFFFFFFF0);
         put32(b, l.first_import_descriptor + 16, 0xFFFFFFF0);
       }},
      {"section data past the file", false,
       [&](Bytes& b) {
         for (uint16_t i = 0; i < l.section_count; ++i)
           put32(b, l.section_table + 40u * i + 20, 0xFFFFFF00);
       }},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    Bytes bytes = good;
    row.corrupt(bytes);
    if (row.parses) {
      EXPECT_NO_THROW(PeImage{bytes});
    } else {
      EXPECT_THROW(PeImage{bytes}, std::runtime_error);
    }
  }
}

}  // namespace
}  // namespace wine_tests
