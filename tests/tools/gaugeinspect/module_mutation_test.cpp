// The check on our real modules and on copies of them with one thing
// broken. The .gau files come from the Windows build, named by the
// INSPECT_GAU_DIR environment variable; without it the tests are skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "formats/pe_image.h"
#include "tests/tools/gaugeinspect/inspect_test_support.h"

namespace inspect_tests {
namespace {

using gaugeinspect::Module;

std::string gau_path(const std::string& module) {
  const char* dir = std::getenv("INSPECT_GAU_DIR");
  return dir == nullptr ? "" : std::string(dir) + "/" + module + ".gau";
}

// A real module and the places in its file the rows change.
struct Target {
  Bytes file;
  Module m;

  explicit Target(Bytes bytes) : file(bytes), m(gaugeinspect::read_module(std::move(bytes))) {}

  size_t at(uint32_t rva) const { return m.pe->file_offset(rva, 4, "mutation target"); }
  void set_u32(uint32_t rva, uint32_t value) { put32(file, at(rva), value); }
  void set_pointer(uint32_t field, uint32_t target) { set_u32(field, m.pe->image_base() + target); }
  void set_f64(uint32_t rva, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    set_u32(rva, static_cast<uint32_t>(bits));
    set_u32(rva + 4, static_cast<uint32_t>(bits >> 32));
  }
  uint32_t element(size_t gauge, size_t index) const { return m.gauges[gauge].elements[index].rva; }
};

class RealModules : public testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("INSPECT_GAU_DIR") == nullptr) GTEST_SKIP() << "INSPECT_GAU_DIR not set";
  }
};

TEST_F(RealModules, BreakNoRule) {
  for (const char* module : {"cabsound", "vrn_gpws", "vrn_radalt"}) {
    SCOPED_TRACE(module);
    const auto lines = check_bytes(formats::read_file_bytes(gau_path(module)));
    EXPECT_TRUE(lines.empty()) << joined_lines(lines);
  }
}

TEST_F(RealModules, ACopyWithOneThingBrokenBreaksThatRule) {
  struct Row {
    const char* name;
    const char* module;
    std::function<void(Target&)> mutate;
    const char* violation;
  };
  const Row kRows[] = {
      {"Linkage identifier", "cabsound", [](Target& t) { t.set_u32(t.m.linkage->rva, 18); },
       "Linkage identifier 18, expected 19"},
      {"ImportTable identifier", "vrn_gpws",
       [](Target& t) { t.set_u32(t.m.import_table->rva, 14); },
       "ImportTable identifier 14, expected 15"},
      {"gauge version", "vrn_radalt", [](Target& t) { t.set_u32(t.m.gauges[0].rva, 699); },
       "gauge 'radalt': version 699, expected 700"},
      {"chain loop", "vrn_gpws",
       [](Target& t) {
         const auto& e = t.m.gauges[0].elements[1];
         t.set_pointer(*e.next_list.target, t.element(0, 0));
       },
       "gauge 'test': element 1 leads back to element 0: the chain loops"},
      {"missing bitmap", "vrn_gpws", [](Target& t) { t.set_u32(t.element(3, 1) + 4, 4999); },
       "gauge 'fi': element 1: bitmap 4999 is no BITMAP resource"},
      {"lamp outside its button", "vrn_gpws", [](Target& t) { t.set_u32(t.element(1, 1) + 8, 30); },
       "gauge 'below': element 1: bitmap 4102 at (30,5) reaches (64,40), outside the first "
       "bitmap's 46x46"},
      {"element of another gauge", "vrn_gpws",
       [](Target& t) { t.set_pointer(t.element(0, 2) + 32, t.m.gauges[1].rva); },
       "gauge 'test': element 2: does not point back to its gauge header"},
      {"mouse list not starting with a parent", "cabsound",
       [](Target& t) { t.set_u32(*t.m.gauges[0].mouse_rects.target, 2); },
       "gauge 'XML-Sound': mouse rectangle 0 is child, expected parent"},
      {"click area without its end of parent", "vrn_radalt",
       [](Target& t) { t.set_u32(t.m.gauges[0].mouse[5].rva, 0); },
       "gauge 'radalt': mouse rectangle 5 is end_of_list, expected end_of_parent"},
      {"height table out of order", "vrn_radalt",
       [](Target& t) { t.set_f64(*t.m.gauges[0].elements[9].table.target + 24 * 3 + 8, 10.0); },
       "gauge 'radalt': element 9: needle table entry 3 does not ascend"},
      {"needle count past its cap", "vrn_radalt",
       [](Target& t) { t.set_u32(t.element(0, 7) + 116, 100000); },
       "element 7: needle table count 100000 exceeds 4096"},
      {"routine pointing into data", "vrn_gpws",
       [](Target& t) { t.set_pointer(t.m.gauges[2].rva + 24, t.m.linkage->rva); },
       "gauge 'inop': update routine points outside the code"},
      {"failure list without its end", "vrn_gpws",
       [](Target& t) {
         const uint32_t list = t.m.failure_lists[0].rva;
         t.set_u32(list + 8, 21);
         t.set_u32(list + 16, 22);
       },
       "gauge 'test': element 2: the failure list has no zero key to end it"},
      {"relocation table emptied", "cabsound",
       [](Target& t) {
         // The directory entry's size: data directory 5 of the optional header.
         const size_t opt = formats::ByteReader(t.file).u32(0x3C, "e_lfanew") + 24;
         put32(t.file, opt + 96 + 8 * 5 + 4, 0);
       },
       "is not relocated, so it is no pointer"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    Target t(formats::read_file_bytes(gau_path(row.module)));
    row.mutate(t);
    const auto lines = check_bytes(t.file);
    EXPECT_TRUE(has_line_containing(lines, row.violation)) << joined_lines(lines);
  }
}

TEST_F(RealModules, EveryCutOfAModuleEndsInAnErrorOrAReport) {
  const Bytes whole = formats::read_file_bytes(gau_path("vrn_gpws"));
  // Past the last byte a section maps, only file alignment padding is cut.
  size_t needed = 0;
  const formats::PeImage pe(whole);
  for (const auto& s : pe.sections()) {
    needed = std::max<size_t>(
        needed, size_t{s.pointer_to_raw_data} + std::min(s.size_of_raw_data, s.mapped_size()));
  }
  // Cuts through the headers, each table and the resources: none may crash
  // or hang, and a module that lost bytes it maps never passes.
  for (size_t size = 0; size < needed; size += needed / 101 + 1) {
    SCOPED_TRACE("first " + std::to_string(size) + " bytes");
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    try {
      EXPECT_FALSE(check_bytes(cut).empty());
    } catch (const std::runtime_error&) {
      // A clear error is the other good outcome.
    }
  }
}

}  // namespace
}  // namespace inspect_tests
