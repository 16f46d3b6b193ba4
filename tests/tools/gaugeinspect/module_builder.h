#pragma once
// Gauge modules built in memory from a short description, laid out as our
// linker lays out the real ones: ImportTable and Linkage exported from the
// data section, every record pointer relocated, pictures and sounds as
// resources. Tests build a sound module, then break one thing in it.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/tools/gaugeinspect/pe_builder.h"

namespace inspect_tests {

struct NeedlePoint {
  int32_t x;
  int32_t y;
  double value;
};

struct ElementPlan {
  uint32_t type = 0;  // 0 static, 1 needle, 4 icon
  uint32_t bitmap = 0;
  int32_t x = 0, y = 0, pivot_x = 0, pivot_y = 0;
  uint32_t flags = 0;
  bool failure = false;
  uint32_t icon_word = 1;
  uint32_t token = 0;
  std::vector<NeedlePoint> table = {};  // needles
};

struct MousePlan {
  uint32_t kind = 0;
  int32_t x = 0, y = 0, width = 0, height = 0;
  int32_t cursor = -1;
  uint32_t flags = 0;
  bool routine = false;
};

struct GaugePlan {
  std::string name;
  uint32_t size_mm = 38;
  std::vector<ElementPlan> elements;
  std::vector<MousePlan> mouse;  // empty: no list at all
};

struct BitmapPlan {
  uint32_t id;
  int32_t width, height;
  uint16_t bits;
};

struct ModulePlan {
  std::vector<GaugePlan> gauges;
  std::vector<BitmapPlan> bitmaps;
  bool sound = true;  // a "SOUND" resource and the sound library imports
  bool sound_by_name = false;
  bool export_linkage = true;
  std::vector<std::string> extra_exports;  // each naming a word of data
};

// Where the records of a built module are, for tests that change them.
struct BuiltModule {
  Bytes file;
  uint32_t import_table = 0;
  uint32_t linkage = 0;
  std::vector<uint32_t> gauges;
  std::vector<std::vector<uint32_t>> elements;    // per gauge, in chain order
  std::vector<std::vector<uint32_t>> next_lists;  // per gauge, per element; 0 for none
  std::vector<uint32_t> mouse;                    // per gauge; 0 for none
  uint32_t failure_list = 0;                      // the one list elements share
  uint32_t first_table = 0;                       // the first needle's table

  // The file offset of a data section RVA.
  static size_t at(uint32_t rva) { return PeBuilder::kDataFileOffset + (rva - kDataRva); }
  uint32_t u32(uint32_t rva) const { return get32(file, at(rva)); }
  void set_u32(uint32_t rva, uint32_t value) { put32(file, at(rva), value); }
  // Overwrites a field that already holds a relocated pointer.
  void set_pointer(uint32_t field, uint32_t target) { set_u32(field, kImageBase + target); }
};

BuiltModule build_module(const ModulePlan& plan);

// A sound two-gauge module like ours: a push-button with a static picture,
// two hidden lamps (one with a failure list), a needle with a table and one
// click area; and a lamp gauge without click areas.
ModulePlan sample_module();

}  // namespace inspect_tests
