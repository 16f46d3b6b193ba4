#include "host/envelope/envelope_picture.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "formats/pixel_font.h"
#include "frame/convert.h"
#include "host/envelope/label_font.h"

namespace host::envelope {
namespace {

using render::Image;
using render::Rgb;

constexpr Rgb kBackground{16, 18, 22};
constexpr Rgb kInk{220, 220, 210};
constexpr Rgb kFaint{120, 124, 130};
constexpr int32_t kText = 2;  // label scale: 6 x 10 pixel glyphs
constexpr int32_t kPlotSide = 420;
constexpr int32_t kMargin = 24;
constexpr int32_t kTickLength = 5;
constexpr int32_t kLeftRoom = 100;  // axis title, tick labels and ticks
constexpr int32_t kTopRoom = 48;
constexpr int32_t kBottomRoom = 56;
constexpr int32_t kLegendRoom = 44;

struct MapPanel {
  std::string title;
  std::string row_title;
  std::string column_title;
  GridAxis rows;
  GridAxis columns;
  std::function<Rgb(int32_t row, int32_t column)> colour;
};

// A round step giving at most about eight ticks over the axis.
double tick_step(const GridAxis& axis) {
  const double span = std::fabs(axis.to - axis.from);
  for (double step : {100.0, 200.0, 250.0, 500.0, 1000.0, 2000.0, 2500.0, 5000.0, 10000.0}) {
    if (span / step <= 8.0) return step;
  }
  return span;
}

// The values of the ticks, from `from` towards `to`.
std::vector<double> ticks(const GridAxis& axis) {
  std::vector<double> out;
  const double step = tick_step(axis);
  if (step <= 0.0) return {axis.from};
  const double lo = std::min(axis.from, axis.to);
  const double hi = std::max(axis.from, axis.to);
  for (double v = std::ceil(lo / step) * step; v <= hi + 1e-9; v += step) out.push_back(v);
  return out;
}

// Pixels from the first cell's near edge to the centre of where `value` lies.
int32_t offset_of(const GridAxis& axis, int32_t cell, double value) {
  const double fraction = axis.to == axis.from ? 0.0 : (value - axis.from) / (axis.to - axis.from);
  return frame::trunc_saturate<int32_t>(cell / 2.0 + fraction * (axis.cells - 1) * cell + 0.5);
}

std::string number(double value) {
  return std::to_string(frame::trunc_saturate<int64_t>(std::round(value)));
}

int32_t cell_size(const SweepMap<DescentAlert>& d, const SweepMap<uint8_t>& t) {
  const int32_t most =
      std::max({d.rows.cells, d.columns.cells, t.rows.cells, t.columns.cells, int32_t{1}});
  return std::max(1, kPlotSide / most);
}

// The left edge of map `index`, the maps standing side by side.
int32_t panel_left(const GridAxis* columns, int index, int32_t cell) {
  int32_t left = kMargin;
  for (int i = 0; i < index; ++i) left += kLeftRoom + columns[i].cells * cell + kMargin;
  return left;
}

void draw_panel(Image& image, int32_t left, int32_t top, int32_t cell, const MapPanel& p) {
  const int32_t plot_x = left + kLeftRoom;
  const int32_t plot_y = top + kTopRoom;
  const int32_t plot_w = p.columns.cells * cell;
  const int32_t plot_h = p.rows.cells * cell;
  draw_label(image, plot_x, top + 12, p.title, kInk, kText);
  for (int32_t r = 0; r < p.rows.cells; ++r) {
    for (int32_t c = 0; c < p.columns.cells; ++c) {
      image.fill_rect(plot_x + c * cell, plot_y + (p.rows.cells - 1 - r) * cell, cell, cell,
                      p.colour(r, c));
    }
  }
  // A one-pixel border around the map.
  image.fill_rect(plot_x - 1, plot_y - 1, plot_w + 2, 1, kFaint);
  image.fill_rect(plot_x - 1, plot_y + plot_h, plot_w + 2, 1, kFaint);
  image.fill_rect(plot_x - 1, plot_y - 1, 1, plot_h + 2, kFaint);
  image.fill_rect(plot_x + plot_w, plot_y - 1, 1, plot_h + 2, kFaint);

  const int32_t glyph_h = label_height(kText);
  for (double v : ticks(p.columns)) {
    const int32_t x = plot_x + offset_of(p.columns, cell, v);
    image.fill_rect(x, plot_y + plot_h + 1, 1, kTickLength, kInk);
    const std::string text = number(v);
    draw_label(image, x - label_width(text, kText) / 2, plot_y + plot_h + kTickLength + 4, text,
               kInk, kText);
  }
  draw_label(image, plot_x + (plot_w - label_width(p.column_title, kText)) / 2,
             plot_y + plot_h + kTickLength + glyph_h + 14, p.column_title, kInk, kText);
  for (double v : ticks(p.rows)) {
    const int32_t y = plot_y + plot_h - 1 - offset_of(p.rows, cell, v);
    image.fill_rect(plot_x - 1 - kTickLength, y, kTickLength, 1, kInk);
    const std::string text = number(v);
    draw_label(image, plot_x - kTickLength - 5 - label_width(text, kText), y - glyph_h / 2, text,
               kInk, kText);
  }
  draw_label_upwards(image, left + 8, plot_y + (plot_h - label_width(p.row_title, kText)) / 2,
                     p.row_title, kInk, kText);
}

struct LegendEntry {
  Rgb colour;
  const char* text;
};
constexpr LegendEntry kLegend[] = {{kQuietColour, "NO ALERT"},
                                   {kSinkRateColour, "SINK RATE VOICE"},
                                   {kPullUpColour, "PULL UP (LAMP, THEN VOICE)"},
                                   {kTerrainColour, "TERRAIN ALERT"}};
constexpr int32_t kSwatch = formats::kCaptionGlyphHeight * kText + 4;
constexpr int32_t kLegendGap = 28;

// Draws the legend from (left, top) when given an image; returns its width.
int32_t legend(Image* image, int32_t left, int32_t top) {
  int32_t x = left;
  for (const LegendEntry& e : kLegend) {
    if (image != nullptr) {
      image->fill_rect(x, top, kSwatch, kSwatch, e.colour);
      draw_label(*image, x + kSwatch + 8, top + 2, e.text, kInk, kText);
    }
    x += kSwatch + 8 + label_width(e.text, kText) + kLegendGap;
  }
  return x - kLegendGap - left;
}

}  // namespace

Image envelope_picture(const SweepMap<DescentAlert>& descent, const SweepMap<uint8_t>& terrain) {
  const int32_t cell = cell_size(descent, terrain);
  const MapPanel panels[] = {
      {"DESCENT BANDS", "HEIGHT ABOVE GROUND FT", "VERTICAL SPEED FT/MIN", descent.rows,
       descent.columns,
       [&](int32_t r, int32_t c) {
         switch (descent.at(r, c)) {
           case DescentAlert::kSinkRate:
             return kSinkRateColour;
           case DescentAlert::kPullUp:
             return kPullUpColour;
           default:
             return kQuietColour;
         }
       }},
      {"TERRAIN CLOSURE", "HEIGHT ABOVE TERRAIN FT", "CLOSURE RATE FT/MIN", terrain.rows,
       terrain.columns,
       [&](int32_t r, int32_t c) { return terrain.at(r, c) != 0 ? kTerrainColour : kQuietColour; }},
  };
  const GridAxis columns[] = {descent.columns, terrain.columns};
  int32_t width = panel_left(columns, 2, cell);
  const int32_t plot_h = std::max(descent.rows.cells, terrain.rows.cells) * cell;
  width = std::max(width, kMargin * 2 + kLeftRoom + legend(nullptr, 0, 0));
  const int32_t height = kMargin + kTopRoom + plot_h + kBottomRoom + kLegendRoom;
  Image image(width, height, kBackground);
  for (int i = 0; i < 2; ++i)
    draw_panel(image, panel_left(columns, i, cell), kMargin, cell, panels[i]);
  legend(&image, kMargin + kLeftRoom, kMargin + kTopRoom + plot_h + kBottomRoom);
  return image;
}

CellBox cell_box(const SweepMap<DescentAlert>& descent, const SweepMap<uint8_t>& terrain, int map,
                 int32_t row, int32_t column) {
  const int32_t cell = cell_size(descent, terrain);
  const GridAxis columns[] = {descent.columns, terrain.columns};
  const int32_t rows = map == 0 ? descent.rows.cells : terrain.rows.cells;
  return {panel_left(columns, map, cell) + kLeftRoom + column * cell,
          kMargin + kTopRoom + (rows - 1 - row) * cell, cell};
}

}  // namespace host::envelope
