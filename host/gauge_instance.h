#pragma once
// One gauge placed on the panel: its header, its element chain as the host
// walks it, and what the host last saw of each element.
#include <cstdint>
#include <string>
#include <vector>

#include "frame/records.h"

namespace host {

class LoadedModule;

struct ElementState {
  frame::ElementHeader* record;
  uint32_t last_flags;
  bool needle_seen = false;
  double last_value = 0.0;
};

// A child mouse rectangle of a gauge, in list order.
struct MouseArea {
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
  uint32_t mouse_flags;
  frame::MouseRoutine routine;

  bool contains(int32_t px, int32_t py) const;
};

struct GaugeInstance {
  std::string label;  // the gauge name, made unique on the panel
  LoadedModule* module;
  frame::GaugeHeader* header;
  std::vector<ElementState> elements;
  std::vector<MouseArea> areas;
};

// Walks the gauge's chain and mouse list; throws HostError when either does
// not end within reason.
GaugeInstance make_gauge_instance(std::string label, LoadedModule* module,
                                  frame::GaugeHeader* header);

}  // namespace host
