#include "host/loader_options.h"

#include <CLI/CLI.hpp>

#include "host/host_error.h"

namespace host {

void add_loader_options(CLI::App& command, LoaderRequest& request, bool with_counts) {
  command.add_option("--loader", request.loader, kLoaderOptionHelp)->type_name("native|emulated");
  command.add_flag("--check-writes", request.emulation.check_writes,
                   "emulated loader: check every write of module code against\n"
                   "its own memory (its image's writable sections, its stack and\n"
                   "heap blocks, the records the host handed it); a stray one ends\n"
                   "the flight as a crash does. Off by default: module code runs\n"
                   "about a third slower with it (docs/performance.md)");
  if (!with_counts) return;
  command.add_flag("--count-instructions", request.emulation.count_instructions,
                   "emulated loader: count every instruction of module code\n"
                   "exactly and print them by gauge and call on standard error\n"
                   "at the end (module code runs several times slower)");
}

void check_loader_options(const std::string& modules_dir, const LoaderRequest& request,
                          std::ostream& err) {
  const bool emulated = pick_loader(modules_dir, request.loader) == "emulated";
  if (!emulated && request.emulation.check_writes) {
    throw HostError(
        "--check-writes: only the emulated loader checks writes (--loader emulated, "
        "with the .gau files)");
  }
  if (!emulated && request.emulation.count_instructions) {
    throw HostError(
        "--count-instructions: only the emulated loader counts instructions "
        "(--loader emulated, with the .gau files)");
  }
  say_loader(modules_dir, request.loader, err);
}

void print_instruction_counts(const std::vector<ModuleSpace::CallCount>& counts,
                              std::ostream& err) {
  for (const ModuleSpace::CallCount& count : counts) {
    err << "gaugehost: instructions: " << count.gauge << " " << count.call << ": " << count.calls
        << (count.calls == 1 ? " call, " : " calls, ") << count.instructions << " in all, "
        << (count.calls == 0 ? 0 : count.instructions / count.calls) << " a call\n";
  }
}

}  // namespace host
