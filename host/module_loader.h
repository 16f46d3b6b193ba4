#pragma once
// Which loader puts a host's modules in memory. Natively a folder of NAME.so
// files is loaded with dlopen; a folder of the real 32-bit NAME.gau files
// runs in the emulated loader (host/emulated/), as this machine may run no
// 32-bit code. One host has one loader, so that every module and the host's
// own named variables share one address space. The Windows build loads the
// .gau files with LoadLibrary only.
#include <memory>
#include <ostream>
#include <string>

#include "host/module_space.h"

namespace host {

// How the emulated loader runs module code.
struct EmulationSettings {
  // Instructions one call into module code may run (0: no limit); a gauge
  // that loops forever ends as a crash instead of hanging the flight.
  uint64_t instruction_budget = 50'000'000;
  // Whether every write of module code is checked against the module's own
  // memory (slower); a stray one ends the call as a crash.
  bool check_writes = false;
  // Whether the instructions of every call into module code are counted
  // exactly, by gauge and call (ModuleSpace::instruction_counts; slower).
  // The budget is then checked on the exact count too.
  bool count_instructions = false;
};

// What --loader of fly, serve and envelope says of itself.
inline constexpr const char* kLoaderOptionHelp =
    "which loader puts the modules in memory: native (dlopen,\n"
    "LoadLibrary in the Windows build) or emulated (the real 32-bit\n"
    ".gau files in the CPU emulator); default: emulated when DIR\n"
    "holds a NAME.gau without a NAME.so, else native";

// "native" or "emulated" for `loader` ("native", "emulated", or empty: the
// emulated loader when `modules_dir` holds a NAME.gau without a NAME.so
// beside it, else native). Throws HostError for another name, or for the
// emulated loader in a build without it.
std::string pick_loader(const std::string& modules_dir, const std::string& loader);

// The space of the loader pick_loader names.
std::unique_ptr<ModuleSpace> make_module_space(const std::string& modules_dir,
                                               const std::string& loader,
                                               const EmulationSettings& emulation = {});

// The one line a front end prints on `err` when it flies the modules of
// `modules_dir` in the emulated loader (natively loaded modules go unsaid,
// as before there was a choice). Never in the event log: the log of a
// flight is the same whichever loader flew it.
void say_loader(const std::string& modules_dir, const std::string& loader, std::ostream& err);

}  // namespace host
