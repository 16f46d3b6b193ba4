#include "host/serve/panel_view.h"

#include <bit>

#include "frame/records.h"
#include "host/panel_host.h"
#include "host/render/flight_layout.h"
#include "host/render/gauge_renderer.h"
#include "host/render/png_writer.h"

namespace host::serve {
namespace {

// A length in a gauge's own pixels, on the picture.
int32_t scaled(int32_t length, int32_t box, int32_t natural) {
  return static_cast<int32_t>(int64_t{length} * box / natural);
}

}  // namespace

std::optional<GaugePoint> gauge_at(const PanelLayout& layout, int32_t x, int32_t y) {
  for (const GaugeBox& g : layout.gauges) {
    if (x < g.x || y < g.y || x >= g.x + g.width || y >= g.y + g.height) continue;
    return GaugePoint{g.label, scaled(x - g.x, g.natural_width, g.width),
                      scaled(y - g.y, g.natural_height, g.height)};
  }
  return std::nullopt;
}

PanelView::PanelView(const PanelHost& host, const std::vector<PanelGauge>& gauges) : host_(host) {
  placements_ = render::arrange_panel(host, gauges, bitmaps_);
  const render::Image first = render::panel_picture(host, placements_, bitmaps_);
  layout_.width = first.width();
  layout_.height = first.height();
  for (const render::Placement& p : placements_) {
    const GaugeInstance& gauge = host.gauge(p.label);
    const render::Image& natural = render::gauge_background(gauge, bitmaps_);
    const render::BoxSize box = render::box_size(p, natural);
    GaugeBox g{p.label, p.x, p.y, box.width, box.height, natural.width(), natural.height(), {}};
    for (const MouseArea& a : gauge.areas) {
      g.areas.push_back({p.x + scaled(a.x, box.width, natural.width()),
                         p.y + scaled(a.y, box.height, natural.height()),
                         scaled(a.width, box.width, natural.width()),
                         scaled(a.height, box.height, natural.height()), a.cursor,
                         (a.mouse_flags & frame::kMouseRepeatWhileHeld) != 0});
    }
    layout_.gauges.push_back(std::move(g));
  }
}

std::vector<uint64_t> PanelView::visible_state() const {
  std::vector<uint64_t> state;
  for (const render::Placement& p : placements_) {
    const GaugeInstance& gauge = host_.gauge(p.label);
    for (size_t i = 0; i < gauge.elements.size(); ++i) {
      const ElementState& e = gauge.elements[i];
      state.push_back(gauge.flags(i));
      state.push_back(e.needle_seen ? std::bit_cast<uint64_t>(e.last_value) : 0);
    }
  }
  return state;
}

std::optional<std::vector<uint8_t>> PanelView::picture_if_changed() {
  // A flight's `stop` takes its gauges away: the last picture stays.
  if (host_.started()) {
    was_started_ = true;
  } else if (was_started_) {
    return std::nullopt;
  }
  std::vector<uint64_t> state = visible_state();
  if (drawn_ && state == last_state_) return std::nullopt;
  drawn_ = true;
  last_state_ = std::move(state);
  return render::png_bytes(render::panel_picture(host_, placements_, bitmaps_));
}

}  // namespace host::serve
