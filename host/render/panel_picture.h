#pragma once
// A picture of several placed gauges on the dark panel.
#include <cstdint>
#include <string>
#include <vector>

#include "host/render/bitmap_library.h"
#include "host/render/image.h"

namespace host {
class PanelHost;
}

namespace host::render {

// A gauge's box on the panel, in panel pixels. Width 0: the gauge's natural
// size; height 0: as high as the width keeps its proportions.
struct Placement {
  std::string label;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// The panel shown around and between gauges.
inline constexpr int32_t kPanelGap = 8;

struct BoxSize {
  int32_t width;
  int32_t height;
};
// The size of a placement's box for a gauge picture of `natural` size;
// throws HostError for negative or absurd sizes.
BoxSize box_size(const Placement& placement, const Image& natural);

// Each gauge drawn and scaled (nearest neighbour) into its box; the panel
// reaches just past the furthest box. Throws HostError for an unknown label.
Image panel_picture(const PanelHost& panel, const std::vector<Placement>& layout,
                    BitmapLibrary& bitmaps);

}  // namespace host::render
