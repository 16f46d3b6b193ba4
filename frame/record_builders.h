#pragma once
// Constant builders for the static records of a gauge, so that a module's
// composition reads as its table: every field not named here stays zero.
#include <cstdint>

#include "frame/element_list_routines.h"
#include "frame/records.h"

namespace frame {

inline constexpr uint32_t kFailureKey = 20;
inline constexpr uint32_t kFailureAction = 2;
inline constexpr uint32_t kIconWord = 1;

constexpr FailureList failure_list() {
  return FailureList{kFailureKey, kFailureAction, {}};
}

constexpr ElementHeader element_header(ElementType type, uint32_t bitmap_id, int32_t x, int32_t y,
                                       GaugeHeader* gauge, ElementHeader** next,
                                       uint32_t image_flags, FailureList* failure = nullptr) {
  ElementHeader h{};
  h.type = type;
  h.bitmap_id = bitmap_id;
  h.x = x;
  h.y = y;
  h.gauge = gauge;
  h.next_list = next;
  h.failure_list = failure;
  h.image_flags = image_flags;
  return h;
}

constexpr StaticElement static_image(uint32_t bitmap_id, int32_t x, int32_t y, GaugeHeader* gauge,
                                     ElementHeader** next, uint32_t image_flags,
                                     FailureList* failure = nullptr) {
  return StaticElement{
      element_header(kStaticImage, bitmap_id, x, y, gauge, next, image_flags, failure), {}};
}

constexpr IconElement icon(uint32_t bitmap_id, int32_t x, int32_t y, GaugeHeader* gauge,
                           ElementHeader** next, uint32_t image_flags,
                           uint32_t icon_word = kIconWord, FailureList* failure = nullptr) {
  IconElement e{};
  e.header = element_header(kIcon, bitmap_id, x, y, gauge, next, image_flags, failure);
  e.icon_word = icon_word;
  return e;
}

constexpr NeedleElement needle(uint32_t bitmap_id, int32_t x, int32_t y, int32_t pivot_x,
                               int32_t pivot_y, GaugeHeader* gauge, ElementHeader** next,
                               uint32_t image_flags, FailureList* failure, uint32_t source_token,
                               const NeedleEntry* table, uint32_t table_count,
                               NeedleCallback callback) {
  NeedleElement e{};
  e.header = element_header(kNeedle, bitmap_id, x, y, gauge, next, image_flags, failure);
  e.header.pivot_x = pivot_x;
  e.header.pivot_y = pivot_y;
  e.source.token = source_token;
  e.table = table;
  e.table_count = table_count;
  e.callback = callback;
  return e;
}

constexpr MouseRect mouse_parent() {
  return MouseRect{kMouseParent, 0, 0, 0, 0, kCursorNone, 0, 0, 0, nullptr, 0};
}
constexpr MouseRect mouse_child(int32_t x, int32_t y, int32_t width, int32_t height, int32_t cursor,
                                uint32_t mouse_flags, MouseRoutine routine) {
  return MouseRect{kMouseChild, x, y, width, height, cursor, 0, mouse_flags, 0, routine, 0};
}
constexpr MouseRect mouse_end_of_parent() {
  return MouseRect{kMouseEndOfParent, 0, 0, 0, 0, kCursorNone, 0, 0, 0, nullptr, 0};
}
constexpr MouseRect mouse_end_of_list() {
  return MouseRect{kMouseEndOfList, 0, 0, 0, 0, kCursorNone, 0, 0, 0, nullptr, 0};
}

// A gauge header of the module whose linkage is `ModuleLinkage`: all headers
// of a module share its one set of element-list routines.
template <auto& ModuleLinkage>
constexpr GaugeHeader gauge_header(const char* name, ElementHeader** element_list,
                                   uint32_t default_size_mm, MouseRect* mouse_rects,
                                   GaugeCallback callback) {
  using Routines = ElementListRoutines<ModuleLinkage>;
  GaugeHeader h{};
  h.version = kGaugeVersion;
  h.name = name;
  h.element_list = element_list;
  h.query = &Routines::query;
  h.install = &Routines::install;
  h.initialize = &Routines::initialize;
  h.update = &Routines::update;
  h.generate = &Routines::generate;
  h.draw = &Routines::draw;
  h.kill = &Routines::kill;
  h.default_size_mm = default_size_mm;
  h.mouse_rects = mouse_rects;
  h.callback = callback;
  return h;
}

}  // namespace frame
