#pragma once
// The options of fly, serve and envelope that choose the loader and how the
// emulated one runs module code: --loader, --check-writes, --count-instructions.
#include <ostream>
#include <string>
#include <vector>

#include "host/module_loader.h"

namespace CLI {
class App;
}

namespace host {

struct LoaderRequest {
  std::string loader;  // see HostOptions::loader
  EmulationSettings emulation;
};

// Adds the options to a command, read into `request`; --count-instructions
// only where the command prints the counts at its end (`with_counts`).
void add_loader_options(CLI::App& command, LoaderRequest& request, bool with_counts = false);

// Before a command flies: throws HostError when a check is asked of a
// loader that cannot make it (the native loader counts and checks nothing),
// then says the loader on `err` as say_loader does.
void check_loader_options(const std::string& modules_dir, const LoaderRequest& request,
                          std::ostream& err);

// The counts of ModuleSpace::instruction_counts, one line each on `err`:
// "gaugehost: instructions: radalt update: 3888 calls, 4012345 in all, 1032 a call".
void print_instruction_counts(const std::vector<ModuleSpace::CallCount>& counts, std::ostream& err);

}  // namespace host
