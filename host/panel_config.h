#pragma once
// The simulator's panel configuration: which gauges stand where.
//
//   [Window Titles]
//   Window00=Main panel            windows are read from Window00 up to the first gap
//   [Window00]
//   size_mm=640,480                the window's size in its own units (pixels here)
//   gauge00=vrn_gpws!test, 10, 10, 46, 46    module!gauge, x, y[, w[, h]]
//   // a comment
// A gauge without h keeps its aspect; without w it has its natural size.
// Other keys of a window (file=, position=, visible=, ident=) are accepted
// and not used.
#include <cstdint>
#include <string>
#include <vector>

namespace host {

struct PanelGauge {
  std::string where;  // file:line of its line
  std::string module;
  std::string gauge;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;   // 0: natural size
  int32_t height = 0;  // 0: keep the aspect
  size_t window = 0;
};

struct PanelWindow {
  std::string title;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<PanelGauge> gauges;  // in gaugeNN order
};

struct PanelConfig {
  std::vector<PanelWindow> windows;
  // Every gauge in panel order: window by window, gauge by gauge.
  std::vector<PanelGauge> gauges() const;
};

// Throws HostError "file:line: what is wrong" on any mistake.
PanelConfig parse_panel(const std::string& text, const std::string& file_name);
PanelConfig load_panel(const std::string& path);

}  // namespace host
