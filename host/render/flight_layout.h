#pragma once
// Where a flight's gauges stand in its pictures.
#include <string>
#include <vector>

#include "host/panel_config.h"
#include "host/render/bitmap_library.h"
#include "host/render/panel_picture.h"

namespace host {
class PanelHost;
}

namespace host::render {

// The labels the panel gives these gauges, placed in this order: a second
// gauge of the same name is NAME@2, and so on.
std::vector<std::string> gauge_labels(const std::vector<PanelGauge>& gauges);

// Gauges from a panel configuration in their boxes, each further window to
// the right of those before it; gauges placed on their own after them, side
// by side at natural size. The gauges must be on the panel already.
std::vector<Placement> arrange_panel(const PanelHost& panel, const std::vector<PanelGauge>& gauges,
                                     BitmapLibrary& bitmaps);

}  // namespace host::render
