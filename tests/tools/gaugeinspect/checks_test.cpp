// The --check rules, each broken on its own in an otherwise sound module.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "tests/tools/gaugeinspect/inspect_test_support.h"
#include "tests/tools/gaugeinspect/module_builder.h"

namespace inspect_tests {
namespace {

struct Row {
  const char* name;
  std::function<void(ModulePlan&)> change_plan;
  std::function<void(BuiltModule&)> change_bytes;
  const char* violation;  // a part of the line the check must print
};

void no_plan(ModulePlan&) {}
void no_bytes(BuiltModule&) {}

TEST(Checks, ASoundModuleBreaksNoRule) {
  const auto lines = check_bytes(build_module(sample_module()).file);
  EXPECT_TRUE(lines.empty()) << joined_lines(lines);
}

TEST(Checks, EachBrokenRuleIsNamed) {
  const Row kRows[] = {
      {"ImportTable identifier", no_plan, [](BuiltModule& m) { m.set_u32(m.import_table, 14); },
       "ImportTable identifier 14, expected 15"},
      {"ImportTable closing words", no_plan,
       [](BuiltModule& m) { m.set_u32(m.import_table + 12, 1); },
       "ImportTable: its last two words are not zero"},
      {"Linkage identifier", no_plan, [](BuiltModule& m) { m.set_u32(m.linkage, 18); },
       "Linkage identifier 18, expected 19"},
      {"Linkage reserved words", no_plan, [](BuiltModule& m) { m.set_u32(m.linkage + 16, 5); },
       "Linkage: the words at +12..+20 are not zero"},
      {"Linkage init in data", no_plan,
       [](BuiltModule& m) { m.set_pointer(m.linkage + 4, m.failure_list); },
       "Linkage init points outside the code"},
      {"Linkage without gauges", [](ModulePlan& s) { s.gauges.clear(); }, no_bytes,
       "Linkage lists no gauge"},
      {"Linkage gauge zeroed", no_plan, [](BuiltModule& m) { m.set_u32(m.linkage + 24, 0); },
       "Linkage: gauge list entry 0: pointer 0x00000000 lies outside the image"},
      {"a third export", [](ModulePlan& s) { s.extra_exports = {"GetVersion"}; }, no_bytes,
       "export 'GetVersion' is neither ImportTable nor Linkage"},
      {"Linkage not exported", [](ModulePlan& s) { s.export_linkage = false; }, no_bytes,
       "no export named Linkage"},
      {"sound library by name", [](ModulePlan& s) { s.sound_by_name = true; }, no_bytes,
       "import FSSound.dll!FSSound_Stop is by name, not by ordinal"},
      {"gauge version", no_plan, [](BuiltModule& m) { m.set_u32(m.gauges[0], 699); },
       "gauge 'test': version 699, expected 700"},
      {"gauge list pointing at another record", no_plan,
       [](BuiltModule& m) { m.set_pointer(m.linkage + 24, m.import_table); },
       "gauge 0: version 15, expected 700"},
      {"default size", [](ModulePlan& s) { s.gauges[1].size_mm = 0; }, no_bytes,
       "gauge 'below': default size 0"},
      {"routine in data", no_plan,
       [](BuiltModule& m) { m.set_pointer(m.gauges[0] + 16, m.failure_list); },
       "gauge 'test': install routine points outside the code"},
      {"routine zeroed", no_plan, [](BuiltModule& m) { m.set_u32(m.gauges[0] + 36, 0); },
       "gauge 'test': kill routine: pointer 0x00000000 lies outside the image"},
      {"same gauge name twice", [](ModulePlan& s) { s.gauges[1].name = "test"; }, no_bytes,
       "another gauge has the same name"},
      {"no elements", [](ModulePlan& s) { s.gauges[1].elements.clear(); }, no_bytes,
       "gauge 'below': the element list is empty"},
      {"chain loop", no_plan,
       [](BuiltModule& m) { m.set_pointer(m.next_lists[0][1], m.elements[0][0]); },
       "gauge 'test': element 1 leads back to element 0: the chain loops"},
      {"unknown element type", no_plan, [](BuiltModule& m) { m.set_u32(m.elements[1][1], 7); },
       "gauge 'below': element 1: unknown type 7"},
      {"element of another gauge", no_plan,
       [](BuiltModule& m) { m.set_pointer(m.elements[0][1] + 32, m.gauges[1]); },
       "gauge 'test': element 1: does not point back to its gauge header"},
      {"bitmap not a resource", [](ModulePlan& s) { s.gauges[0].elements[1].bitmap = 4999; },
       no_bytes, "gauge 'test': element 1: bitmap 4999 is no BITMAP resource"},
      {"bitmap with a bad header", [](ModulePlan& s) { s.bitmaps[1].bits = 7; }, no_bytes,
       "BITMAP 4097: bit count 7"},
      {"icon past the first picture", [](ModulePlan& s) { s.gauges[0].elements[1].x = 20; },
       no_bytes,
       "gauge 'test': element 1: bitmap 4097 at (20,6) reaches (54,40), outside the first "
       "bitmap's 46x46"},
      {"icon above the first picture", [](ModulePlan& s) { s.gauges[1].elements[1].y = -1; },
       no_bytes, "gauge 'below': element 1: bitmap 4102 at (6,-1)"},
      {"failure list without its end", no_plan,
       [](BuiltModule& m) {
         m.set_u32(m.failure_list + 8, 21);
         m.set_u32(m.failure_list + 16, 22);
       },
       "gauge 'test': element 2: the failure list has no zero key to end it"},
      {"needle table out of order",
       [](ModulePlan& s) { s.gauges[0].elements[3].table[2].value = 15.0; }, no_bytes,
       "gauge 'test': element 3: needle table entry 2 does not ascend from the one before"},
      {"needle table with a repeated value",
       [](ModulePlan& s) { s.gauges[0].elements[3].table[1].value = 0.0; }, no_bytes,
       "needle table entry 1 does not ascend"},
      {"needle value not a number",
       [](ModulePlan& s) { s.gauges[0].elements[3].table[1].value = std::nan(""); }, no_bytes,
       "gauge 'test': element 3: needle table entry 1 is not a number"},
      {"needle table counted empty", no_plan,
       [](BuiltModule& m) { m.set_u32(m.elements[0][3] + 116, 0); },
       "needle table present with 0 entries"},
      {"mouse list starting with a child", no_plan,
       [](BuiltModule& m) { m.set_u32(m.mouse[0], 2); },
       "gauge 'test': mouse rectangle 0 is child, expected parent"},
      {"mouse list without end of parent", no_plan,
       [](BuiltModule& m) { m.set_u32(m.mouse[0] + 88, 0); },
       "gauge 'test': mouse rectangle 2 is end_of_list, expected end_of_parent"},
      {"mouse list with a second parent", no_plan,
       [](BuiltModule& m) { m.set_u32(m.mouse[1] + 44, 1); },
       "gauge 'below': mouse rectangle 1 is parent, expected end_of_parent"},
      {"click area without a routine", [](ModulePlan& s) { s.gauges[0].mouse[1].routine = false; },
       no_bytes, "gauge 'test': mouse rectangle 1 routine is missing"},
      {"empty click area", [](ModulePlan& s) { s.gauges[0].mouse[1].height = 0; }, no_bytes,
       "gauge 'test': mouse rectangle 1: empty box 46x0"},
  };
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    ModulePlan plan = sample_module();
    row.change_plan(plan);
    BuiltModule built = build_module(plan);
    row.change_bytes(built);
    const auto lines = check_bytes(built.file);
    EXPECT_TRUE(has_line_containing(lines, row.violation)) << joined_lines(lines);
  }
}

}  // namespace
}  // namespace inspect_tests
