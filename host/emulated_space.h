#pragma once
// Modules in a 32-bit guest machine (host/emulated/): the real .gau files,
// run by the CPU emulator on machines that execute no 32-bit code.
#include <cstdint>
#include <memory>

#include "host/module_loader.h"
#include "host/module_space.h"

namespace host {

std::unique_ptr<ModuleSpace> make_emulated_space(const EmulationSettings& settings);

}  // namespace host
