#include "host/loaded_module.h"

#include "frame/records.h"
#include "host/host_error.h"

namespace host {
namespace {

// More gauges than any real module has: a list that runs on is malformed.
constexpr size_t kMaxGauges = 64;

}  // namespace

LoadedModule::LoadedModule(std::string name, const std::string& path, ModuleSpace& space)
    : name_(std::move(name)), space_(&space) {
  file_ = space.open(path);
  const RecordLayout& l = space.layout();

  import_table_ = file_->symbol("ImportTable");
  const RecordRef linkage = file_->symbol("Linkage");
  if (import_table_ == 0 || linkage == 0) {
    throw HostError(path + " is not a gauge module: it does not export " +
                    (import_table_ == 0 ? "ImportTable" : "Linkage"));
  }
  const uint32_t import_id = space.u32(import_table_);
  if (import_id != frame::kImportTableId) {
    throw HostError(path + " is not a gauge module: ImportTable identifier " +
                    std::to_string(import_id) + ", expected 15");
  }
  const uint32_t linkage_id = space.u32(linkage);
  if (linkage_id != frame::kLinkageId) {
    throw HostError(path + " is not a gauge module: Linkage identifier " +
                    std::to_string(linkage_id) + ", expected 19");
  }
  init_ = space.ref(linkage + l.linkage_init);
  deinit_ = space.ref(linkage + l.linkage_deinit);

  for (size_t i = 0;; ++i) {
    if (i == kMaxGauges) throw HostError(path + ": the Linkage gauge list does not end");
    const RecordRef gauge = space.ref(linkage + l.linkage_gauges + i * l.pointer_size);
    if (gauge == 0) break;
    const RecordRef name_at = space.ref(gauge + l.gauge_name);
    if (space.u32(gauge) != frame::kGaugeVersion || name_at == 0) {
      throw HostError(path + ": gauge " + std::to_string(i) + " is not a version 700 gauge header");
    }
    gauges_.push_back({gauge, space.read_string(name_at)});
  }
}

RecordRef LoadedModule::find_gauge(const std::string& gauge_name) const {
  for (const Gauge& gauge : gauges_) {
    if (gauge_name == gauge.name) return gauge.header;
  }
  return 0;
}

}  // namespace host
