#include "host/report/flight_recorder.h"

#include <algorithm>

#include "host/host_error.h"
#include "host/panel_host.h"
#include "host/render/flight_layout.h"
#include "host/report/flight_view.h"
#include "host/sim_names.h"

namespace host::report {
namespace {

// An element's picture beside its name: at most this many pixels high.
constexpr int64_t kElementSide = 32;

}  // namespace

FlightRecorder::FlightRecorder(PanelHost& panel, std::vector<PanelGauge> gauges,
                               size_t max_snapshots, int32_t max_width)
    : panel_(panel),
      gauges_(std::move(gauges)),
      max_snapshots_(std::max<size_t>(max_snapshots, 2)),
      max_width_(std::max(max_width, 1)) {
  radalt_label_ = radalt_label(gauges_);
  for (const PanelGauge& g : gauges_) has_gpws_ |= g.module == "vrn_gpws";
}

void FlightRecorder::after_frame(uint32_t frame) {
  const SimVariables& sim = panel_.sim();
  FlightSample sample;
  sample.frame = frame;
  sample.height_ft = height_above_ground_ft(panel_);
  sample.vertical_speed_fpm = vertical_speed_fpm(panel_);
  sample.decision_height_ft = series_value(panel_, radalt_label_, Series::kDecisionHeight);
  sample.height_above_terrain_ft =
      (sim.get(kTokenAltitude) - sim.get(kTokenTerrainHeight)) * kFeetPerMetre;
  samples_.push_back(sample);

  // Clicks between frames are stamped with the frame before; the picture
  // after this frame shows what they did as well.
  const std::vector<Event>& all = panel_.events().events();
  std::vector<FlightEvent> events;
  bool visible = false;
  for (; events_read_ < all.size(); ++events_read_) {
    if (auto e = flight_event(all[events_read_])) {
      visible |= on_panel(e->kind);
      if (e->kind == MarkKind::kLamp) e->picture = element_picture(e->label, e->element);
      events_.push_back(*e);
      events.push_back(std::move(*e));
    }
  }
  if (visible) take_snapshot(frame, std::move(events));
}

void FlightRecorder::take_snapshot(uint32_t frame, std::vector<FlightEvent> events) {
  EventSnapshot snapshot{frame, std::move(events), std::nullopt};
  if (!gauges_.empty()) {
    // The gauges exist only once the flight has placed them.
    if (layout_.empty()) layout_ = render::arrange_panel(panel_, gauges_, bitmaps_);
    render::Image picture = render::panel_picture(panel_, layout_, bitmaps_);
    if (picture.width() > max_width_) {
      const auto height = static_cast<int32_t>(
          std::max<int64_t>(1, int64_t{picture.height()} * max_width_ / picture.width()));
      picture = render::scale_nearest(picture, max_width_, height);
    }
    snapshot.picture = pictures_.add(picture);
  }
  snapshots_.push_back(std::move(snapshot));
}

std::optional<size_t> FlightRecorder::element_picture(const std::string& label, uint32_t element) {
  const auto key = std::make_pair(label, element);
  if (auto it = element_pictures_.find(key); it != element_pictures_.end()) return it->second;
  std::optional<size_t> index;
  try {
    const GaugeInstance& gauge = panel_.gauge(label);
    if (element < gauge.elements.size()) {
      render::Image picture = bitmaps_.get(gauge.module, gauge.fields(element).bitmap_id);
      // Small beside the text: at most kElementSide high and twice as wide.
      const int64_t w = picture.width();
      const int64_t h = picture.height();
      if (h > kElementSide || w > 2 * kElementSide) {
        const int64_t scale_num = std::min<int64_t>(kElementSide * w, 2 * kElementSide * h);
        picture = render::scale_nearest(
            picture, static_cast<int32_t>(std::max<int64_t>(1, w * scale_num / (w * h))),
            static_cast<int32_t>(std::max<int64_t>(1, scale_num / w)));
      }
      index = pictures_.add(picture);
    }
  } catch (const HostError&) {
    // An element without a picture is named in words only.
  }
  element_pictures_[key] = index;
  return index;
}

std::vector<const EventSnapshot*> FlightRecorder::snapshots() const {
  std::vector<const EventSnapshot*> out;
  const size_t n = snapshots_.size();
  if (n <= max_snapshots_) {
    for (const EventSnapshot& s : snapshots_) out.push_back(&s);
    return out;
  }
  // Evenly spread: the i-th of k picks the nearest of i * (n - 1) / (k - 1).
  const size_t k = max_snapshots_;
  for (size_t i = 0; i < k; ++i) out.push_back(&snapshots_[(i * (n - 1) + (k - 1) / 2) / (k - 1)]);
  return out;
}

}  // namespace host::report
