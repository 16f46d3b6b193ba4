#pragma once
// A panel host for tests, pointed at the modules of this build and at the
// generated simulator folder, with helpers that read its typed events. Where
// a test compares what happened with a list of expected lines, the events
// are rendered by the log's own formatter, not read back from log text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "host/event_text.h"
#include "host/host_error.h"
#include "host/module_loader.h"
#include "host/panel_host.h"

namespace testing_host {

// The modules the tests fly: this build's (MODULE_DIR), or the folder
// GAUGE_MODULE_DIR names (e.g. the Windows build's .gau files, which the
// native host flies in its emulated loader).
inline std::string module_dir() {
  const char* dir = std::getenv("GAUGE_MODULE_DIR");
  return dir != nullptr && *dir != '\0' ? dir : MODULE_DIR;
}
// The loader GAUGE_LOADER asks for ("native", "emulated"); empty: the host picks.
inline std::string loader() {
  const char* name = std::getenv("GAUGE_LOADER");
  return name != nullptr ? name : "";
}
inline bool emulated() {
  return host::pick_loader(module_dir(), loader()) == "emulated";
}

inline host::HostOptions options(const std::string& sound_root = SIM_ROOT) {
  host::HostOptions options{module_dir(), sound_root, nullptr};
  options.loader = loader();
  return options;
}

// The events from the `from`th on, as the log words them without frame
// stamps, leaving out lookups unless asked for.
inline std::vector<std::string> events(const host::PanelHost& panel, size_t from = 0,
                                       bool with_lookups = false) {
  std::vector<std::string> out;
  const std::vector<host::Event>& all = panel.events().events();
  for (size_t i = from; i < all.size(); ++i) {
    if (!with_lookups && all[i].kind == host::EventKind::kLookup) continue;
    out.push_back(host::event_text(all[i]));
  }
  return out;
}

inline size_t mark(const host::PanelHost& panel) {
  return panel.events().events().size();
}

// The voices heard from the `from`th event on: "Sound\a.wav" -> "a".
inline std::vector<std::string> voices(const host::PanelHost& panel, size_t from = 0) {
  std::vector<std::string> out;
  const std::vector<host::Event>& all = panel.events().events();
  for (size_t i = from; i < all.size(); ++i) {
    if (!host::voice_heard(all[i])) continue;
    std::string path = all[i].text;
    const size_t slash = path.find_last_of('\\');
    if (slash != std::string::npos) path.erase(0, slash + 1);
    if (path.size() > 4 && path.ends_with(".wav")) path.resize(path.size() - 4);
    out.push_back(path);
  }
  return out;
}

// What the host said when it refused the action, "(no error)" when it did not.
inline std::string error_of(const std::function<void()>& action) {
  try {
    action();
  } catch (const host::HostError& error) {
    return error.what();
  }
  return "(no error)";
}

}  // namespace testing_host
