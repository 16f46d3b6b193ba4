#include "host/named_variables.h"

#include <cstring>

namespace host {
namespace {

int32_t load(const void* storage) {
  int32_t value = 0;
  std::memcpy(&value, storage, sizeof value);
  return value;
}

}  // namespace

void NamedVariables::register_storage(const std::string& name, void* storage, uint32_t type_code) {
  if (storage == nullptr) return;
  entries_[name] = Entry{storage, type_code, load(storage)};
}

void NamedVariables::unregister(const std::string& name) {
  entries_.erase(name);
}

void* NamedVariables::find(const std::string& name) const {
  auto it = entries_.find(name);
  return it == entries_.end() ? nullptr : it->second.storage;
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
  for (auto& [name, entry] : entries_) {
    int32_t now = load(entry.storage);
    if (now != entry.last_seen) {
      entry.last_seen = now;
      changes.push_back({name, now});
    }
  }
  return changes;
}

}  // namespace host
