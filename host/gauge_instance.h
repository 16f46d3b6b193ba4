#pragma once
// One gauge placed on the panel: its header, its element chain as the host
// walks it, and what the host last saw of each element. Records are read
// through the module's space.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frame/records.h"
#include "host/gauge_copy.h"
#include "host/module_space.h"

namespace host {

class LoadedModule;

struct ElementState {
  RecordRef record;
  uint32_t type = 0;  // as placed
  bool needle_seen = false;
  double last_value = 0.0;
};

// What the host reads of an element's header.
struct ElementFields {
  uint32_t type;
  uint32_t bitmap_id;
  int32_t x;
  int32_t y;
  int32_t pivot_x;
  int32_t pivot_y;
  uint32_t image_flags;
};

// A child mouse rectangle of a gauge, in list order.
struct MouseArea {
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
  uint32_t mouse_flags;
  RecordRef routine;
  int32_t cursor;  // the host's cursor code shown over it

  bool contains(int32_t px, int32_t py) const;
};

struct GaugeInstance {
  std::string label;                   // the gauge name, made unique on the panel
  const char* event_label = nullptr;   // the label as the host's events carry it
  const char* event_module = nullptr;  // its module's name, likewise
  LoadedModule* module;
  ModuleSpace* space;  // where its records are
  // The header the gauge callback is given: the module's own, or the host's
  // copy of it; `elements` are that header's chain.
  RecordRef header;
  std::vector<ElementState> elements;
  // The module's own records when the host placed a copy (else empty): the
  // element-list routines still name them.
  std::vector<RecordRef> template_elements;
  std::unique_ptr<GaugeCopy> copy;
  std::vector<size_t> needles;  // the needles' places in `elements`, in chain order
  std::vector<MouseArea> areas;

  uint32_t flags(size_t element) const {
    return space->u32(elements[element].record + space->layout().element_image_flags);
  }
  ElementFields fields(size_t element) const;
  // A needle's table: its length as the record says, and its entries.
  uint32_t needle_table_count(size_t element) const;
  std::vector<frame::NeedleEntry> needle_table(size_t element) const;
};

// Walks the gauge's chain and mouse list; throws HostError when either does
// not end within reason. With `own_copy` the gauge is placed as a copy of
// its header and chain (see GaugeCopy). A gauge without a module has its
// records in the host's own memory.
GaugeInstance make_gauge_instance(std::string label, LoadedModule* module, RecordRef header,
                                  bool own_copy = false);

// Calls one of the element-list routines in a gauge's header.
void run_element_list_routine(ModuleSpace& space, RecordRef header, frame::ElementListSlot which,
                              uint32_t arg);

// What the host last saw of the flags of every element on the panel. Module
// code may change them in any call, so the host looks after each one. Module
// code reaches only its own module's records, so the look covers the
// elements of the module that just ran: a flat list per module keeps it a
// short loop.
class ElementWatch {
 public:
  // Watches the elements of the gauge placed `gauge_index`th, as they are now.
  void add(const GaugeInstance& gauge, uint32_t gauge_index);
  void clear() { modules_.clear(); }

  // Calls report(gauge_index, element_index, before, now) for each element
  // of `module`'s gauges whose flags differ from the last look, in panel and
  // chain order.
  template <typename Report>
  void take_changes(const LoadedModule* module, Report&& report) {
    for (Module& m : modules_) {
      if (m.module != module) continue;
      for (Watched& w : m.watched) {
        uint32_t now = m.space->u32(w.flags_at);
        if (now == w.last) continue;
        uint32_t before = w.last;
        w.last = now;
        report(w.gauge, w.element, before, now);
      }
      return;
    }
  }
  // Takes every element's flags as seen, without reporting them.
  void mark_seen();

 private:
  struct Watched {
    RecordRef flags_at;
    uint32_t last;
    uint32_t gauge;
    uint32_t element;
  };
  struct Module {
    const LoadedModule* module;
    const ModuleSpace* space;
    std::vector<Watched> watched;
  };
  std::vector<Module> modules_;
};

}  // namespace host
