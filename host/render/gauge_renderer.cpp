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
  const ElementFields h = gauge.fields(index);
  const uint32_t count = gauge.needle_table_count(index);
  if (count > kMaxNeedleEntries) {
    throw HostError("gauge " + gauge.label + "#" + std::to_string(index) + ": a needle table of " +
                    std::to_string(count) + " entries");
  }
  double angle = 0.0;
  if (state.needle_seen) {
    const std::vector<frame::NeedleEntry> table = gauge.needle_table(index);
    angle = needle_angle(h.x, h.y, table.empty() ? nullptr : table.data(),
                         static_cast<uint32_t>(table.size()), state.last_value)
                .value_or(0.0);
  }
  draw_rotated(canvas, picture, {h.x, h.y, h.pivot_x, h.pivot_y, angle, transparent});
}

}  // namespace

const Image& gauge_background(const GaugeInstance& gauge, BitmapLibrary& bitmaps) {
  if (gauge.elements.empty()) throw HostError("gauge " + gauge.label + " has nothing to draw");
  return bitmaps.get(gauge.module, gauge.fields(0).bitmap_id);
}

Image render_gauge(const GaugeInstance& gauge, BitmapLibrary& bitmaps, Rgb backdrop) {
  const Image& background = gauge_background(gauge, bitmaps);
  Image canvas(background.width(), background.height(), backdrop);
  for (size_t i = 0; i < gauge.elements.size(); ++i) {
    const ElementFields h = gauge.fields(i);
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
