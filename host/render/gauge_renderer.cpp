#include "host/render/gauge_renderer.h"

#include <string>

#include "host/host_error.h"
#include "host/render/needle_angle.h"
#include "host/render/rotated_draw.h"

namespace host::render {
namespace {

// Far beyond any real dial: a longer table is taken as malformed data.
constexpr uint32_t kMaxNeedleEntries = 4096;

void draw_needle(Image& canvas, const Image& picture, const GaugeInstance& gauge, size_t index,
                 bool transparent) {
  const ElementState& state = gauge.elements[index];
  const auto* needle = reinterpret_cast<const frame::NeedleElement*>(state.record);
  const frame::ElementHeader& h = needle->header;
  if (needle->table_count > kMaxNeedleEntries) {
    throw HostError("gauge " + gauge.label + "#" + std::to_string(index) + ": a needle table of " +
                    std::to_string(needle->table_count) + " entries");
  }
  double angle = 0.0;
  if (state.needle_seen) {
    angle =
        needle_angle(h.x, h.y, needle->table, needle->table_count, state.last_value).value_or(0.0);
  }
  draw_rotated(canvas, picture, {h.x, h.y, h.pivot_x, h.pivot_y, angle, transparent});
}

}  // namespace

const Image& gauge_background(const GaugeInstance& gauge, BitmapLibrary& bitmaps) {
  if (gauge.elements.empty()) throw HostError("gauge " + gauge.label + " has nothing to draw");
  return bitmaps.get(gauge.module, gauge.elements[0].record->bitmap_id);
}

Image render_gauge(const GaugeInstance& gauge, BitmapLibrary& bitmaps, Rgb backdrop) {
  const Image& background = gauge_background(gauge, bitmaps);
  Image canvas(background.width(), background.height(), backdrop);
  for (size_t i = 0; i < gauge.elements.size(); ++i) {
    const frame::ElementHeader& h = *gauge.elements[i].record;
    if ((h.image_flags & frame::kImageHidden) != 0) continue;
    const Image& picture = bitmaps.get(gauge.module, h.bitmap_id);
    const bool transparent = (h.image_flags & frame::kImageTransparent) != 0;
    if (h.type == frame::kNeedle) {
      draw_needle(canvas, picture, gauge, i, transparent);
    } else {
      draw_image(canvas, picture, h.x, h.y, transparent);
    }
  }
  return canvas;
}

}  // namespace host::render
