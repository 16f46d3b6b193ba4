#include "host/gauge_instance.h"

#include <algorithm>

#include "host/host_error.h"
#include "host/loaded_module.h"

namespace host {
namespace {

// Far beyond any real gauge: a chain or list that runs on is malformed.
constexpr size_t kMaxElements = 256;
constexpr size_t kMaxMouseRects = 256;

std::vector<ElementState> walk_chain(const ModuleSpace& space, const std::string& label,
                                     RecordRef header) {
  const RecordLayout& l = space.layout();
  std::vector<ElementState> elements;
  const RecordRef list = space.ref(header + l.gauge_element_list);
  RecordRef element = list != 0 ? space.ref(list) : 0;
  while (element != 0) {
    bool seen = std::any_of(elements.begin(), elements.end(),
                            [&](const ElementState& e) { return e.record == element; });
    if (seen || elements.size() == kMaxElements) {
      throw HostError(label + ": its element chain does not end");
    }
    elements.push_back({element, space.u32(element)});
    const RecordRef next = space.ref(element + l.element_next_list);
    element = next != 0 ? space.ref(next) : 0;
  }
  return elements;
}

std::vector<MouseArea> read_mouse_areas(const ModuleSpace& space, const std::string& label,
                                        RecordRef header) {
  const RecordLayout& l = space.layout();
  std::vector<MouseArea> areas;
  RecordRef rect = space.ref(header + l.gauge_mouse_rects);
  for (size_t i = 0; rect != 0; ++i, rect += l.mouse_size) {
    if (i == kMaxMouseRects) throw HostError(label + ": its mouse list does not end");
    const uint32_t kind = space.u32(rect);
    if (kind == frame::kMouseEndOfList) break;
    if (kind == frame::kMouseChild) {
      areas.push_back({space.i32(rect + l.mouse_x), space.i32(rect + l.mouse_y),
                       space.i32(rect + l.mouse_width), space.i32(rect + l.mouse_height),
                       space.u32(rect + l.mouse_flags), space.ref(rect + l.mouse_routine),
                       space.i32(rect + l.mouse_cursor)});
    }
  }
  return areas;
}

// Where each element-list routine sits in the header's list of seven.
size_t routine_index(frame::ElementListSlot which) {
  switch (which) {
    case frame::kSlotQuery:
      return 0;
    case frame::kSlotInstall:
      return 1;
    case frame::kSlotInitialize:
      return 2;
    case frame::kSlotUpdate:
      return 3;
    case frame::kSlotGenerate:
      return 4;
    case frame::kSlotDraw:
      return 5;
    case frame::kSlotKill:
      return 6;
  }
  return 0;
}

}  // namespace

bool MouseArea::contains(int32_t px, int32_t py) const {
  // 64-bit sums: a box from a module is data, and must not overflow the test.
  return px >= x && py >= y && int64_t{px} < int64_t{x} + width &&
         int64_t{py} < int64_t{y} + height;
}

ElementFields GaugeInstance::fields(size_t element) const {
  const RecordLayout& l = space->layout();
  const RecordRef e = elements[element].record;
  return {space->u32(e),
          space->u32(e + l.element_bitmap_id),
          space->i32(e + l.element_x),
          space->i32(e + l.element_y),
          space->i32(e + l.element_pivot_x),
          space->i32(e + l.element_pivot_y),
          space->u32(e + l.element_image_flags)};
}

uint32_t GaugeInstance::needle_table_count(size_t element) const {
  return space->u32(elements[element].record + space->layout().needle_table_count);
}

std::vector<frame::NeedleEntry> GaugeInstance::needle_table(size_t element) const {
  const RecordLayout& l = space->layout();
  const RecordRef e = elements[element].record;
  const RecordRef table = space->ref(e + l.needle_table);
  std::vector<frame::NeedleEntry> entries;
  if (table == 0) return entries;
  const uint32_t count = needle_table_count(element);
  for (uint32_t i = 0; i < count; ++i) {
    const RecordRef at = table + uint64_t{i} * l.entry_size;
    entries.push_back({space->i32(at), space->i32(at + 4), space->f64(at + l.entry_value), 0.0});
  }
  return entries;
}

GaugeInstance make_gauge_instance(std::string label, LoadedModule* module, RecordRef header,
                                  bool own_copy) {
  ModuleSpace& space = module != nullptr ? module->space() : native_records();
  GaugeInstance gauge{std::move(label), nullptr, nullptr, module, &space, header, {}, {},
                      nullptr,          {},      {}};
  // Messages name the module as well, so a broken one is easy to find.
  const std::string named = module != nullptr
                                ? "module " + module->name() + ", gauge " + gauge.label
                                : "gauge " + gauge.label;
  gauge.elements = walk_chain(space, named, header);
  if (own_copy) {
    std::vector<RecordRef> chain;
    std::vector<uint32_t> types;
    for (const ElementState& e : gauge.elements) {
      chain.push_back(e.record);
      types.push_back(e.type);
    }
    gauge.template_elements = chain;
    gauge.copy = std::make_unique<GaugeCopy>(space, header, chain, types);
    gauge.header = gauge.copy->header();
    for (size_t i = 0; i < chain.size(); ++i) gauge.elements[i].record = gauge.copy->element(i);
  }
  for (size_t i = 0; i < gauge.elements.size(); ++i) {
    if (gauge.elements[i].type == frame::kNeedle) gauge.needles.push_back(i);
  }
  gauge.areas = read_mouse_areas(space, named, header);
  return gauge;
}

void run_element_list_routine(ModuleSpace& space, RecordRef header, frame::ElementListSlot which,
                              uint32_t arg) {
  const RecordRef routine = space.ref(header + space.layout().gauge_routine[routine_index(which)]);
  if (which == frame::kSlotInstall || which == frame::kSlotGenerate) {
    space.call_routine_arg(routine, arg);
  } else {
    space.call_routine(routine);
  }
}

void ElementWatch::add(const GaugeInstance& gauge, uint32_t gauge_index) {
  auto it = std::find_if(modules_.begin(), modules_.end(),
                         [&](const Module& m) { return m.module == gauge.module; });
  if (it == modules_.end()) {
    it = modules_.insert(modules_.end(), Module{gauge.module, gauge.space, {}});
  }
  const uint32_t flags = gauge.space->layout().element_image_flags;
  for (size_t i = 0; i < gauge.elements.size(); ++i) {
    const RecordRef at = gauge.elements[i].record + flags;
    it->watched.push_back({at, gauge.space->u32(at), gauge_index, static_cast<uint32_t>(i)});
  }
}

void ElementWatch::mark_seen() {
  for (Module& m : modules_) {
    for (Watched& w : m.watched) w.last = m.space->u32(w.flags_at);
  }
}

}  // namespace host
