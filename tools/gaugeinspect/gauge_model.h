#pragma once
// What gaugeinspect finds in a module file: its PE tables, its resources and
// the gauge records reached from its Linkage. Parts that cannot be read carry
// the reason in an `error` field, so the rest can still be shown and checked.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formats/base_relocations.h"
#include "formats/dib_header.h"
#include "formats/pe_image.h"
#include "formats/resource_tree.h"
#include "formats/riff_wave.h"
#include "frame/records.h"
#include "tools/gaugeinspect/image_view.h"

namespace gaugeinspect {

using formats::BitmapHeader;
using formats::WaveFormat;

// The records' 32-bit layout, named once beside the modules' own records.
namespace layout = frame::layout32;

// The limits that keep a hostile file's walks short.
inline constexpr size_t kMaxGauges = 64;
inline constexpr size_t kMaxElements = 256;
inline constexpr size_t kMaxNextEntries = 16;
inline constexpr uint32_t kMaxNeedleEntries = 4096;
inline constexpr size_t kMaxMouseRects = 256;
inline constexpr size_t kMaxNameLength = 256;

inline constexpr uint32_t kGaugeVersion = frame::kGaugeVersion;
inline constexpr uint32_t kElementStatic = frame::kStaticImage;
inline constexpr uint32_t kElementNeedle = frame::kNeedle;
inline constexpr uint32_t kElementIcon = frame::kIcon;
inline constexpr uint32_t kFlagHidden = frame::kImageHidden;

enum MouseKind : uint32_t {
  kEndOfList = frame::kMouseEndOfList,
  kParent = frame::kMouseParent,
  kChild = frame::kMouseChild,
  kEndOfParent = frame::kMouseEndOfParent
};

inline constexpr std::array<const char*, 7> kRoutineNames = {
    "query", "install", "initialize", "update", "generate", "draw", "kill"};

struct ModuleVarRecord {
  uint32_t token = 0;
  Pointer pointer;
  double value = 0;
};

struct NeedleEntryRecord {
  int32_t x = 0;
  int32_t y = 0;
  double value = 0;
  double reserved = 0;
};

struct ElementRecord {
  uint32_t rva = 0;
  uint32_t type = 0;
  uint32_t bitmap_id = 0;
  int32_t x = 0, y = 0, pivot_x = 0, pivot_y = 0;
  Pointer gauge;
  Pointer next_list;
  std::vector<Pointer> next;  // the list's entries before its null
  Pointer failure_list;
  uint32_t image_flags = 0;
  bool has_source = false;  // icons and needles
  ModuleVarRecord source;
  uint32_t icon_word = 0;  // icons
  Pointer table;           // needles
  uint32_t table_count = 0;
  std::vector<NeedleEntryRecord> entries;
  Pointer callback;
  std::string error;  // the element or one of its lists could not be read

  bool hidden() const { return (image_flags & kFlagHidden) != 0; }
};

struct MouseRectRecord {
  uint32_t rva = 0;
  uint32_t kind = 0;
  int32_t x = 0, y = 0, width = 0, height = 0, cursor = 0;
  uint32_t help_id = 0;
  uint32_t mouse_flags = 0;
  uint32_t event_id = 0;
  Pointer routine;
  uint32_t routine_data = 0;
};

struct GaugeRecord {
  uint32_t rva = 0;
  uint32_t version = 0;
  Pointer name_pointer;
  std::string name;
  Pointer element_list;   // the variable holding the first element
  Pointer first_element;  // that variable's value
  std::array<Pointer, 7> routines;
  uint32_t default_size_mm = 0;
  Pointer mouse_rects;
  Pointer callback;
  std::vector<ElementRecord> elements;
  std::string chain_error;  // why the element chain stops early
  std::vector<MouseRectRecord> mouse;
  std::string mouse_error;  // why the rectangle list stops early
  std::string error;        // the header itself could not be read
};

struct FailureListRecord {
  uint32_t rva = 0;
  std::array<uint32_t, 6> words{};
  std::vector<std::string> used_by;  // "gauge/element index"
};

struct ImportTableRecord {
  uint32_t rva = 0;
  uint32_t id = 0;
  Pointer services;
  std::array<uint32_t, 2> closing{};
};

struct LinkageRecord {
  uint32_t rva = 0;
  uint32_t id = 0;
  Pointer init;
  Pointer deinit;
  std::array<uint32_t, 3> reserved{};
  std::vector<Pointer> gauges;  // before the null
  std::string list_error;       // why the gauge list stops early
};

struct ResourceInfo {
  formats::Resource resource;
  bool is_bitmap = false;
  BitmapHeader bitmap;
  std::optional<WaveFormat> wave;
};

struct Module {
  std::unique_ptr<formats::PeImage> pe;  // owns the file bytes the resources point into
  formats::BaseRelocations relocations;
  std::vector<ResourceInfo> resources;
  std::string resource_error;
  std::optional<ImportTableRecord> import_table;
  std::string import_table_error;
  std::optional<LinkageRecord> linkage;
  std::string linkage_error;
  std::vector<GaugeRecord> gauges;
  std::vector<FailureListRecord> failure_lists;  // each once, in the order first used

  const ResourceInfo* bitmap(uint32_t id) const;
};

}  // namespace gaugeinspect
