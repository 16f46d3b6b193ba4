#include "tools/gaugeinspect/gauge_reader.h"

#include "tools/gaugeinspect/element_chain.h"

namespace gaugeinspect {
namespace {

void read_header(const ImageView& view, GaugeRecord& g) {
  const Record h = view.record(g.rva, layout::kGaugeHeaderSize, "gauge header");
  g.version = h.u32(layout::kGaugeHeaderVersion);
  g.name_pointer = h.pointer(layout::kGaugeHeaderName);
  g.element_list = h.pointer(layout::kGaugeHeaderElementList);
  for (uint32_t i = 0; i < g.routines.size(); ++i)
    g.routines[i] = h.pointer(layout::kGaugeHeaderQuery + layout::kPointerSize * i);
  g.default_size_mm = h.u32(layout::kGaugeHeaderDefaultSize);
  g.mouse_rects = h.pointer(layout::kGaugeHeaderMouseRects);
  g.callback = h.pointer(layout::kGaugeHeaderCallback);
  if (!g.name_pointer.ok()) throw RecordError("name: " + g.name_pointer.error);
  if (g.name_pointer.target) g.name = view.c_string(*g.name_pointer.target, kMaxNameLength, "name");
}

void read_first_element(const ImageView& view, GaugeRecord& g) {
  if (g.element_list.is_null()) return;
  if (!g.element_list.ok()) throw RecordError("element list: " + g.element_list.error);
  g.first_element =
      view.record(*g.element_list.target, layout::kPointerSize, "element list variable").pointer(0);
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
      const uint32_t rva =
          *g.mouse_rects.target + static_cast<uint32_t>(i * layout::kMouseRectSize);
      const Record r = view.record(rva, layout::kMouseRectSize, "mouse rectangle");
      MouseRectRecord& m = g.mouse.emplace_back();
      m.rva = rva;
      m.kind = r.u32(layout::kMouseRectKind);
      m.x = r.i32(layout::kMouseRectX);
      m.y = r.i32(layout::kMouseRectY);
      m.width = r.i32(layout::kMouseRectWidth);
      m.height = r.i32(layout::kMouseRectHeight);
      m.cursor = r.i32(layout::kMouseRectCursor);
      m.help_id = r.u32(layout::kMouseRectHelpId);
      m.mouse_flags = r.u32(layout::kMouseRectFlags);
      m.event_id = r.u32(layout::kMouseRectEventId);
      m.routine = r.pointer(layout::kMouseRectRoutine);
      m.routine_data = r.u32(layout::kMouseRectRoutineData);
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
