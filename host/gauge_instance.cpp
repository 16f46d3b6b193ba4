#include "host/gauge_instance.h"

#include <algorithm>

#include "host/host_error.h"
#include "host/loaded_module.h"

namespace host {
namespace {

// Far beyond any real gauge: a chain or list that runs on is malformed.
constexpr size_t kMaxElements = 256;
constexpr size_t kMaxMouseRects = 256;

std::vector<ElementState> walk_chain(const std::string& label, frame::GaugeHeader* header) {
  std::vector<ElementState> elements;
  frame::ElementHeader* element = header->element_list ? *header->element_list : nullptr;
  while (element != nullptr) {
    bool seen = std::any_of(elements.begin(), elements.end(),
                            [&](const ElementState& e) { return e.record == element; });
    if (seen || elements.size() == kMaxElements) {
      throw HostError(label + ": its element chain does not end");
    }
    elements.push_back({element});
    element = element->next_list ? element->next_list[0] : nullptr;
  }
  return elements;
}

std::vector<MouseArea> read_mouse_areas(const std::string& label, frame::GaugeHeader* header) {
  std::vector<MouseArea> areas;
  const frame::MouseRect* rect = header->mouse_rects;
  for (size_t i = 0; rect != nullptr; ++i, ++rect) {
    if (i == kMaxMouseRects) throw HostError(label + ": its mouse list does not end");
    if (rect->kind == frame::kMouseEndOfList) break;
    if (rect->kind == frame::kMouseChild) {
      areas.push_back({rect->x, rect->y, rect->width, rect->height, rect->mouse_flags,
                       rect->routine, rect->cursor});
    }
  }
  return areas;
}

}  // namespace

bool MouseArea::contains(int32_t px, int32_t py) const {
  // 64-bit sums: a box from a module is data, and must not overflow the test.
  return px >= x && py >= y && int64_t{px} < int64_t{x} + width &&
         int64_t{py} < int64_t{y} + height;
}

GaugeInstance make_gauge_instance(std::string label, LoadedModule* module,
                                  frame::GaugeHeader* header, bool own_copy) {
  GaugeInstance gauge{std::move(label), nullptr, module, header, {}, {}, nullptr, {}, {}};
  // Messages name the module as well, so a broken one is easy to find.
  const std::string named = module != nullptr
                                ? "module " + module->name() + ", gauge " + gauge.label
                                : "gauge " + gauge.label;
  gauge.elements = walk_chain(named, header);
  if (own_copy) {
    std::vector<frame::ElementHeader*> chain;
    for (const ElementState& e : gauge.elements) chain.push_back(e.record);
    gauge.template_elements.assign(chain.begin(), chain.end());
    gauge.copy = std::make_unique<GaugeCopy>(*header, chain);
    gauge.header = gauge.copy->header();
    for (size_t i = 0; i < chain.size(); ++i) gauge.elements[i].record = gauge.copy->element(i);
  }
  for (size_t i = 0; i < gauge.elements.size(); ++i) {
    if (gauge.elements[i].record->type == frame::kNeedle) gauge.needles.push_back(i);
  }
  gauge.areas = read_mouse_areas(named, header);
  return gauge;
}

void run_element_list_routine(frame::GaugeHeader& header, frame::ElementListSlot which,
                              uint32_t arg) {
  switch (which) {
    case frame::kSlotQuery:
      header.query();
      break;
    case frame::kSlotInstall:
      header.install(arg);
      break;
    case frame::kSlotInitialize:
      header.initialize();
      break;
    case frame::kSlotUpdate:
      header.update();
      break;
    case frame::kSlotGenerate:
      header.generate(arg);
      break;
    case frame::kSlotDraw:
      header.draw();
      break;
    case frame::kSlotKill:
      header.kill();
      break;
  }
}

void ElementWatch::add(const GaugeInstance& gauge, uint32_t gauge_index) {
  auto it = std::find_if(modules_.begin(), modules_.end(),
                         [&](const Module& m) { return m.module == gauge.module; });
  if (it == modules_.end()) it = modules_.insert(modules_.end(), Module{gauge.module, {}});
  for (size_t i = 0; i < gauge.elements.size(); ++i) {
    const frame::ElementHeader* record = gauge.elements[i].record;
    it->watched.push_back({record, record->image_flags, gauge_index, static_cast<uint32_t>(i)});
  }
}

void ElementWatch::mark_seen() {
  for (Module& m : modules_) {
    for (Watched& w : m.watched) w.last = w.record->image_flags;
  }
}

}  // namespace host
