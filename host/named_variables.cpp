#include "host/named_variables.h"

#include <algorithm>

namespace host {
namespace {

template <typename Entries>
auto first_not_before(Entries& entries, const std::string& name) {
  return std::lower_bound(entries.begin(), entries.end(), name,
                          [](const auto& entry, const std::string& n) { return entry.name < n; });
}

}  // namespace

std::vector<NamedVariables::Entry>::iterator NamedVariables::lower_bound(const std::string& name) {
  return first_not_before(entries_, name);
}

std::vector<NamedVariables::Entry>::const_iterator NamedVariables::lower_bound(
    const std::string& name) const {
  return first_not_before(entries_, name);
}

void NamedVariables::register_storage(const std::string& name, RecordRef storage,
                                      uint32_t type_code) {
  if (storage == 0) return;
  Entry entry{name, storage, type_code, load(storage)};
  auto it = lower_bound(name);
  if (it != entries_.end() && it->name == name) {
    *it = std::move(entry);
  } else {
    entries_.insert(it, std::move(entry));
  }
}

void NamedVariables::unregister(const std::string& name) {
  auto it = lower_bound(name);
  if (it != entries_.end() && it->name == name) entries_.erase(it);
}

RecordRef NamedVariables::find(const std::string& name) const {
  auto it = lower_bound(name);
  return it != entries_.end() && it->name == name ? it->storage : 0;
}

RecordRef NamedVariables::host_storage(const std::string& name) {
  RecordRef& slot = owned_[name];
  if (slot == 0) slot = space_->allocate(sizeof(int32_t), "a host-owned named variable");
  register_storage(name, slot, 0);
  return slot;
}

void NamedVariables::write(const std::string& name, int32_t value) {
  RecordRef storage = find(name);
  if (storage == 0) storage = host_storage(name);
  space_->write_u32(storage, static_cast<uint32_t>(value));
}

int32_t NamedVariables::read(const std::string& name) const {
  RecordRef storage = find(name);
  return storage == 0 ? 0 : load(storage);
}

std::vector<NamedVariables::Change> NamedVariables::take_changes() {
  std::vector<Change> changes;
  take_changes([&](const std::string& name, int32_t value) { changes.push_back({name, value}); });
  return changes;
}

void NamedVariables::mark_seen() {
  for (Entry& entry : entries_) entry.last_seen = load(entry.storage);
}

}  // namespace host
