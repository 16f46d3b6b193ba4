#include "tools/gaugeinspect/gauge_reader.h"

#include "tools/gaugeinspect/element_chain.h"

namespace gaugeinspect {
namespace {

void read_header(const ImageView& view, GaugeRecord& g) {
  const Record h = view.record(g.rva, kGaugeHeaderBytes, "gauge header");
  g.version = h.u32(0);
  g.name_pointer = h.pointer(4);
  g.element_list = h.pointer(8);
  for (uint32_t i = 0; i < g.routines.size(); ++i) g.routines[i] = h.pointer(12 + 4 * i);
  g.default_size_mm = h.u32(44);
  g.mouse_rects = h.pointer(80);
  g.callback = h.pointer(84);
  if (!g.name_pointer.ok()) throw RecordError("name: " + g.name_pointer.error);
  if (g.name_pointer.target) g.name = view.c_string(*g.name_pointer.target, kMaxNameLength, "name");
}

void read_first_element(const ImageView& view, GaugeRecord& g) {
  if (g.element_list.is_null()) return;
  if (!g.element_list.ok()) throw RecordError("element list: " + g.element_list.error);
  g.first_element = view.record(*g.element_list.target, 4, "element list variable").pointer(0);
}

void read_mouse(const ImageView& view, GaugeRecord& g) {
  if (g.mouse_rects.is_null()) return;
  if (!g.mouse_rects.ok()) {
    g.mouse_error = g.mouse_rects.error;
    return;
  }
  try {
    for (size_t i = 0;; ++i) {
      if (i == kMaxMouseRects) {
        g.mouse_error = "no end of list within " + std::to_string(kMaxMouseRects) + " rectangles";
        return;
      }
      const uint32_t rva = *g.mouse_rects.target + static_cast<uint32_t>(i * kMouseRectBytes);
      const Record r = view.record(rva, kMouseRectBytes, "mouse rectangle");
      MouseRectRecord& m = g.mouse.emplace_back();
      m.rva = rva;
      m.kind = r.u32(0);
      m.x = r.i32(4);
      m.y = r.i32(8);
      m.width = r.i32(12);
      m.height = r.i32(16);
      m.cursor = r.i32(20);
      m.help_id = r.u32(24);
      m.mouse_flags = r.u32(28);
      m.event_id = r.u32(32);
      m.routine = r.pointer(36);
      m.routine_data = r.u32(40);
      if (m.kind == kEndOfList) return;
    }
  } catch (const std::runtime_error& e) {
    g.mouse_error = e.what();
  }
}

}  // namespace

GaugeRecord read_gauge(const ImageView& view, uint32_t rva,
                       std::vector<FailureListRecord>& failures) {
  GaugeRecord g;
  g.rva = rva;
  try {
    read_header(view, g);
  } catch (const std::runtime_error& e) {
    g.error = e.what();
    return g;
  }
  // Another version lays its records out otherwise: only the header is read.
  if (g.version != kGaugeVersion) return g;
  try {
    read_first_element(view, g);
  } catch (const std::runtime_error& e) {
    g.chain_error = e.what();
  }
  read_element_chain(view, g, failures);
  read_mouse(view, g);
  return g;
}

}  // namespace gaugeinspect
