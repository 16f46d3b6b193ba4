#include "tools/gaugeinspect/element_chain.h"

#include <algorithm>
#include <set>

namespace gaugeinspect {
namespace {

uint32_t element_size(uint32_t type) {
  switch (type) {
    case kElementStatic:
      return layout::kStaticElementSize;
    case kElementIcon:
      return layout::kIconElementSize;
    case kElementNeedle:
      return layout::kNeedleElementSize;
    default:
      return layout::kElementHeaderSize;  // an unknown tail is not read
  }
}

ModuleVarRecord read_source(const Record& r, uint32_t at) {
  ModuleVarRecord v;
  v.token = r.u32(at + layout::kModuleVarToken);
  v.pointer = r.pointer(at + layout::kModuleVarPointer);
  v.value = r.f64(at + layout::kModuleVarValue);
  return v;
}

void read_next_list(const ImageView& view, ElementRecord& e) {
  if (e.next_list.is_null()) return;
  if (!e.next_list.ok()) throw RecordError("next-element list: " + e.next_list.error);
  for (size_t i = 0;; ++i) {
    if (i == kMaxNextEntries) {
      throw RecordError("next-element list has no null within " + std::to_string(kMaxNextEntries) +
                        " entries");
    }
    const uint32_t at = *e.next_list.target + static_cast<uint32_t>(layout::kPointerSize * i);
    const Pointer p = view.record(at, layout::kPointerSize, "next-element list").pointer(0);
    if (p.is_null()) return;
    if (!p.ok()) throw RecordError("next-element list entry " + std::to_string(i) + ": " + p.error);
    e.next.push_back(p);
  }
}

void read_needle_table(const ImageView& view, ElementRecord& e) {
  if (e.table.is_null()) return;
  if (!e.table.ok()) throw RecordError("needle table: " + e.table.error);
  if (e.table_count > kMaxNeedleEntries) {
    throw RecordError("needle table count " + std::to_string(e.table_count) + " exceeds " +
                      std::to_string(kMaxNeedleEntries));
  }
  const Record t =
      view.record(*e.table.target, e.table_count * layout::kNeedleEntrySize, "needle table");
  for (uint32_t i = 0; i < e.table_count; ++i) {
    const uint32_t at = i * layout::kNeedleEntrySize;
    e.entries.push_back({t.i32(at + layout::kNeedleEntryX), t.i32(at + layout::kNeedleEntryY),
                         t.f64(at + layout::kNeedleEntryValue),
                         t.f64(at + layout::kNeedleEntryReserved16)});
  }
}

void read_failure_list(const ImageView& view, const ElementRecord& e, const std::string& user,
                       std::vector<FailureListRecord>& failures) {
  if (e.failure_list.is_null()) return;
  if (!e.failure_list.ok()) throw RecordError("failure list: " + e.failure_list.error);
  const uint32_t rva = *e.failure_list.target;
  auto known = std::find_if(failures.begin(), failures.end(),
                            [&](const FailureListRecord& f) { return f.rva == rva; });
  if (known == failures.end()) {
    const Record r = view.record(rva, layout::kFailureListSize, "failure list");
    FailureListRecord f;
    f.rva = rva;
    for (uint32_t i = 0; i < f.words.size(); ++i)
      f.words[i] = r.u32(layout::kFailureListKey + 4 * i);
    failures.push_back(f);
    known = failures.end() - 1;
  }
  known->used_by.push_back(user);
}

// The header and the next-element list: what the walk needs to go on.
void read_links(const ImageView& view, ElementRecord& e) {
  const Record h = view.record(e.rva, layout::kElementHeaderSize, "element header");
  e.type = h.u32(layout::kElementType);
  e.bitmap_id = h.u32(layout::kElementBitmapId);
  e.x = h.i32(layout::kElementX);
  e.y = h.i32(layout::kElementY);
  e.pivot_x = h.i32(layout::kElementPivotX);
  e.pivot_y = h.i32(layout::kElementPivotY);
  e.gauge = h.pointer(layout::kElementGauge);
  e.next_list = h.pointer(layout::kElementNextList);
  e.failure_list = h.pointer(layout::kElementFailureList);
  e.image_flags = h.u32(layout::kElementImageFlags);
  read_next_list(view, e);
}

// The element's own parts; the walk goes on when one of them is broken.
void read_tail(const ImageView& view, ElementRecord& e, const std::string& user,
               std::vector<FailureListRecord>& failures) {
  read_failure_list(view, e, user, failures);
  const Record r = view.record(e.rva, element_size(e.type), "element");
  if (e.type == kElementIcon || e.type == kElementNeedle) {
    e.has_source = true;
    e.source = read_source(r, e.type == kElementIcon ? layout::kIconSource : layout::kNeedleSource);
  }
  if (e.type == kElementIcon) e.icon_word = r.u32(layout::kIconWord);
  if (e.type == kElementNeedle) {
    e.table = r.pointer(layout::kNeedleTable);
    e.table_count = r.u32(layout::kNeedleTableCount);
    e.callback = r.pointer(layout::kNeedleCallback);
    read_needle_table(view, e);
  }
}

}  // namespace

void read_element_chain(const ImageView& view, GaugeRecord& gauge,
                        std::vector<FailureListRecord>& failures) {
  std::set<uint32_t> seen;
  Pointer next = gauge.first_element;
  while (!next.is_null()) {
    const size_t index = gauge.elements.size();
    const std::string where = "element " + std::to_string(index);
    if (!next.ok()) {
      gauge.chain_error = where + ": " + next.error;
      return;
    }
    if (index == kMaxElements) {
      gauge.chain_error =
          "the chain does not end within " + std::to_string(kMaxElements) + " elements";
      return;
    }
    if (!seen.insert(*next.target).second) {
      const auto back = std::find_if(gauge.elements.begin(), gauge.elements.end(),
                                     [&](const ElementRecord& e) { return e.rva == *next.target; });
      gauge.chain_error = "element " + std::to_string(index - 1) + " leads back to element " +
                          std::to_string(back - gauge.elements.begin()) + ": the chain loops";
      return;
    }
    ElementRecord& e = gauge.elements.emplace_back();
    e.rva = *next.target;
    try {
      read_links(view, e);
    } catch (const std::runtime_error& err) {
      gauge.chain_error = where + ": " + err.what();
      return;
    }
    try {
      read_tail(view, e, gauge.name + "/" + std::to_string(index), failures);
    } catch (const std::runtime_error& err) {
      e.error = err.what();
    }
    next = e.next.empty() ? Pointer{} : e.next.front();
  }
}

}  // namespace gaugeinspect
