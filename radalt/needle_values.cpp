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

// Capped at 770 m, where the pointer parks under the bezel; no lower limit
// but the lowest 32-bit value, for a difference beyond the 32-bit range.
int32_t capped_height(int32_t altitude_m, int32_t ground_m) {
  int32_t height = 0;
  if (__builtin_sub_overflow(altitude_m, ground_m, &height)) {
    return altitude_m < ground_m ? INT32_MIN : kHeightCapM;
  }
  return height > kHeightCapM ? kHeightCapM : height;
}

}  // namespace

double GAUGE_CALL ground_elevation_value(frame::ElementHeader* element) {
  radalt_state.ground_elevation_m = frame::trunc_to_i32(source_value(element) * kMetresPer256th);
  return radalt_state.ground_elevation_m;
}

double GAUGE_CALL indicated_height_value(frame::ElementHeader* element) {
  int32_t height = 0;
  if (power_var.value != 0.0) {
    height =
        capped_height(frame::trunc_to_i32(source_value(element)), radalt_state.ground_elevation_m);
  }
  radalt_state.indicated_height_m = height;
  return height;
}

double GAUGE_CALL decision_height_value(frame::ElementHeader* /*element*/) {
  return radalt_state.decision_height_ft;
}

}  // namespace radalt
