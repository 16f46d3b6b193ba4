#include "host/record_layout.h"

#include <cstddef>

#include "frame/records.h"

namespace host {
namespace {

template <typename T>
constexpr uint32_t size_of() {
  return static_cast<uint32_t>(sizeof(T));
}

}  // namespace

#define AT(record, field) static_cast<uint32_t>(offsetof(frame::record, field))

const RecordLayout& native_layout() {
  static const RecordLayout layout{
      .pointer_size = size_of<void*>(),
      .import_services = AT(ImportTableRecord, services),
      .linkage_init = AT(LinkageRecord<1>, init),
      .linkage_deinit = AT(LinkageRecord<1>, deinit),
      .linkage_gauges = AT(LinkageRecord<1>, gauges),
      .var_pointer = AT(ModuleVar, pointer),
      .var_value = AT(ModuleVar, value),
      .gauge_size = size_of<frame::GaugeHeader>(),
      .gauge_name = AT(GaugeHeader, name),
      .gauge_element_list = AT(GaugeHeader, element_list),
      .gauge_routine = {AT(GaugeHeader, query), AT(GaugeHeader, install),
                        AT(GaugeHeader, initialize), AT(GaugeHeader, update),
                        AT(GaugeHeader, generate), AT(GaugeHeader, draw), AT(GaugeHeader, kill)},
      .gauge_mouse_rects = AT(GaugeHeader, mouse_rects),
      .gauge_callback = AT(GaugeHeader, callback),
      .element_bitmap_id = AT(ElementHeader, bitmap_id),
      .element_x = AT(ElementHeader, x),
      .element_y = AT(ElementHeader, y),
      .element_pivot_x = AT(ElementHeader, pivot_x),
      .element_pivot_y = AT(ElementHeader, pivot_y),
      .element_gauge = AT(ElementHeader, gauge),
      .element_next_list = AT(ElementHeader, next_list),
      .element_image_flags = AT(ElementHeader, image_flags),
      .static_size = size_of<frame::StaticElement>(),
      .icon_size = size_of<frame::IconElement>(),
      .needle_size = size_of<frame::NeedleElement>(),
      .element_header_size = size_of<frame::ElementHeader>(),
      .icon_source = AT(IconElement, source),
      .needle_source = AT(NeedleElement, source),
      .needle_table = AT(NeedleElement, table),
      .needle_table_count = AT(NeedleElement, table_count),
      .needle_callback = AT(NeedleElement, callback),
      .entry_size = size_of<frame::NeedleEntry>(),
      .entry_value = AT(NeedleEntry, value),
      .mouse_size = size_of<frame::MouseRect>(),
      .mouse_x = AT(MouseRect, x),
      .mouse_y = AT(MouseRect, y),
      .mouse_width = AT(MouseRect, width),
      .mouse_height = AT(MouseRect, height),
      .mouse_cursor = AT(MouseRect, cursor),
      .mouse_flags = AT(MouseRect, mouse_flags),
      .mouse_routine = AT(MouseRect, routine),
      .service_table_size = size_of<frame::HostServiceTable>(),
  };
  return layout;
}

#undef AT

const RecordLayout& layout_32() {
  namespace L = frame::layout32;
  static const RecordLayout layout{
      .pointer_size = L::kPointerSize,
      .import_services = L::kImportTableServices,
      .linkage_init = L::kLinkageInit,
      .linkage_deinit = L::kLinkageDeinit,
      .linkage_gauges = L::kLinkageGauges,
      .var_pointer = L::kModuleVarPointer,
      .var_value = L::kModuleVarValue,
      .gauge_size = L::kGaugeHeaderSize,
      .gauge_name = L::kGaugeHeaderName,
      .gauge_element_list = L::kGaugeHeaderElementList,
      .gauge_routine = {L::kGaugeHeaderQuery, L::kGaugeHeaderInstall, L::kGaugeHeaderInitialize,
                        L::kGaugeHeaderUpdate, L::kGaugeHeaderGenerate, L::kGaugeHeaderDraw,
                        L::kGaugeHeaderKill},
      .gauge_mouse_rects = L::kGaugeHeaderMouseRects,
      .gauge_callback = L::kGaugeHeaderCallback,
      .element_bitmap_id = L::kElementBitmapId,
      .element_x = L::kElementX,
      .element_y = L::kElementY,
      .element_pivot_x = L::kElementPivotX,
      .element_pivot_y = L::kElementPivotY,
      .element_gauge = L::kElementGauge,
      .element_next_list = L::kElementNextList,
      .element_image_flags = L::kElementImageFlags,
      .static_size = L::kStaticElementSize,
      .icon_size = L::kIconElementSize,
      .needle_size = L::kNeedleElementSize,
      .element_header_size = L::kElementHeaderSize,
      .icon_source = L::kIconSource,
      .needle_source = L::kNeedleSource,
      .needle_table = L::kNeedleTable,
      .needle_table_count = L::kNeedleTableCount,
      .needle_callback = L::kNeedleCallback,
      .entry_size = L::kNeedleEntrySize,
      .entry_value = L::kNeedleEntryValue,
      .mouse_size = L::kMouseRectSize,
      .mouse_x = L::kMouseRectX,
      .mouse_y = L::kMouseRectY,
      .mouse_width = L::kMouseRectWidth,
      .mouse_height = L::kMouseRectHeight,
      .mouse_cursor = L::kMouseRectCursor,
      .mouse_flags = L::kMouseRectFlags,
      .mouse_routine = L::kMouseRectRoutine,
      .service_table_size = L::kServiceTableSize,
  };
  return layout;
}

}  // namespace host
