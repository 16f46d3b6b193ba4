#include "host/render/snapshots.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "frame/convert.h"
#include "host/host_error.h"
#include "host/panel_host.h"
#include "host/render/flight_layout.h"
#include "host/render/png_writer.h"

namespace host::render {
namespace {

// Marks in the state list: they cannot be mistaken for needle values, which
// are stored as their bits next to a "shown needle" mark.
constexpr uint64_t kHidden = 1;
constexpr uint64_t kShown = 2;
constexpr uint64_t kNeedleNoValue = 3;
constexpr uint64_t kNeedleValue = 4;

std::string frame_file(uint32_t frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%06u.png", static_cast<unsigned>(frame));
  return name;
}

}  // namespace

PanelSnapshots::PanelSnapshots(const PanelHost& panel, std::string folder,
                               std::vector<PanelGauge> gauges)
    : panel_(panel), folder_(std::move(folder)), gauges_(std::move(gauges)) {
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  if (error) throw HostError("cannot make the folder " + folder_ + ": " + error.message());
}

std::vector<uint64_t> PanelSnapshots::visible_state() const {
  std::vector<uint64_t> state;
  for (const Placement& p : layout_) {
    const GaugeInstance& gauge = panel_.gauge(p.label);
    for (size_t i = 0; i < gauge.elements.size(); ++i) {
      const ElementState& e = gauge.elements[i];
      if ((gauge.flags(i) & frame::kImageHidden) != 0) {
        state.push_back(kHidden);
      } else if (e.type != frame::kNeedle) {
        state.push_back(kShown);
      } else if (!e.needle_seen) {
        state.push_back(kNeedleNoValue);
      } else {
        state.push_back(kNeedleValue);
        state.push_back(std::bit_cast<uint64_t>(e.last_value));
      }
    }
  }
  return state;
}

void PanelSnapshots::after_frame(uint32_t frame) {
  if (gauges_.empty()) return;
  // The gauges exist only once the flight has placed them.
  if (layout_.empty()) layout_ = arrange_panel(panel_, gauges_, bitmaps_);
  std::vector<uint64_t> state = visible_state();
  if (pictures_ > 0 && state == last_state_) return;
  Image picture = panel_picture(panel_, layout_, bitmaps_);
  write_png(folder_ + "/" + frame_file(frame), picture);
  last_state_ = std::move(state);
  ++pictures_;
  const double clock = std::floor(panel_.clock());
  sheet_.add(
      "F" + std::to_string(frame) + " T" + std::to_string(frame::trunc_saturate<int64_t>(clock)),
      picture);
}

void PanelSnapshots::finish() {
  Image sheet = sheet_.compose();
  if (!sheet.empty()) write_png(folder_ + "/contact_sheet.png", sheet);
}

}  // namespace host::render
