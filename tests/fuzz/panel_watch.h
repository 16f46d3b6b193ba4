#pragma once
// What must hold for every module after every call the host makes, seen from
// the host's side: module code changes no element record but for its hidden
// flag, and every sound library call names a handle the library gave out
// (stop and unload also the 0 a failed load leaves in its slot).
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "frame/records.h"
#include "host/panel_host.h"

namespace fuzz {

// Reports a broken rule and stops the fuzzer, which keeps the input.
[[noreturn]] void fail(const char* after, const std::string& what);

class PanelWatch {
 public:
  // Takes a copy of every element record of the placed gauges.
  PanelWatch(host::PanelHost& panel, const std::vector<std::string>& labels);
  // Compares the records with the copy and reads the log since the last
  // check (which it then empties).
  void check(const char* after);

 private:
  struct Element {
    const frame::ElementHeader* record;
    frame::ElementHeader header;
    // Needles: where the table is, its length, its points and the callback.
    const frame::NeedleEntry* table_at;
    uint32_t table_count;
    frame::NeedleCallback callback;
    std::vector<frame::NeedleEntry> table;
  };
  void check_element(const Element& e, const char* after) const;
  void check_sound_call(const host::Event& e, const char* after);

  host::PanelHost& panel_;
  std::vector<Element> elements_;
  std::set<uint32_t> loaded_handles_;  // every handle a load gave out
};

}  // namespace fuzz
