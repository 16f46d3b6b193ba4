// The records cabsound.gau exports, read byte for byte from the module as
// Windows loads it. Every dword of every record is checked: those a row names
// against the row, all others against zero. The bytes are read at fixed
// offsets, not through the module's own record types, so a layout mistake in
// those types shows up here. No gauge routine is called: until a host writes
// the service table pointer, none of them could run.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cabsound/cabsound_bitmaps.h"
#include "tests/wine/loaded_gau.h"

namespace wine_tests {
namespace {

enum class Want {
  kValue,        // exactly `value`
  kRoutine,      // nonzero, inside a code section of the module
  kDataPointer,  // nonzero, inside a data section of the module
};

struct Row {
  uint32_t offset;
  const char* field;
  Want want;
  uint32_t value = 0;
};

struct Record {
  std::string name;
  uint32_t address;
  uint32_t size;
  std::vector<Row> rows;
};

Row value(uint32_t offset, const char* field, uint32_t v) {
  return {offset, field, Want::kValue, v};
}
Row routine(uint32_t offset, const char* field) {
  return {offset, field, Want::kRoutine};
}
Row pointer(uint32_t offset, const char* field) {
  return {offset, field, Want::kDataPointer};
}

std::string hex(uint32_t v) {
  char text[11];
  snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(v));
  return text;
}

void check_record(const ImageMemory& mem, const Record& record) {
  SCOPED_TRACE(record.name + " at " + hex(record.address));
  ASSERT_TRUE(mem.in_data(record.address, record.size)) << "not in a data section of the module";
  std::map<uint32_t, Row> by_offset;
  for (const Row& row : record.rows) {
    ASSERT_EQ(row.offset % 4, 0u) << row.field;
    ASSERT_LT(row.offset, record.size) << row.field;
    ASSERT_TRUE(by_offset.emplace(row.offset, row).second) << row.field << " listed twice";
  }
  for (uint32_t offset = 0; offset < record.size; offset += 4) {
    const uint32_t got = mem.dword(record.address + offset);
    const auto it = by_offset.find(offset);
    if (it == by_offset.end()) {
      SCOPED_TRACE("+" + std::to_string(offset) + " (reserved)");
      EXPECT_EQ(got, 0u);
      continue;
    }
    const Row& row = it->second;
    SCOPED_TRACE("+" + std::to_string(offset) + " " + row.field);
    switch (row.want) {
      case Want::kValue:
        EXPECT_EQ(got, row.value) << hex(got) << " instead of " << hex(row.value);
        break;
      case Want::kRoutine:
        EXPECT_TRUE(mem.in_code(got)) << hex(got) << " is not code of the module";
        break;
      case Want::kDataPointer:
        EXPECT_TRUE(mem.in_data(got, 1)) << hex(got) << " is not data of the module";
        break;
    }
  }
}

constexpr uint32_t kHeaderBytes = 120;
constexpr uint32_t kStaticElementBytes = 96;
constexpr uint32_t kIconElementBytes = 136;
constexpr uint32_t kNextListBytes = 8;
constexpr uint32_t kMouseRectBytes = 44;
constexpr uint32_t kMouseRectCount = 4;
constexpr uint32_t kNone = 0xFFFFFFFF;  // cursor -1: no cursor of its own

class CabsoundRecords : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gau_.loaded()) << cabsound_gau_path() << ": error " << gau_.load_error();
    ASSERT_NO_THROW(mem_.emplace(gau_.base(), cabsound_image()));
    import_table_ = gau_.symbol("ImportTable");
    linkage_ = gau_.symbol("Linkage");
    ASSERT_NE(import_table_, 0u);
    ASSERT_NE(linkage_, 0u);
    ASSERT_TRUE(follow(linkage_ + 24, kHeaderBytes, header_)) << "Linkage +24 gauge header";
  }

  // Reads the pointer at `at` into `target` when it points at `size` bytes
  // of module data.
  bool follow(uint32_t at, uint32_t size, uint32_t& target) const {
    if (!mem_->in_data(at, 4)) return false;
    target = mem_->dword(at);
    return mem_->in_data(target, size);
  }

  LoadedGau gau_{cabsound_gau_path()};
  std::optional<ImageMemory> mem_;
  uint32_t import_table_ = 0;
  uint32_t linkage_ = 0;
  uint32_t header_ = 0;
};

TEST_F(CabsoundRecords, ImportTableAndLinkage) {
  ASSERT_TRUE(mem_->in_data(linkage_ + 4, 4));
  const uint32_t init = mem_->dword(linkage_ + 4);
  const Record kRecords[] = {
      // The service table pointer stays null until a host writes it.
      {"ImportTable", import_table_, 16, {value(0, "id", 15)}},
      {"Linkage",
       linkage_,
       32,
       {value(0, "id", 19), routine(4, "init"), value(8, "deinit (same routine as init)", init),
        value(24, "first gauge header", header_)}},
  };
  for (const Record& r : kRecords) check_record(*mem_, r);
}

