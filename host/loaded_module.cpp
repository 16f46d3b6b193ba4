#include "host/loaded_module.h"

#include <cstring>

#include "host/host_error.h"

namespace host {
namespace {

// Fields every linkage starts with; the gauge list follows.
struct LinkageHead {
  uint32_t id;
  frame::ModuleRoutine init;
  frame::ModuleRoutine deinit;
  uint32_t reserved_12[3];
};
static_assert(offsetof(frame::LinkageRecord<1>, gauges) == sizeof(LinkageHead));

// More gauges than any real module has: a list that runs on is malformed.
constexpr size_t kMaxGauges = 64;

}  // namespace

LoadedModule::LoadedModule(std::string name, const std::string& path) : name_(std::move(name)) {
  std::string error;
  library_ = ModuleLibrary::open(path, error);
  if (!library_) throw HostError(error);

  import_table_ = static_cast<frame::ImportTableRecord*>(library_->data_symbol("ImportTable"));
  auto* linkage = static_cast<unsigned char*>(library_->data_symbol("Linkage"));
  if (import_table_ == nullptr || linkage == nullptr) {
    throw HostError(path + " is not a gauge module: it does not export " +
                    (import_table_ == nullptr ? "ImportTable" : "Linkage"));
  }
  if (import_table_->id != frame::kImportTableId) {
    throw HostError(path + " is not a gauge module: ImportTable identifier " +
                    std::to_string(import_table_->id) + ", expected 15");
  }
  LinkageHead head;
  std::memcpy(&head, linkage, sizeof head);
  if (head.id != frame::kLinkageId) {
    throw HostError(path + " is not a gauge module: Linkage identifier " + std::to_string(head.id) +
                    ", expected 19");
  }
  init_ = head.init;
  deinit_ = head.deinit;

  for (size_t i = 0;; ++i) {
    if (i == kMaxGauges) throw HostError(path + ": the Linkage gauge list does not end");
    constexpr size_t kEntrySize = sizeof(frame::GaugeHeader*);
    frame::GaugeHeader* gauge = nullptr;
    std::memcpy(&gauge, linkage + sizeof head + i * kEntrySize, kEntrySize);
    if (gauge == nullptr) break;
    if (gauge->version != frame::kGaugeVersion || gauge->name == nullptr) {
      throw HostError(path + ": gauge " + std::to_string(i) + " is not a version 700 gauge header");
    }
    gauges_.push_back(gauge);
  }
}

frame::GaugeHeader* LoadedModule::find_gauge(const std::string& gauge_name) const {
  for (frame::GaugeHeader* gauge : gauges_) {
    if (gauge_name == gauge->name) return gauge;
  }
  return nullptr;
}

}  // namespace host
