#pragma once
// A gauge module the host has loaded and checked: its ImportTable and the
// gauge headers listed in its Linkage.
#include <memory>
#include <string>
#include <vector>

#include "frame/records.h"
#include "host/module_library.h"

namespace host {

class LoadedModule {
 public:
  // Loads the file at `path` and checks that it is a gauge module; throws
  // HostError with the reason when it is not.
  LoadedModule(std::string name, const std::string& path);

  const std::string& name() const { return name_; }
  frame::ImportTableRecord* import_table() const { return import_table_; }
  frame::ModuleRoutine init_routine() const { return init_; }
  frame::ModuleRoutine deinit_routine() const { return deinit_; }
  const std::vector<frame::GaugeHeader*>& gauges() const { return gauges_; }
  // The header of the gauge called `gauge_name`, or null.
  frame::GaugeHeader* find_gauge(const std::string& gauge_name) const;
  uint32_t resource_handle() const { return library_->resource_handle(); }

 private:
  std::string name_;
  std::unique_ptr<ModuleLibrary> library_;
  frame::ImportTableRecord* import_table_ = nullptr;
  frame::ModuleRoutine init_ = nullptr;
  frame::ModuleRoutine deinit_ = nullptr;
  std::vector<frame::GaugeHeader*> gauges_;
};

}  // namespace host
