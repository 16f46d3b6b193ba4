#pragma once
// Where the host finds each field of a module's records: at this build's own
// offsets for modules in the host's memory, or at the 32-bit layout's
// (frame/records.h, layout32) for modules in a 32-bit guest's memory.
#include <cstdint>

namespace host {

// A record of a module, as the host refers to it: a pointer's value for a
// module in the host's own memory, a guest address for an emulated one.
using RecordRef = uint64_t;

struct RecordLayout {
  uint32_t pointer_size;
  uint32_t import_services;
  uint32_t linkage_init, linkage_deinit, linkage_gauges;
  uint32_t var_pointer, var_value;
  uint32_t gauge_size, gauge_name, gauge_element_list;
  uint32_t gauge_routine[7];  // query, install, initialize, update, generate, draw, kill
  uint32_t gauge_mouse_rects, gauge_callback;
  uint32_t element_bitmap_id, element_x, element_y, element_pivot_x, element_pivot_y, element_gauge,
      element_next_list, element_image_flags;
  uint32_t static_size, icon_size, needle_size, element_header_size;
  uint32_t icon_source, needle_source, needle_table, needle_table_count, needle_callback;
  uint32_t entry_size, entry_value;
  uint32_t mouse_size, mouse_x, mouse_y, mouse_width, mouse_height, mouse_cursor, mouse_flags,
      mouse_routine;
  uint32_t service_table_size;
};

// The records as this build lays them out.
const RecordLayout& native_layout();
// The records as the 32-bit modules lay them out.
const RecordLayout& layout_32();

}  // namespace host
