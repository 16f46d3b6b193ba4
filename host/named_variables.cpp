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

void NamedVariables::register_storage(const std::string& name, void* storage, uint32_t type_code) {
  if (storage == nullptr) return;
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

void* NamedVariables::find(const std::string& name) const {
  auto it = lower_bound(name);
  return it != entries_.end() && it->name == name ? it->storage : nullptr;
}

int32_t* NamedVariables::host_storage(const std::string& name) {
  auto& slot = owned_[name];
  if (!slot) slot = std::make_unique<int32_t>(0);
  register_storage(name, slot.get(), 0);
  return slot.get();
}

void NamedVariables::write(const std::string& name, int32_t value) {
  void* storage = find(name);
  if (storage == nullptr) storage = host_storage(name);
  std::memcpy(storage, &value, sizeof value);
}

int32_t NamedVariables::read(const std::string& name) const {
  void* storage = find(name);
  return storage == nullptr ? 0 : load(storage);
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
