// The relocation and resource tables of a built image: read back as built,
// and a malformed table refused with its fault named, never walked past
// its bytes or round in circles.
#include <gtest/gtest.h>

#include <functional>

#include "formats/base_relocations.h"
#include "formats/resource_tree.h"
#include "tests/tools/gaugeinspect/inspect_test_support.h"
#include "tests/tools/gaugeinspect/pe_builder.h"
#include "tools/gaugeinspect/image_view.h"

namespace inspect_tests {
namespace {

using formats::BaseRelocations;
using formats::PeImage;

// Where a section's bytes start in the file.
size_t section_offset(const Bytes& file, const std::string& name) {
  const PeImage pe(file);
  for (const auto& s : pe.sections()) {
    if (s.name == name) return s.pointer_to_raw_data;
  }
  throw std::runtime_error("no section " + name);
}

PeBuilder image_with_pointers() {
  PeBuilder pe;
  const uint32_t a = pe.reserve(16);
  pe.put_pointer(a, a + 8);
  pe.put_pointer(a + 4, kTextRva);
  pe.put_u32(a + 8, kImageBase + a);  // looks like an address, is not relocated
  pe.add_relocation(0x3004);          // a second page
  return pe;
}

TEST(BaseRelocations, ListsExactlyTheRelocatedFields) {
  const Bytes file = image_with_pointers().build();
  const PeImage pe(file);
  const BaseRelocations relocs(pe);
  EXPECT_EQ(relocs.addresses(), (std::vector<uint32_t>{kDataRva, kDataRva + 4, 0x3004}));
  const gaugeinspect::ImageView view(pe, relocs);
  const auto record = view.record(kDataRva, 16, "test record");
  EXPECT_EQ(record.pointer(0).target, kDataRva + 8);
  EXPECT_EQ(record.pointer(4).target, kTextRva);
  EXPECT_FALSE(record.pointer(8).ok());
  EXPECT_TRUE(record.pointer(12).is_null());
  EXPECT_THROW(record.u32(13), gaugeinspect::RecordError);
}

TEST(BaseRelocations, RefusesMalformedBlocks) {
  struct Row {
    const char* name;
    std::function<void(Bytes&, size_t)> corrupt;  // at the first block
    const char* error;
  };
  const Row kRows[] = {
      {"block shorter than its header", [](Bytes& b, size_t at) { put32(b, at + 4, 4); },
       "does not fit the relocation directory"},
      {"block of odd length", [](Bytes& b, size_t at) { put32(b, at + 4, 11); },
       "does not fit the relocation directory"},
      {"block past the directory", [](Bytes& b, size_t at) { put32(b, at + 4, 0x7FFFFFF0); },
       "does not fit the relocation directory"},
      {"64-bit relocation", [](Bytes& b, size_t at) { put16(b, at + 8, 0xA000); },
       "relocation type 10 in a 32-bit image"},
  };
  const Bytes good = image_with_pointers().build();
  const size_t at = section_offset(good, ".reloc");
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    Bytes bad = good;
    row.corrupt(bad, at);
    const PeImage pe(bad);
    try {
      BaseRelocations relocs(pe);
      ADD_FAILURE() << "accepted";
    } catch (const formats::PeError& e) {
      EXPECT_NE(std::string(e.what()).find(row.error), std::string::npos) << e.what();
    }
  }
}

PeBuilder image_with_resources() {
  PeBuilder pe;
  pe.reserve(4);
  pe.add_resource({2, ""}, {4097, ""}, bitmap_resource(2, 2, 24));
  pe.add_resource({2, ""}, {4096, ""}, bitmap_resource(3, 1, 24));
  pe.add_resource({0, "SOUND"}, {0, "SOUND_OUTER"}, wave_file(1, 8000, 8, 2));
  return pe;
}

TEST(ResourceTree, ListsNamedTypesFirstThenNumbersInOrder) {
  const Bytes file = image_with_resources().build();
  const auto found = formats::read_resources(PeImage(file));
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(formats::resource_type_name(found[0].type), "SOUND");
  EXPECT_EQ(found[0].name.display(), "SOUND_OUTER");
  EXPECT_EQ(formats::resource_type_name(found[1].type), "BITMAP");
  EXPECT_EQ(found[1].name.id, 4096u);
  EXPECT_EQ(found[2].name.id, 4097u);
  for (const auto& r : found) {
    SCOPED_TRACE(r.name.display());
    EXPECT_EQ(r.language, 1033u);
    EXPECT_EQ(r.data.size(), r.size);
    EXPECT_TRUE(r.data_error.empty()) << r.data_error;
  }
}

TEST(ResourceTree, RefusesOrMarksMalformedTrees) {
  // The root lists the named type, then BITMAP; offsets count from the root.
  struct Row {
    const char* name;
    std::function<void(Bytes&, size_t)> corrupt;
    const char* error;  // thrown; empty when only a data entry is marked
  };
  const Row kRows[] = {
      {"entry counts past the section", [](Bytes& b, size_t at) { put16(b, at + 14, 0xFFFF); },
       "resource directory entries"},
      {"type entry pointing back at the root",
       [](Bytes& b, size_t at) { put32(b, at + 16 + 8 + 4, 0x80000000); }, "points to a directory"},
      {"type entry pointing at a data entry",
       [](Bytes& b, size_t at) { put32(b, at + 16 + 8 + 4, 0x20); }, "points to a data entry"},
      {"subdirectory past the section",
       [](Bytes& b, size_t at) { put32(b, at + 16 + 4, 0x80FFFFF0); },
       "resource directory NumberOf"},
      {"name string past the section", [](Bytes& b, size_t at) { put32(b, at + 16, 0x80FFFFF0); },
       "resource name length"},
  };
  const Bytes good = image_with_resources().build();
  const size_t at = section_offset(good, ".rsrc");
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    Bytes bad = good;
    row.corrupt(bad, at);
    try {
      formats::read_resources(PeImage(bad));
      ADD_FAILURE() << "accepted";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(row.error), std::string::npos) << e.what();
    }
  }
}

TEST(ResourceTree, MarksDataOutsideTheImageAndGoesOn) {
  Bytes file = image_with_resources().build();
  const auto before = formats::read_resources(PeImage(file));
  // Move the first resource's data far past every section.
  const PeImage pe(file);
  const auto rsrc = std::find_if(pe.sections().begin(), pe.sections().end(),
                                 [](const auto& s) { return s.name == ".rsrc"; });
  ASSERT_NE(rsrc, pe.sections().end());
  const size_t data_entry_offset =
      rsrc->pointer_to_raw_data + (before[0].data_rva - rsrc->virtual_address);
  bool moved = false;
  for (size_t i = rsrc->pointer_to_raw_data; i + 4 <= data_entry_offset; i += 4) {
    if (get32(file, i) == before[0].data_rva) {
      put32(file, i, 0x7FFF0000);
      moved = true;
      break;
    }
  }
  ASSERT_TRUE(moved);
  const auto after = formats::read_resources(PeImage(file));
  ASSERT_EQ(after.size(), 3u);
  EXPECT_TRUE(after[0].data.empty());
  EXPECT_NE(after[0].data_error.find("is in no section"), std::string::npos) << after[0].data_error;
  EXPECT_TRUE(after[1].data_error.empty());
}

}  // namespace
}  // namespace inspect_tests
