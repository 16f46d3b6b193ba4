#pragma once
// Named variables that gauges share through the host. The registrar owns the
// 32-bit storage; the host only remembers where it is, and watches it so that
// every write shows up in the event log.
//
// The host looks for writes after every call into module code, so the
// variables sit in one flat list in name order and a look that finds nothing
// new allocates nothing.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/module_space.h"

namespace host {

class NamedVariables {
 public:
  struct Change {
    std::string name;
    int32_t value;
  };

  // The storage lives in `space` (the host's own memory until attached to
  // the space its modules live in).
  void attach(ModuleSpace& space) { space_ = &space; }

  // A later registration of the same name replaces the earlier one.
  void register_storage(const std::string& name, RecordRef storage, uint32_t type_code);
  void unregister(const std::string& name);
  // The registered storage, or 0 when nobody has registered the name.
  RecordRef find(const std::string& name) const;
  bool registered(const std::string& name) const { return find(name) != 0; }

  // Storage the host owns, in the modules' space, for instruments outside
  // our modules (a registrar the flight stands in for). Registered under
  // `name` at once.
  RecordRef host_storage(const std::string& name);

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
    RecordRef storage;
    uint32_t type_code;
    int32_t last_seen;
  };
  int32_t load(RecordRef storage) const { return space_->i32(storage); }
  std::vector<Entry>::iterator lower_bound(const std::string& name);
  std::vector<Entry>::const_iterator lower_bound(const std::string& name) const;

  std::vector<Entry> entries_;  // sorted by name
  std::map<std::string, RecordRef> owned_;
  ModuleSpace* space_ = &native_records();
};

}  // namespace host
