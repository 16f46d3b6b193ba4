#pragma once
// The panel as the page shows it: the host's picture of the flight's
// gauges, drawn again only when something visible changed, and where each
// gauge and click area is, so a click on the picture reaches the gauge's
// own pixel.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/panel_config.h"
#include "host/render/bitmap_library.h"
#include "host/render/panel_picture.h"

namespace host {
class PanelHost;
}

namespace host::serve {

struct AreaBox {
  int32_t x, y, width, height;  // on the panel picture
  int32_t cursor;               // the host's cursor code
  bool repeats;                 // called again while the button is held
};

struct GaugeBox {
  std::string label;
  int32_t x, y, width, height;            // on the panel picture
  int32_t natural_width, natural_height;  // the gauge's own pixels
  std::vector<AreaBox> areas;
};

struct PanelLayout {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<GaugeBox> gauges;
};

// A gauge and its own pixel under a pixel of the panel picture.
struct GaugePoint {
  std::string label;
  int32_t x, y;
};
std::optional<GaugePoint> gauge_at(const PanelLayout& layout, int32_t x, int32_t y);

class PanelView {
 public:
  // The gauges must be on the panel already.
  PanelView(const PanelHost& host, const std::vector<PanelGauge>& gauges);

  const PanelLayout& layout() const { return layout_; }
  // The panel as a PNG file's bytes when it looks different from the last
  // time it was asked (the first time always), else nothing.
  std::optional<std::vector<uint8_t>> picture_if_changed();

 private:
  std::vector<uint64_t> visible_state() const;

  const PanelHost& host_;
  render::BitmapLibrary bitmaps_;
  std::vector<render::Placement> placements_;
  PanelLayout layout_;
  std::vector<uint64_t> last_state_;
  bool drawn_ = false;
  bool was_started_ = false;  // once stopped, its gauges are gone
};

}  // namespace host::serve
