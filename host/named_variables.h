#pragma once
// Named variables that gauges share through the host. The registrar owns the
// 32-bit storage; the host only remembers where it is, and watches it so that
// every write shows up in the event log.
//
// The host looks for writes after every call into module code, so the
// variables sit in one flat list in name order and a look that finds nothing
// new allocates nothing.
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace host {

class NamedVariables {
 public:
  struct Change {
    std::string name;
    int32_t value;
  };

  // A later registration of the same name replaces the earlier one.
  void register_storage(const std::string& name, void* storage, uint32_t type_code);
  void unregister(const std::string& name);
  // The registered storage, or null when nobody has registered the name.
  void* find(const std::string& name) const;
  bool registered(const std::string& name) const { return find(name) != nullptr; }

  // Storage the host owns, for instruments outside our modules (a registrar
  // the flight stands in for). Registered under `name` at once.
  int32_t* host_storage(const std::string& name);

  // Writes a variable as a linked writer does: through the registered
  // storage, or into host storage when nobody has registered the name.
  void write(const std::string& name, int32_t value);

  // Reads a registered variable as the registrar does (32-bit integer).
  int32_t read(const std::string& name) const;

  // Calls report(name, value) for each value that differs from what the
  // last look saw, in name order.
  template <typename Report>
  void take_changes(Report&& report) {
    for (Entry& entry : entries_) {
      int32_t now = load(entry.storage);
      if (now == entry.last_seen) continue;
      entry.last_seen = now;
      report(entry.name, now);
    }
  }
  std::vector<Change> take_changes();
  // Takes every value as seen, without reporting it.
  void mark_seen();

 private:
  struct Entry {
    std::string name;
    void* storage;
    uint32_t type_code;
    int32_t last_seen;
  };
  static int32_t load(const void* storage) {
    int32_t value = 0;
    std::memcpy(&value, storage, sizeof value);
    return value;
  }
  std::vector<Entry>::iterator lower_bound(const std::string& name);
  std::vector<Entry>::const_iterator lower_bound(const std::string& name) const;

  std::vector<Entry> entries_;  // sorted by name
  std::map<std::string, std::unique_ptr<int32_t>> owned_;
};

}  // namespace host
