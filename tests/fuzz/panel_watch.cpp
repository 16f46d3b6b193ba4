#include "tests/fuzz/panel_watch.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <tuple>

#include "host/event_text.h"

namespace fuzz {
namespace {

// Every field but the flags; natively the record has tail padding, so no memcmp.
auto fields(const frame::ElementHeader& h) {
  return std::tie(h.type, h.bitmap_id, h.x, h.y, h.reserved_16[0], h.reserved_16[1], h.pivot_x,
                  h.pivot_y, h.gauge, h.reserved_36, h.next_list, h.failure_list, h.reserved_52[0],
                  h.reserved_52[1]);
}

}  // namespace

void fail(const char* after, const std::string& what) {
  std::fprintf(stderr, "after %s: %s\n", after, what.c_str());
  std::abort();
}

PanelWatch::PanelWatch(host::PanelHost& panel, const std::vector<std::string>& labels)
    : panel_(panel) {
  for (const std::string& label : labels) {
    for (const host::ElementState& state : panel.gauge(label).elements) {
      // The fuzzers fly the native modules: the records are in this memory.
      const auto* record =
          reinterpret_cast<const frame::ElementHeader*>(static_cast<uintptr_t>(state.record));
      Element e{record, *record, nullptr, 0, nullptr, {}};
      if (record->type == frame::kNeedle) {
        const auto* needle = reinterpret_cast<const frame::NeedleElement*>(record);
        e.table_at = needle->table;
        e.table_count = needle->table_count;
        e.callback = needle->callback;
        if (e.table_at != nullptr) e.table.assign(e.table_at, e.table_at + e.table_count);
      }
      elements_.push_back(e);
    }
  }
}

void PanelWatch::check_element(const Element& e, const char* after) const {
  const frame::ElementHeader& now = *e.record;
  char where[96];
  std::snprintf(where, sizeof where, "element with bitmap %u",
                static_cast<unsigned>(now.bitmap_id));
  if (((now.image_flags ^ e.header.image_flags) & ~frame::kImageHidden) != 0)
    fail(after, std::string(where) + ": a flag other than hidden changed");
  if (fields(now) != fields(e.header)) fail(after, std::string(where) + ": its record changed");
  if (now.type != frame::kNeedle) return;
  const auto* needle = reinterpret_cast<const frame::NeedleElement*>(e.record);
  if (needle->table != e.table_at || needle->table_count != e.table_count ||
      needle->callback != e.callback)
    fail(after, std::string(where) + ": its needle table or callback changed");
  if (!e.table.empty() &&
      std::memcmp(needle->table, e.table.data(), e.table.size() * sizeof e.table[0]) != 0)
    fail(after, std::string(where) + ": its needle table's points changed");
}

void PanelWatch::check_sound_call(const host::Event& e, const char* after) {
  if (e.kind == host::EventKind::kSoundLoad) {
    if (e.code != 0) loaded_handles_.insert(e.code);  // whatever the load answered
    return;
  }
  if (e.kind != host::EventKind::kSoundPlay && e.kind != host::EventKind::kSoundStop &&
      e.kind != host::EventKind::kSoundUnload) {
    return;
  }
  // A kill unloads without clearing the slots' flags, so a later stop may
  // name a handle unloaded since. Stop and unload are called whatever the
  // loaded flag, so they may also name the 0 a failed load leaves; a play
  // never does.
  if (e.code == 0 && e.kind != host::EventKind::kSoundPlay) return;
  if (loaded_handles_.count(e.code) == 0)
    fail(after,
         "the sound library was called with a handle it never gave out: " + host::event_text(e));
}

void PanelWatch::check(const char* after) {
  for (const Element& e : elements_) check_element(e, after);
  for (const host::Event& e : panel_.events().events()) check_sound_call(e, after);
  panel_.events().clear();
}

}  // namespace fuzz
