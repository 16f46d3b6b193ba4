// Reading a gauge module's records from its bytes: what a sound module
// shows, and how damaged chains, lists and pointers stop the walk with a
// named error instead of a crash or an endless loop.
#include <gtest/gtest.h>

#include <functional>

#include "tests/tools/gaugeinspect/inspect_test_support.h"
#include "tests/tools/gaugeinspect/module_builder.h"
#include "tools/gaugeinspect/read_errors.h"

namespace inspect_tests {
namespace {

using gaugeinspect::Module;
using gaugeinspect::read_module;

TEST(RecordReader, ReadsEveryRecordOfASoundModule) {
  const BuiltModule built = build_module(sample_module());
  const Module m = read_module(built.file);
  ASSERT_TRUE(m.import_table);
  EXPECT_EQ(m.import_table->id, 15u);
  EXPECT_TRUE(m.import_table->services.is_null());
  ASSERT_TRUE(m.linkage);
  EXPECT_EQ(m.linkage->id, 19u);
  ASSERT_EQ(m.gauges.size(), 2u);
  const auto& g = m.gauges[0];
  EXPECT_EQ(g.name, "test");
  EXPECT_EQ(g.default_size_mm, 38u);
  ASSERT_EQ(g.elements.size(), 4u);

  struct Row {
    uint32_t type, bitmap;
    int32_t x, y;
    uint32_t flags;
    bool failure, hidden;
  };
  const Row kRows[] = {{0, 4096, 0, 0, 0x1, false, false},
                       {4, 4097, 6, 6, 0x40000007, false, true},
                       {4, 4098, 5, 5, 0x40000007, true, true},
                       {1, 4099, 23, 23, 0x3, true, false}};
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE("element " + std::to_string(i));
    const auto& e = g.elements[i];
    EXPECT_EQ(e.type, kRows[i].type);
    EXPECT_EQ(e.bitmap_id, kRows[i].bitmap);
    EXPECT_EQ(e.x, kRows[i].x);
    EXPECT_EQ(e.y, kRows[i].y);
    EXPECT_EQ(e.image_flags, kRows[i].flags);
    EXPECT_EQ(e.failure_list.is_null(), !kRows[i].failure);
    EXPECT_EQ(e.hidden(), kRows[i].hidden);
    EXPECT_EQ(e.gauge.target.value_or(0), built.gauges[0]);
    EXPECT_EQ(e.next.size(), i + 1 < 4 ? 1u : 0u);
    EXPECT_TRUE(e.error.empty()) << e.error;
  }
  EXPECT_EQ(g.elements[1].icon_word, 2u);
  const auto& needle = g.elements[3];
  EXPECT_EQ(needle.pivot_x, 2);
  EXPECT_EQ(needle.pivot_y, 8);
  EXPECT_EQ(needle.source.token, 73u);
  ASSERT_EQ(needle.entries.size(), 3u);
  EXPECT_EQ(needle.entries[1].x, 43);
  EXPECT_EQ(needle.entries[1].value, 15.24);
  EXPECT_FALSE(needle.callback.is_null());

