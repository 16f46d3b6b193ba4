#pragma once
// Pictures of a flight: the whole panel after every frame in which
// something visible changed (an element shown or hidden, a shown needle's
// value), and a contact sheet of them at the end.
#include <cstdint>
#include <string>
#include <vector>

#include "host/panel_config.h"
#include "host/render/bitmap_library.h"
#include "host/render/contact_sheet.h"
#include "host/render/panel_picture.h"

namespace host {
class PanelHost;
}

namespace host::render {

class PanelSnapshots {
 public:
  // Pictures of the gauges a flight places (its layout) into `folder`, made
  // when missing.
  PanelSnapshots(const PanelHost& panel, std::string folder, std::vector<PanelGauge> gauges);

  // Writes FOLDER/frame_NNNNNN.png when the panel looks different from the
  // last picture (the first frame always).
  void after_frame(uint32_t frame);
  // Writes FOLDER/contact_sheet.png, when there was any picture.
  void finish();
  size_t pictures() const { return pictures_; }

 private:
  std::vector<uint64_t> visible_state() const;

  const PanelHost& panel_;
  std::string folder_;
  std::vector<PanelGauge> gauges_;
  std::vector<Placement> layout_;  // once the gauges are on the panel
  BitmapLibrary bitmaps_;
  ContactSheet sheet_;
  std::vector<uint64_t> last_state_;
  size_t pictures_ = 0;
};

}  // namespace host::render
