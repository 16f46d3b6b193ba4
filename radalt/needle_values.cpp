// The element value callbacks. The host calls them after each update, in
// chain order: element 1 stores the ground elevation before elements 9 and
// 10 measure the height from it.
#include <cstdint>

#include "frame/convert.h"
#include "radalt/radalt_gauge.h"
#include "radalt/radalt_state.h"

namespace radalt {
namespace {

constexpr int32_t kHeightCapM = 770;
constexpr double kMetresPer256th = 0.00390625;

double source_value(frame::ElementHeader* element) {
  return reinterpret_cast<frame::NeedleElement*>(element)->source.value;
}

}  // namespace

double GAUGE_CALL ground_elevation_value(frame::ElementHeader* element) {
  radalt_state.ground_elevation_m = frame::trunc_to_i32(source_value(element) * kMetresPer256th);
  return radalt_state.ground_elevation_m;
}

// Capped at 770 m, where the pointer parks under the bezel; no lower limit,
// but the difference is taken wide so extreme inputs cannot overflow.
double GAUGE_CALL indicated_height_value(frame::ElementHeader* element) {
  int64_t height =
      int64_t{frame::trunc_to_i32(source_value(element))} - radalt_state.ground_elevation_m;
  if (height > kHeightCapM) height = kHeightCapM;
  if (height < INT32_MIN) height = INT32_MIN;
  if (power_var.value == 0.0) height = 0;
  radalt_state.indicated_height_m = static_cast<int32_t>(height);
  return radalt_state.indicated_height_m;
}

double GAUGE_CALL decision_height_value(frame::ElementHeader* /*element*/) {
  return radalt_state.decision_height_ft;
}

}  // namespace radalt