  ASSERT_EQ(g.mouse.size(), 4u);
  EXPECT_EQ(g.mouse[1].width, 46);
  EXPECT_EQ(g.mouse[1].cursor, 5);
  EXPECT_EQ(g.mouse[1].mouse_flags, 0x20000000u);
  ASSERT_EQ(m.failure_lists.size(), 1u);
  EXPECT_EQ(m.failure_lists[0].used_by, (std::vector<std::string>{"test/2", "test/3"}));
  EXPECT_TRUE(gaugeinspect::read_errors(m).empty()) << joined_lines(gaugeinspect::read_errors(m));
}

// Each row damages the sample module; reading must still end, keep what
// comes before the damage and name it.
TEST(RecordReader, StopsAtDamageAndNamesIt) {
  struct Row {
    const char* name;
    std::function<void(BuiltModule&)> damage;
    size_t elements_read;  // of gauge "test"
    const char* error;
  };
  const Row kRows[] = {
      {"undamaged", [](BuiltModule&) {}, 4, ""},
      {"chain loops back to the first element",
       [](BuiltModule& m) { m.set_pointer(m.next_lists[0][2], m.elements[0][0]); }, 3,
       "element 2 leads back to element 0: the chain loops"},
      {"element points at itself",
       [](BuiltModule& m) { m.set_pointer(m.next_lists[0][0], m.elements[0][0]); }, 1,
       "element 0 leads back to element 0"},
      {"next element outside the image",
       [](BuiltModule& m) { m.set_u32(m.next_lists[0][1], 0x7FFFFFF0); }, 2,
       "lies outside the image"},
      {"next element pointer below the image base",
       [](BuiltModule& m) { m.set_u32(m.next_lists[0][0], 0x10); }, 1, "lies outside the image"},
      {"next-element list without its null",
       [](BuiltModule& m) { m.set_u32(m.next_lists[0][0] + 4, 0xFFFFFFFF); }, 1,
       "is not relocated, so it is no pointer"},
      {"needle table count past its cap",
       [](BuiltModule& m) { m.set_u32(m.elements[0][3] + 116, 0x10000000); }, 4,
       "needle table count 268435456 exceeds 4096"},
      {"needle table count past the section",
       [](BuiltModule& m) { m.set_u32(m.elements[0][3] + 116, 4000); }, 4,
       "run past the end of section"},
      {"gauge name outside the image",
       [](BuiltModule& m) { m.set_u32(m.gauges[0] + 4, 0x7FFFFFF0); }, 0,
       "gauge 0: name: pointer 0x7ffffff0 lies outside the image"},
      // Read as a header of another version: nothing past it is followed.
      {"gauge list pointing at another record",
       [](BuiltModule& m) { m.set_pointer(m.linkage + 24, m.import_table); }, 0, ""},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    BuiltModule built = build_module(sample_module());
    row.damage(built);
    const Module m = read_module(built.file);
    ASSERT_LE(m.gauges.size(), 2u);
    if (m.gauges.empty()) continue;
    EXPECT_EQ(m.gauges[0].elements.size(), row.elements_read);
    const auto errors = gaugeinspect::read_errors(m);
    if (std::string(row.error).empty()) {
      continue;
    }
    EXPECT_TRUE(has_line_containing(errors, row.error)) << joined_lines(errors);
    // The other gauge is read in full whatever happened to the first.
    EXPECT_EQ(m.gauges[1].elements.size(), 2u);
  }
}

TEST(RecordReader, AFieldIsAPointerOnlyWhereTheRelocationTableSaysSo) {
  ModulePlan plan = sample_module();
  BuiltModule built = build_module(plan);
  // An icon's token field holds what looks like an address inside the image;
  // no relocation lists it, so it stays a number.
  const uint32_t looks_like_address = kImageBase + built.gauges[0];
  built.set_u32(built.elements[0][1] + 60, looks_like_address);
  const Module m = read_module(built.file);
  EXPECT_EQ(m.gauges[0].elements[1].source.token, looks_like_address);
  EXPECT_TRUE(m.gauges[0].elements[1].source.pointer.is_null());

  // And an unrelocated value where a pointer belongs is no pointer.
  BuiltModule unrelocated = build_module(plan);
  unrelocated.set_u32(unrelocated.elements[0][2] + 64, looks_like_address);  // source pointer
  const Module u = read_module(unrelocated.file);
  const auto& p = u.gauges[0].elements[2].source.pointer;
  EXPECT_FALSE(p.ok());
  EXPECT_NE(p.error.find("not relocated"), std::string::npos) << p.error;
}

TEST(RecordReader, CapsEndChainsAndListsThatNeverRepeat) {
  // 300 distinct elements in a row: more than any gauge has.
  ModulePlan plan;
  GaugePlan g{"long", 38, {}, {}};
  for (int i = 0; i < 300; ++i) g.elements.push_back({.type = 0, .bitmap = 1, .flags = 0x1});
  for (int i = 0; i < 300; ++i) g.mouse.push_back({.kind = 2, .width = 1, .height = 1});
  plan.gauges = {g};
  plan.bitmaps = {{1, 4, 4, 24}};
  const Module m = read_module(build_module(plan).file);
  ASSERT_EQ(m.gauges.size(), 1u);
  EXPECT_EQ(m.gauges[0].elements.size(), gaugeinspect::kMaxElements);
  EXPECT_NE(m.gauges[0].chain_error.find("does not end within 256"), std::string::npos);
  EXPECT_EQ(m.gauges[0].mouse.size(), gaugeinspect::kMaxMouseRects);
  EXPECT_NE(m.gauges[0].mouse_error.find("no end of list within 256"), std::string::npos);
}

}  // namespace
}  // namespace inspect_tests
