#pragma once
// What a module imports, bound to guest addresses: the sound library's four
// ordinals to stubs that call the native stand-in library, and the functions
// and data the mingw runtime imports from KERNEL32.dll and msvcrt.dll to
// small shims. Each is made once per machine and shared by its modules.
#include <cstdint>
#include <string>

#include "formats/pe_image.h"
#include "host/emulated/guest_machine.h"

namespace host::emu {

// The address the module's import address table gets for `thunk` of `dll`,
// or 0 when the loader does not provide it.
GuestAddr resolve_import(GuestMachine& machine, const std::string& dll,
                         const formats::PeImportThunk& thunk);

// The list of what resolve_import provides, "DLL!name" one a line (for the
// refusal's reader and the documentation).
std::string provided_imports();

}  // namespace host::emu
