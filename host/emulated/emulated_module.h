#pragma once
// A real 32-bit .gau module (a PE32 DLL) mapped into a GuestMachine as the
// Windows loader would: sections, base relocations, imports bound to the
// sound library's stubs and the runtime shims, and its entry point called.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "host/emulated/guest_machine.h"

namespace host::emu {

class EmulatedModule {
 public:
  // Maps the module at `path` into `machine` (at its preferred base, or
  // elsewhere with base relocations when that is taken), resolves its imports
  // and calls its entry point with DLL_PROCESS_ATTACH. Throws EmulationError
  // with a one-line reason for a truncated or corrupt file, a machine other
  // than i386, an import the loader does not provide, an entry point that
  // returns 0 or fails.
  static std::unique_ptr<EmulatedModule> load(GuestMachine& machine, const std::string& path);
  // DLL_PROCESS_DETACH (errors ignored). A module goes before its machine.
  ~EmulatedModule();
  EmulatedModule(const EmulatedModule&) = delete;
  EmulatedModule& operator=(const EmulatedModule&) = delete;

  GuestAddr export_address(std::string_view name) const;  // 0 when not exported
  GuestAddr image_base() const;  // where it was mapped; also its module handle
  uint32_t image_size() const;
  bool contains(GuestAddr addr) const;
  // A bitmap resource (RT_BITMAP, by id): the DIB bytes as the resource holds
  // them, or empty.
  std::span<const uint8_t> bitmap_resource(uint32_t id) const;
  const std::string& path() const;

  struct State;
  explicit EmulatedModule(std::unique_ptr<State> state);

 private:
  std::unique_ptr<State> state_;
};

}  // namespace host::emu
