// Rules on a gauge's elements: their kinds, pictures, failure lists and
// needle tables.
#include <cmath>

#include "tools/gaugeinspect/checks.h"
#include "tools/gaugeinspect/image_view.h"

namespace gaugeinspect {
namespace {

constexpr size_t kFailurePairs = 3;

// The picture an element's position is measured against: the gauge's first
// static or icon picture, when it is usable.
const BitmapHeader* frame_picture(const Module& m, const GaugeRecord& g) {
  if (g.elements.empty()) return nullptr;
  const ElementRecord& first = g.elements.front();
  if (first.type != kElementStatic && first.type != kElementIcon) return nullptr;
  const ResourceInfo* r = m.bitmap(first.bitmap_id);
  return r != nullptr && r->bitmap.valid() ? &r->bitmap : nullptr;
}

void check_picture(const Module& m, const ElementRecord& e, const BitmapHeader* frame,
                   bool is_first, const std::string& where, std::vector<std::string>& out) {
  const ResourceInfo* r = m.bitmap(e.bitmap_id);
  if (r == nullptr) {
    out.push_back(where + ": bitmap " + std::to_string(e.bitmap_id) + " is no BITMAP resource");
    return;
  }
  if (!r->bitmap.valid()) return;  // reported with the resources
  // A needle turns about its pivot, so only still pictures must lie inside.
  if (is_first || frame == nullptr || e.type == kElementNeedle) return;
  const int64_t right = int64_t{e.x} + r->bitmap.width;
  const int64_t bottom = int64_t{e.y} + r->bitmap.abs_height();
  if (e.x < 0 || e.y < 0 || right > frame->width || bottom > int64_t{frame->abs_height()}) {
    out.push_back(where + ": bitmap " + std::to_string(e.bitmap_id) + " at (" +
                  std::to_string(e.x) + "," + std::to_string(e.y) + ") reaches (" +
                  std::to_string(right) + "," + std::to_string(bottom) +
                  "), outside the first bitmap's " + std::to_string(frame->width) + "x" +
                  std::to_string(frame->abs_height()));
  }
}

void check_failure_list(const Module& m, const ElementRecord& e, const std::string& where,
                        std::vector<std::string>& out) {
  if (!e.failure_list.ok() || !e.failure_list.target) return;
  for (const FailureListRecord& f : m.failure_lists) {
    if (f.rva != *e.failure_list.target) continue;
    for (size_t pair = 0; pair < kFailurePairs; ++pair) {
      if (f.words[2 * pair] == 0) return;
    }
    out.push_back(where + ": the failure list has no zero key to end it");
  }
}

void check_needle(const ImageView& view, const ElementRecord& e, const std::string& where,
                  std::vector<std::string>& out) {
  if (e.table.is_null() != (e.table_count == 0)) {
    out.push_back(where + ": needle table " + (e.table.is_null() ? "missing" : "present") +
                  " with " + std::to_string(e.table_count) + " entries");
  }
  for (size_t i = 0; i < e.entries.size(); ++i) {
    const double v = e.entries[i].value;
    if (!std::isfinite(v)) {
      out.push_back(where + ": needle table entry " + std::to_string(i) + " is not a number");
    } else if (i > 0 && !(v > e.entries[i - 1].value)) {
      out.push_back(where + ": needle table entry " + std::to_string(i) +
                    " does not ascend from the one before");
    }
  }
  if (e.callback.ok() && e.callback.target && !view.in_code(*e.callback.target))
    out.push_back(where + ": needle callback points outside the code");
}

}  // namespace

void check_elements(const Module& m, const GaugeRecord& g, const std::string& label,
                    std::vector<std::string>& out) {
  const ImageView view(*m.pe, m.relocations);
  const BitmapHeader* frame = frame_picture(m, g);
  for (size_t i = 0; i < g.elements.size(); ++i) {
    const ElementRecord& e = g.elements[i];
    const std::string where = label + ": element " + std::to_string(i);
    if (e.type != kElementStatic && e.type != kElementIcon && e.type != kElementNeedle) {
      out.push_back(where + ": unknown type " + std::to_string(e.type));
      continue;
    }
    if (!e.gauge.ok() || !e.gauge.target || *e.gauge.target != g.rva)
      out.push_back(where + ": does not point back to its gauge header");
    check_picture(m, e, frame, i == 0, where, out);
    check_failure_list(m, e, where, out);
    if (e.type == kElementNeedle) check_needle(view, e, where, out);
  }
}

}  // namespace gaugeinspect
