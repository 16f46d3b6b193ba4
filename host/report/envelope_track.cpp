#include "host/report/envelope_track.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "frame/convert.h"
#include "host/envelope/descent_sweep.h"
#include "host/envelope/envelope_picture.h"
#include "host/envelope/terrain_sweep.h"

namespace host::report {
namespace {

using envelope::GridAxis;

// The same axes as gaugehost envelope.
const GridAxis kDescentHeight{0.0, 2600.0, 2};
const GridAxis kVerticalSpeed{0.0, -8000.0, 2};
const GridAxis kTerrainHeight{0.0, 2000.0, 2};
const GridAxis kClosure{0.0, 8000.0, 2};

// Where values fall on one map: the centres of its first and last cells
// hold the axes' ends.
struct MapPixels {
  double x0, x1, y0, y1;  // x of columns.from and .to, y of rows.from and .to
  GridAxis rows, columns;
  double left, right, top, bottom;  // the map's edges

  std::optional<std::pair<double, double>> at(double row_value, double column_value) const {
    const double x = x0 + (column_value - columns.from) / (columns.to - columns.from) * (x1 - x0);
    const double y = y0 + (row_value - rows.from) / (rows.to - rows.from) * (y1 - y0);
    if (!std::isfinite(x) || !std::isfinite(y) || x < left || x >= right || y < top ||
        y >= bottom) {
      return std::nullopt;
    }
    return std::make_pair(x, y);
  }
};

template <typename Descent, typename Terrain>
MapPixels map_pixels(const Descent& d, const Terrain& t, int map) {
  const GridAxis rows = map == 0 ? d.rows : t.rows;
  const GridAxis columns = map == 0 ? d.columns : t.columns;
  const envelope::CellBox first = envelope::cell_box(d, t, map, 0, 0);
  const envelope::CellBox last = envelope::cell_box(d, t, map, rows.cells - 1, columns.cells - 1);
  const double half = first.side / 2.0;
  return {first.x + half,
          last.x + half,
          first.y + half,
          last.y + half,
          rows,
          columns,
          static_cast<double>(first.x),
          static_cast<double>(last.x + last.side),
          static_cast<double>(last.y),
          static_cast<double>(first.y + first.side)};
}

void dot(render::Image& image, double x, double y) {
  const int32_t cx = frame::trunc_to_i32(std::floor(x));
  const int32_t cy = frame::trunc_to_i32(std::floor(y));
  image.fill_rect(cx - 1, cy - 1, 2, 2, kTrackColour);
}

// Segments between neighbouring points on the map; a point off the map
// breaks the line.
void draw_track(render::Image& image, const MapPixels& map,
                const std::vector<std::pair<double, double>>& values) {
  bool pen_down = false;
  std::pair<double, double> last{0.0, 0.0};
  for (const auto& [row_value, column_value] : values) {
    const auto p = map.at(row_value, column_value);
    if (!p) {
      pen_down = false;
      continue;
    }
    const auto [x, y] = *p;
    if (pen_down) {
      const double steps =
          std::ceil(std::max(std::fabs(x - last.first), std::fabs(y - last.second)));
      for (double s = 0; s <= steps; ++s) {
        const double f = steps == 0 ? 0.0 : s / steps;
        dot(image, last.first + (x - last.first) * f, last.second + (y - last.second) * f);
      }
    } else {
      dot(image, x, y);
    }
    last = {x, y};
    pen_down = true;
  }
}

}  // namespace

std::vector<double> closure_rates(const std::vector<FlightSample>& samples, double fps) {
  std::vector<double> out(samples.size(), 0.0);
  const auto window = static_cast<size_t>(std::max(1.0, std::round(fps)));
  for (size_t i = window; i < samples.size(); ++i) {
    const double seconds = (samples[i].frame - samples[i - window].frame) / fps;
    if (seconds <= 0.0) continue;
    out[i] = (samples[i - window].height_above_terrain_ft - samples[i].height_above_terrain_ft) /
             seconds * 60.0;
  }
  return out;
}

EnvelopeMaps sweep_envelope(const envelope::SweepSetup& setup, int32_t grid) {
  GridAxis height = kDescentHeight, speed = kVerticalSpeed, terrain = kTerrainHeight,
           closure = kClosure;
  height.cells = speed.cells = terrain.cells = closure.cells = grid;
  return {envelope::sweep_descent(setup, height, speed),
          envelope::sweep_terrain(setup, terrain, closure)};
}

render::Image envelope_with_track(const EnvelopeMaps& maps,
                                  const std::vector<FlightSample>& samples, double fps) {
  const auto& descent = maps.descent;
  const auto& terrain_map = maps.terrain;
  render::Image image = envelope::envelope_picture(descent, terrain_map);

  // More points than pixels along the track add nothing.
  const size_t stride = std::max<size_t>(1, samples.size() / 20000);
  const std::vector<double> closures = closure_rates(samples, fps);
  std::vector<std::pair<double, double>> descent_track, terrain_track;
  for (size_t i = 0; i < samples.size(); i += stride) {
    descent_track.emplace_back(samples[i].height_ft, samples[i].vertical_speed_fpm);
    terrain_track.emplace_back(samples[i].height_above_terrain_ft, closures[i]);
  }
  draw_track(image, map_pixels(descent, terrain_map, 0), descent_track);
  draw_track(image, map_pixels(descent, terrain_map, 1), terrain_track);
  return image;
}

}  // namespace host::report