TEST_F(CabsoundRecords, GaugeHeader) {
  const Record header{
      "gauge header",
      header_,
      kHeaderBytes,
      {value(0, "version", 700), pointer(4, "name"), pointer(8, "element list variable"),
       routine(12, "query"), routine(16, "install"), routine(20, "initialize"),
       routine(24, "update"), routine(28, "generate"), routine(32, "draw"), routine(36, "kill"),
       value(44, "default size mm", 20), pointer(80, "mouse rectangles"), routine(84, "callback")}};
  check_record(*mem_, header);

  EXPECT_EQ(mem_->c_string(mem_->dword(header_ + 4)), std::optional<std::string>("XML-Sound"));

  std::set<uint32_t> routines;
  for (uint32_t offset = 12; offset <= 36; offset += 4)
    routines.insert(mem_->dword(header_ + offset));
  EXPECT_EQ(routines.size(), 7u) << "the element-list routines share addresses";
}

TEST_F(CabsoundRecords, ElementChain) {
  uint32_t first_var = 0, e0 = 0, next0 = 0, e1 = 0, next1 = 0, e2 = 0;
  ASSERT_TRUE(follow(header_ + 8, 4, first_var)) << "header +8";
  ASSERT_TRUE(follow(first_var, kStaticElementBytes, e0)) << "element list variable";
  ASSERT_TRUE(follow(e0 + 40, kNextListBytes, next0)) << "element 0 +40";
  ASSERT_TRUE(follow(next0, kIconElementBytes, e1)) << "element 0 next list";
  ASSERT_TRUE(follow(e1 + 40, kNextListBytes, next1)) << "element 1 +40";
  ASSERT_TRUE(follow(next1, kIconElementBytes, e2)) << "element 1 next list";
  EXPECT_EQ((std::set<uint32_t>{e0, e1, e2}).size(), 3u) << "the chain loops";

  const Record kRecords[] = {
      {"element 0 (background)",
       e0,
       kStaticElementBytes,
       {value(0, "type static", 0), value(4, "bitmap", cabsound::kBitmapBackground),
        value(32, "gauge", header_), pointer(40, "next list"), value(48, "image flags", 0x3)}},
      {"element 0 next list", next0, kNextListBytes, {pointer(0, "element 1")}},
      {"element 1 (icon)",
       e1,
       kIconElementBytes,
       {value(0, "type icon", 4), value(4, "bitmap", cabsound::kBitmapIcon),
        value(32, "gauge", header_), pointer(40, "next list"), value(48, "image flags", 0x3),
        value(112, "icon word", 1)}},
      {"element 1 next list", next1, kNextListBytes, {pointer(0, "element 2")}},
      {"element 2 (hidden icon, end of chain)",
       e2,
       kIconElementBytes,
       {value(0, "type icon", 4), value(4, "bitmap", cabsound::kBitmapIconHidden),
        value(32, "gauge", header_), value(48, "image flags", 0x40000003),
        value(112, "icon word", 1)}},
  };
  for (const Record& r : kRecords) check_record(*mem_, r);
}

TEST_F(CabsoundRecords, MouseRectangles) {
  uint32_t mouse = 0;
  ASSERT_TRUE(follow(header_ + 80, kMouseRectCount * kMouseRectBytes, mouse)) << "header +80";
  constexpr uint32_t kChild = kMouseRectBytes;
  constexpr uint32_t kEndOfParent = 2 * kMouseRectBytes;
  constexpr uint32_t kEndOfList = 3 * kMouseRectBytes;
  const Record list{
      "mouse rectangles",
      mouse,
      kMouseRectCount * kMouseRectBytes,
      {value(0, "parent: kind", 1), value(20, "parent: cursor", kNone),
       value(kChild + 0, "child: kind", 2), value(kChild + 12, "child: width", 43),
       value(kChild + 16, "child: height", 73), value(kChild + 20, "child: cursor", 1),
       value(kChild + 28, "child: flags left single", 0x20000000),
       routine(kChild + 36, "child: routine"), value(kEndOfParent + 0, "end of parent: kind", 3),
       value(kEndOfParent + 20, "end of parent: cursor", kNone),
       value(kEndOfList + 0, "end of list: kind", 0),
       value(kEndOfList + 20, "end of list: cursor", kNone)}};
  check_record(*mem_, list);
}

}  // namespace
}  // namespace wine_tests
