#include "host/emulated/runtime_imports.h"

#include <algorithm>
#include <cctype>

#include "frame/sound_library.h"
#include "host/emulated/guest_machine_impl.h"
#include "host/emulated/runtime_shims.h"

namespace host::emu {
namespace {

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The sound library's operations with their guest arguments translated: paths
// read from guest memory, handles copied in and written back.
uint32_t sound_load(StubCall& c) {
  GuestMachine& m = c.machine();
  const GuestAddr handle_at = c.arg(0);
  const GuestAddr path_at = c.arg(1);
  uint32_t handle = handle_at != 0 ? m.read_u32(handle_at) : 0;
  const std::string path = path_at != 0 ? m.read_string(path_at) : std::string();
  const uint32_t result =
      FSSound_Load(handle_at != 0 ? &handle : nullptr, path_at != 0 ? path.c_str() : nullptr);
  if (handle_at != 0) m.write_u32(handle_at, handle);
  return result;
}

uint32_t sound_play(StubCall& c) {
  return FSSound_Play(c.arg(0), c.arg(1));
}

uint32_t sound_stop(StubCall& c) {
  FSSound_Stop(c.arg(0));
  return 0;
}

uint32_t sound_unload(StubCall& c) {
  GuestMachine& m = c.machine();
  const GuestAddr handle_at = c.arg(0);
  uint32_t handle = handle_at != 0 ? m.read_u32(handle_at) : 0;
  FSSound_Unload(handle_at != 0 ? &handle : nullptr);
  if (handle_at != 0) m.write_u32(handle_at, handle);
  return 0;
}

struct SoundOrdinal {
  uint16_t ordinal;
  const char* name;
  uint32_t arg_bytes;
  uint32_t (*fn)(StubCall&);
};

constexpr SoundOrdinal kSoundOrdinals[] = {
    {1, "FSSound_Load", 8, sound_load},
    {7, "FSSound_Play", 8, sound_play},
    {13, "FSSound_Stop", 4, sound_stop},
    {14, "FSSound_Unload", 4, sound_unload},
};

constexpr const char* kSoundLibrary = "fssound.dll";

GuestAddr make_shim(GuestMachine& machine, const RuntimeShim& shim) {
  if (shim.data_bytes != 0) {
    const GuestAddr at = machine.host_block(shim.data_bytes, shim.name);
    if (std::string_view(shim.name) == "_iob") machine.impl().iob_block = at;
    return at;
  }
  if (!shim.code.empty()) {
    // A page of its own: module writes to host blocks beside translated
    // code would each make the emulator check that code for changes.
    const GuestAddr block = machine.host_block(2 * layout::kPage, shim.name);
    const GuestAddr at = (block + layout::kPage - 1) & ~(layout::kPage - 1);
    machine.write(at, shim.code.data(), shim.code.size());
    return at;
  }
  return machine.make_stub(std::string(shim.dll) + "!" + shim.name, shim.arg_bytes, shim.fn,
                           shim.convention);
}

}  // namespace

GuestAddr resolve_import(GuestMachine& machine, const std::string& dll,
                         const formats::PeImportThunk& thunk) {
  const std::string library = lower(dll);
  const std::string key =
      library + (thunk.by_ordinal ? "#" + std::to_string(thunk.ordinal) : "!" + thunk.name);
  auto& known = machine.impl().imports;
  if (const auto it = known.find(key); it != known.end()) return it->second;
  GuestAddr at = 0;
  if (library == kSoundLibrary && thunk.by_ordinal) {
    for (const SoundOrdinal& s : kSoundOrdinals) {
      if (s.ordinal == thunk.ordinal) at = machine.make_stub(s.name, s.arg_bytes, s.fn);
    }
  } else if (!thunk.by_ordinal) {
    for (const RuntimeShim& shim : runtime_shims()) {
      if (library == shim.dll && thunk.name == shim.name) at = make_shim(machine, shim);
    }
  }
  if (at != 0) known.emplace(key, at);
  return at;
}

std::string provided_imports() {
  std::string list;
  for (const SoundOrdinal& s : kSoundOrdinals) {
    list += "FSSound.dll#" + std::to_string(s.ordinal) + " (" + s.name + ")\n";
  }
  for (const RuntimeShim& shim : runtime_shims())
    list += std::string(shim.dll) + "!" + shim.name + "\n";
  return list;
}

}  // namespace host::emu
