#pragma once
// Windows: heap calls a loaded library makes through its import table. A
// .gau carries its own C++ runtime, so a test program's operator new never
// sees module code allocate; what the module imports from the C runtime's
// and Win32's heap functions is redirected to wrappers that report the call
// and then make it.
#include <cstddef>

namespace soak {

using HeapCallFn = void (*)();

// Redirects the heap imports of the loaded library called `file_name`
// (e.g. "vrn_gpws.gau"), for as long as it stays loaded, to wrappers that
// call `on_call` first. Returns how many import slots it redirected; -1 when
// no library of that name is loaded.
int watch_heap_imports(const char* file_name, HeapCallFn on_call);

}  // namespace soak
