#include "host/render/flight_layout.h"

#include <algorithm>

#include "host/panel_host.h"
#include "host/render/gauge_renderer.h"

namespace host::render {
namespace {

// Gauges of one window of one panel file share a "where" prefix (the panel
// line of the flight) and a window number.
std::string window_key(const PanelGauge& g) {
  return g.where.substr(0, g.where.find(' ')) + "#" + std::to_string(g.window);
}

}  // namespace

std::vector<std::string> gauge_labels(const std::vector<PanelGauge>& gauges) {
  std::vector<std::string> labels;
  for (const PanelGauge& g : gauges) {
    std::string label = g.gauge;
    for (int n = 2; std::find(labels.begin(), labels.end(), label) != labels.end(); ++n) {
      label = g.gauge + "@" + std::to_string(n);
    }
    labels.push_back(label);
  }
  return labels;
}

std::vector<Placement> arrange_panel(const PanelHost& panel, const std::vector<PanelGauge>& gauges,
                                     BitmapLibrary& bitmaps) {
  const std::vector<std::string> labels = gauge_labels(gauges);
  std::vector<Placement> layout;
  std::vector<size_t> loose;  // gauges without a place
  int64_t right = 0;          // of everything placed so far
  int64_t window_left = 0;
  std::string window;
  for (size_t i = 0; i < gauges.size(); ++i) {
    const PanelGauge& g = gauges[i];
    if (g.where.empty()) {
      loose.push_back(i);
      continue;
    }
    if (window_key(g) != window) {
      window = window_key(g);
      window_left = layout.empty() ? 0 : right + kPanelGap;
    }
    Placement p{labels[i], static_cast<int32_t>(std::min<int64_t>(window_left + g.x, INT32_MAX)),
                g.y, g.width, g.height};
    const BoxSize box = box_size(p, gauge_background(panel.gauge(p.label), bitmaps));
    right = std::max(right, int64_t{p.x} + box.width);
    layout.push_back(p);
  }
  for (size_t i : loose) {
    const Image& natural = gauge_background(panel.gauge(labels[i]), bitmaps);
    Placement p{labels[i], static_cast<int32_t>(std::min<int64_t>(right + kPanelGap, INT32_MAX)),
                kPanelGap, 0, 0};
    right = int64_t{p.x} + natural.width();
    layout.push_back(p);
  }
  return layout;
}

}  // namespace host::render
