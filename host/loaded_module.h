#pragma once
// A gauge module the host has loaded and checked: its ImportTable and the
// gauge headers listed in its Linkage, read through its space.
#include <memory>
#include <string>
#include <vector>

#include "host/module_space.h"

namespace host {

class LoadedModule {
 public:
  // Loads the file at `path` into `space` and checks that it is a gauge
  // module; throws HostError with the reason when it is not.
  LoadedModule(std::string name, const std::string& path, ModuleSpace& space);

  const std::string& name() const { return name_; }
  ModuleSpace& space() const { return *space_; }
  const ModuleFile& file() const { return *file_; }
  RecordRef import_table() const { return import_table_; }
  RecordRef init_routine() const { return init_; }
  RecordRef deinit_routine() const { return deinit_; }
  struct Gauge {
    RecordRef header;
    std::string name;
  };
  const std::vector<Gauge>& gauges() const { return gauges_; }
  // The header of the gauge called `gauge_name`, or 0.
  RecordRef find_gauge(const std::string& gauge_name) const;
  uint32_t resource_handle() const { return file_->resource_handle(); }

 private:
  std::string name_;
  ModuleSpace* space_;
  std::unique_ptr<ModuleFile> file_;
  RecordRef import_table_ = 0;
  RecordRef init_ = 0;
  RecordRef deinit_ = 0;
  std::vector<Gauge> gauges_;
};

}  // namespace host
