#include "host/render/panel_picture.h"

#include <algorithm>

#include "frame/convert.h"
#include "host/host_error.h"
#include "host/panel_host.h"
#include "host/render/gauge_renderer.h"

namespace host::render {
BoxSize box_size(const Placement& p, const Image& natural) {
  if (p.width < 0 || p.height < 0) {
    throw HostError("gauge " + p.label + ": a negative size on the panel");
  }
  if (p.width == 0) return {natural.width(), natural.height()};
  BoxSize box{p.width, p.height};
  if (box.height == 0) {
    const double h = static_cast<double>(p.width) * natural.height() / natural.width();
    box.height = std::max(1, frame::trunc_to_i32(h + 0.5));
  }
  if (box.width > kMaxImageSide || box.height > kMaxImageSide) {
    throw HostError("gauge " + p.label + ": too large on the panel");
  }
  return box;
}

Image panel_picture(const PanelHost& panel, const std::vector<Placement>& layout,
                    BitmapLibrary& bitmaps) {
  struct Drawn {
    Image picture;
    int32_t x, y;
  };
  std::vector<Drawn> drawn;
  int64_t right = 1, bottom = 1;
  for (const Placement& p : layout) {
    Image gauge = render_gauge(panel.gauge(p.label), bitmaps);
    const BoxSize box = box_size(p, gauge);
    if (box.width != gauge.width() || box.height != gauge.height()) {
      gauge = scale_nearest(gauge, box.width, box.height);
    }
    right = std::max(right, int64_t{p.x} + box.width + kPanelGap);
    bottom = std::max(bottom, int64_t{p.y} + box.height + kPanelGap);
    drawn.push_back({std::move(gauge), p.x, p.y});
  }
  if (right > kMaxImageSide || bottom > kMaxImageSide) {
    throw HostError("the panel layout reaches beyond " + std::to_string(kMaxImageSide) + " pixels");
  }
  Image out(static_cast<int32_t>(right), static_cast<int32_t>(bottom), kPanelColour);
  for (const Drawn& d : drawn) draw_image(out, d.picture, d.x, d.y);
  return out;
}

}  // namespace host::render
