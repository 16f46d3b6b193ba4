#pragma once
// A panel host for tests, pointed at the modules of this build and at the
// generated simulator folder, with helpers to read the log as events.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/host_error.h"
#include "host/panel_host.h"

namespace testing_host {

inline host::HostOptions options(const std::string& sound_root = SIM_ROOT) {
  return host::HostOptions{MODULE_DIR, sound_root, nullptr};
}

// The log from line `from` on, without frame stamps, leaving out lookups
// unless asked for.
inline std::vector<std::string> events(const host::PanelHost& panel, size_t from = 0,
                                       bool with_lookups = false) {
  std::vector<std::string> out;
  const auto& lines = const_cast<host::PanelHost&>(panel).log().lines();
  for (size_t i = from; i < lines.size(); ++i) {
    std::string text = lines[i].substr(lines[i].find(' ') + 1);
    if (!with_lookups && text.rfind("lookup ", 0) == 0) continue;
    out.push_back(text);
  }
  return out;
}

inline size_t mark(host::PanelHost& panel) {
  return panel.log().lines().size();
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
