#pragma once
// What a report needs from a flight as it is flown: the simulation values of
// every frame (height above ground, vertical speed, the radar altimeter's
// decision height) and a picture of the panel at every frame with an event.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/panel_config.h"
#include "host/render/bitmap_library.h"
#include "host/render/panel_picture.h"
#include "host/report/flight_events.h"
#include "host/report/picture_set.h"

namespace host {
class PanelHost;
}

namespace host::report {

struct FlightSample {
  uint32_t frame = 0;
  double height_ft = 0.0;                    // height above ground (flight_view.h)
  double vertical_speed_fpm = 0.0;           // token 65
  std::optional<double> decision_height_ft;  // with a radar altimeter on the panel
  double height_above_terrain_ft = 0.0;      // altitude less terrain height (token 614)
};

struct EventSnapshot {
  uint32_t frame = 0;
  std::vector<FlightEvent> events;  // every event since the frame before, vars included
  std::optional<size_t> picture;    // the panel after the frame, among pictures()
};

class FlightRecorder {
 public:
  // The flight's gauges (its layout); pictures wider than `max_width` are
  // shrunk to it.
  FlightRecorder(PanelHost& panel, std::vector<PanelGauge> gauges, size_t max_snapshots = 40,
                 int32_t max_width = 420);

  void after_frame(uint32_t frame);

  const std::vector<FlightSample>& samples() const { return samples_; }
  // Every event a report marks, lamps with their element's picture.
  const std::vector<FlightEvent>& events() const { return events_; }
  // The panels and the elements, each different picture once.
  const PictureSet& pictures() const { return pictures_; }
  // At most the most asked for, evenly spread, with the first and the last.
  std::vector<const EventSnapshot*> snapshots() const;
  size_t event_frames() const { return snapshots_.size(); }
  bool has_decision_height() const { return radalt_label_.has_value(); }
  // Whether the flight placed the GPWS, whose envelope the report maps.
  bool has_gpws() const { return has_gpws_; }

 private:
  void take_snapshot(uint32_t frame, std::vector<FlightEvent> events);
  std::optional<size_t> element_picture(const std::string& label, uint32_t element);

  PanelHost& panel_;
  std::vector<PanelGauge> gauges_;
  size_t max_snapshots_;
  int32_t max_width_;
  std::optional<std::string> radalt_label_;
  bool has_gpws_ = false;
  std::vector<render::Placement> layout_;  // once the gauges are on the panel
  render::BitmapLibrary bitmaps_;
  size_t events_read_ = 0;
  std::vector<FlightSample> samples_;
  std::vector<FlightEvent> events_;
  std::vector<EventSnapshot> snapshots_;
  PictureSet pictures_;
  std::map<std::pair<std::string, uint32_t>, std::optional<size_t>> element_pictures_;
};

}  // namespace host::report
