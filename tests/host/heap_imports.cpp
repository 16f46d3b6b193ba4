#include "heap_imports.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace soak {
namespace {

HeapCallFn reported = nullptr;

void report() {
  if (reported != nullptr) reported();
}

// Each function where its library has it, looked up when first redirected.
FARPROC real_malloc, real_calloc, real_realloc, real_aligned_malloc, real_strdup;
FARPROC real_heap_alloc, real_heap_realloc, real_local_alloc, real_global_alloc;
FARPROC real_virtual_alloc;

template <typename Fn>
Fn real(FARPROC proc) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

void* __cdecl watched_malloc(size_t size) {
  report();
  return real<void*(__cdecl*)(size_t)>(real_malloc)(size);
}
void* __cdecl watched_calloc(size_t count, size_t size) {
  report();
  return real<void*(__cdecl*)(size_t, size_t)>(real_calloc)(count, size);
}
void* __cdecl watched_realloc(void* block, size_t size) {
  report();
  return real<void*(__cdecl*)(void*, size_t)>(real_realloc)(block, size);
}
void* __cdecl watched_aligned_malloc(size_t size, size_t alignment) {
  report();
  return real<void*(__cdecl*)(size_t, size_t)>(real_aligned_malloc)(size, alignment);
}
char* __cdecl watched_strdup(const char* text) {
  report();
  return real<char*(__cdecl*)(const char*)>(real_strdup)(text);
}
LPVOID WINAPI watched_heap_alloc(HANDLE heap, DWORD flags, SIZE_T size) {
  report();
  return real<LPVOID(WINAPI*)(HANDLE, DWORD, SIZE_T)>(real_heap_alloc)(heap, flags, size);
}
LPVOID WINAPI watched_heap_realloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T size) {
  report();
  return real<LPVOID(WINAPI*)(HANDLE, DWORD, LPVOID, SIZE_T)>(real_heap_realloc)(heap, flags, block,
                                                                                 size);
}
HLOCAL WINAPI watched_local_alloc(UINT flags, SIZE_T size) {
  report();
  return real<HLOCAL(WINAPI*)(UINT, SIZE_T)>(real_local_alloc)(flags, size);
}
HGLOBAL WINAPI watched_global_alloc(UINT flags, SIZE_T size) {
  report();
  return real<HGLOBAL(WINAPI*)(UINT, SIZE_T)>(real_global_alloc)(flags, size);
}
LPVOID WINAPI watched_virtual_alloc(LPVOID at, SIZE_T size, DWORD type, DWORD protect) {
  report();
  return real<LPVOID(WINAPI*)(LPVOID, SIZE_T, DWORD, DWORD)>(real_virtual_alloc)(at, size, type,
                                                                                 protect);
}

struct Redirect {
  const char* dll;
  const char* name;
  FARPROC* real;
  void* wrapper;
};

const Redirect kRedirects[] = {
    {"msvcrt.dll", "malloc", &real_malloc, reinterpret_cast<void*>(&watched_malloc)},
    {"msvcrt.dll", "calloc", &real_calloc, reinterpret_cast<void*>(&watched_calloc)},
    {"msvcrt.dll", "realloc", &real_realloc, reinterpret_cast<void*>(&watched_realloc)},
    {"msvcrt.dll", "_aligned_malloc", &real_aligned_malloc,
     reinterpret_cast<void*>(&watched_aligned_malloc)},
    {"msvcrt.dll", "_strdup", &real_strdup, reinterpret_cast<void*>(&watched_strdup)},
    {"kernel32.dll", "HeapAlloc", &real_heap_alloc, reinterpret_cast<void*>(&watched_heap_alloc)},
    {"kernel32.dll", "HeapReAlloc", &real_heap_realloc,
     reinterpret_cast<void*>(&watched_heap_realloc)},
    {"kernel32.dll", "LocalAlloc", &real_local_alloc,
     reinterpret_cast<void*>(&watched_local_alloc)},
    {"kernel32.dll", "GlobalAlloc", &real_global_alloc,
     reinterpret_cast<void*>(&watched_global_alloc)},
    {"kernel32.dll", "VirtualAlloc", &real_virtual_alloc,
     reinterpret_cast<void*>(&watched_virtual_alloc)},
};

const Redirect* redirect_for(const char* dll, const char* name) {
  for (const Redirect& r : kRedirects) {
    if (_stricmp(dll, r.dll) == 0 && std::strcmp(name, r.name) == 0) return &r;
  }
  return nullptr;
}

// Points one import slot at `target`; the import table may be read-only.
void patch(IMAGE_THUNK_DATA* slot, void* target) {
  DWORD was = 0;
  VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &was);
  slot->u1.Function = static_cast<DWORD>(reinterpret_cast<uintptr_t>(target));
  VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, was, &was);
}

}  // namespace

int watch_heap_imports(const char* file_name, HeapCallFn on_call) {
  HMODULE module = GetModuleHandleA(file_name);
  if (module == nullptr) return -1;
  reported = on_call;
  const auto* base = reinterpret_cast<const uint8_t*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return 0;
  int redirected = 0;
  for (const auto* d =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       d->Name != 0; ++d) {
    // Without the name table there are no names to go by.
    if (d->OriginalFirstThunk == 0) continue;
    const char* dll = reinterpret_cast<const char*>(base + d->Name);
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(const_cast<uint8_t*>(base) + d->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      // The name follows the two-byte hint.
      const char* name = reinterpret_cast<const char*>(base + names->u1.AddressOfData + 2);
      const Redirect* r = redirect_for(dll, name);
      if (r == nullptr) continue;
      if (*r->real == nullptr) *r->real = GetProcAddress(GetModuleHandleA(r->dll), r->name);
      patch(slots, r->wrapper);
      ++redirected;
    }
  }
  return redirected;
}

}  // namespace soak
