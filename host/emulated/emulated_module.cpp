// Loading a module as the Windows loader does: the image mapped section by
// section, moved with its base relocations when its preferred base is taken,
// its imports bound, its TLS set up and its entry point called.
#include "host/emulated/emulated_module.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "formats/base_relocations.h"
#include "formats/pe_image.h"
#include "formats/resource_tree.h"
#include "host/emulated/guest_machine_impl.h"
#include "host/emulated/runtime_imports.h"

namespace host::emu {
namespace {

constexpr uint32_t kDllProcessAttach = 1;
constexpr uint32_t kDllProcessDetach = 0;
constexpr uint32_t kTlsDirectoryBytes = 24;
constexpr size_t kMaxTlsCallbacks = 64;
constexpr uint32_t kMaxTlsTemplate = 1u << 20;

uint32_t unicorn_perms(const formats::PeSection& s) {
  uint32_t perms = UC_PROT_READ;
  if (s.writable()) perms |= UC_PROT_WRITE;
  if (s.executable()) perms |= UC_PROT_EXEC;
  return perms;
}

}  // namespace

struct EmulatedModule::State {
  GuestMachine* machine = nullptr;
  std::string path;
  std::unique_ptr<formats::PeImage> pe;
  std::vector<formats::Resource> resources;
  GuestAddr base = 0;
  uint32_t size = 0;
  bool mapped = false;
  bool attached = false;
  GuestAddr entry = 0;
  std::vector<GuestAddr> tls_callbacks;

  // Undoes the mapping; used by the destructor and by a load that fails.
  void unmap() {
    if (!mapped) return;
    GuestMachine::Impl& m = machine->impl();
    m.unmap(base, size);
    m.remove_writable(base, size);
    mapped = false;
  }
  ~State() { unmap(); }

  uint8_t* host(uint32_t rva, uint32_t length) const {
    return machine->impl().host_pointer(base + rva, length);
  }
  void map_image();
  void relocate();
  void bind_imports();
  void set_up_tls();
  CallResult call_entry(uint32_t reason);
};

void EmulatedModule::State::map_image() {
  GuestMachine::Impl& m = machine->impl();
  size = page_rounded(pe->size_of_image());
  if (size == 0 || pe->size_of_headers() > size) throw EmulationError("the image size is wrong");
  base = m.place_image(pe->image_base(), size);
  if (base == 0) throw EmulationError("no room for an image of " + std::to_string(size) + " bytes");
  uint8_t* image = m.map_backing(size);
  const std::span<const uint8_t> file = pe->file_bytes();
  std::memcpy(image, file.data(), std::min<size_t>({pe->size_of_headers(), file.size(), size}));
  // Headers and gaps are read-only; each section gets its own permissions.
  std::vector<uint32_t> perms(size / layout::kPage, UC_PROT_READ);
  for (const formats::PeSection& s : pe->sections()) {
    const uint64_t end = uint64_t{s.virtual_address} + s.mapped_size();
    if (s.virtual_address % layout::kPage != 0 || end > size) {
      throw EmulationError("section " + s.name + " lies outside the image");
    }
    const uint32_t raw = std::min(s.size_of_raw_data, s.mapped_size());
    if (raw > 0) {
      const uint64_t at = pe->file_offset(s.virtual_address, raw, "section data");
      std::memcpy(image + s.virtual_address, file.data() + at, raw);
    }
    for (uint64_t p = s.virtual_address / layout::kPage; p < page_rounded(end) / layout::kPage;
         ++p) {
      perms[p] = unicorn_perms(s);
    }
    if (s.writable()) m.add_writable(base + s.virtual_address, page_rounded(s.mapped_size()));
  }
  for (size_t first = 0; first < perms.size();) {
    size_t last = first;
    while (last < perms.size() && perms[last] == perms[first]) ++last;
    const uint32_t at = static_cast<uint32_t>(first * layout::kPage);
    m.map_existing(base + at, static_cast<uint32_t>((last - first) * layout::kPage), perms[first],
                   image + at, std::filesystem::path(path).filename().string());
    mapped = true;
    first = last;
  }
  // Code translated from an image mapped here before must not run for this
  // one. Unicorn drops a range only from an executable page on.
  for (size_t first = 0; first < perms.size(); ++first) {
    if ((perms[first] & UC_PROT_EXEC) == 0) continue;
    const uint64_t at = base + first * uint64_t{layout::kPage};
    uc_ctl_remove_cache(m.uc, at, at + layout::kPage);
  }
}

void EmulatedModule::State::relocate() {
  const uint32_t delta = base - pe->image_base();
  if (delta == 0) return;
  if (!pe->directory(formats::kDirectoryBaseRelocation)) {
    throw EmulationError("its preferred base " + hex(pe->image_base()) +
                         " is taken and it has no base relocations");
  }
  const formats::BaseRelocations relocations(*pe);
  for (uint32_t rva : relocations.addresses()) {
    uint8_t* at = host(rva, 4);
    if (at == nullptr)
      throw EmulationError("a base relocation at " + hex(rva) + " lies outside the image");
    uint32_t value = 0;
    std::memcpy(&value, at, 4);
    value += delta;
    std::memcpy(at, &value, 4);
  }
}

void EmulatedModule::State::bind_imports() {
  for (const formats::PeImportedDll& dll : pe->imports()) {
    for (size_t i = 0; i < dll.thunks.size(); ++i) {
      const formats::PeImportThunk& thunk = dll.thunks[i];
      const GuestAddr address = resolve_import(*machine, dll.dll, thunk);
      if (address == 0) {
        const std::string what =
            thunk.by_ordinal ? "ordinal " + std::to_string(thunk.ordinal) : thunk.name;
        throw EmulationError("imports " + dll.dll + "!" + what +
                             ", which the emulated loader does not provide");
      }
      uint8_t* slot = host(dll.address_table_rva + static_cast<uint32_t>(i * 4), 4);
      if (slot == nullptr)
        throw EmulationError(dll.dll + ": the import address table lies outside the image");
      std::memcpy(slot, &address, 4);
    }
  }
}

void EmulatedModule::State::set_up_tls() {
  const std::optional<formats::PeDataDirectory> dir = pe->directory(formats::kDirectoryTls);
  if (!dir) return;
  GuestMachine::Impl& m = machine->impl();
  uint32_t fields[6] = {};
  if (!machine->read(base + dir->virtual_address, fields, kTlsDirectoryBytes)) {
    throw EmulationError("the TLS directory lies outside the image");
  }
  const auto [start, end, index_at, callbacks_at, zero_fill, flags] = fields;
  (void)flags;
  if (m.next_tls_index >= layout::kTlsSlots) throw EmulationError("no TLS slot left");
  const uint32_t index = m.next_tls_index++;
  if (index_at != 0) machine->write_u32(index_at, index);
  if (end < start || uint64_t{end - start} + zero_fill > kMaxTlsTemplate) {
    throw EmulationError("the TLS template is malformed");
  }
  const uint32_t template_bytes = end - start;
  const GuestAddr block = m.heap.allocate(template_bytes + zero_fill);
  std::vector<uint8_t> bytes(template_bytes + zero_fill);
  if (block == 0 || !machine->read(start, bytes.data(), template_bytes) ||
      !machine->write(block, bytes.data(), bytes.size())) {
    throw EmulationError("the TLS template lies outside the image");
  }
  machine->write_u32(layout::kTlsArray + index * 4, block);
  for (GuestAddr at = callbacks_at; at != 0 && tls_callbacks.size() < kMaxTlsCallbacks; at += 4) {
    const GuestAddr callback = machine->read_u32(at);
    if (callback == 0) break;
    tls_callbacks.push_back(callback);
  }
}

CallResult EmulatedModule::State::call_entry(uint32_t reason) {
  // Windows runs the TLS callbacks before the entry point on attach.
  for (GuestAddr callback : tls_callbacks) {
    if (reason != kDllProcessAttach) break;
    CallResult r = machine->call(callback, {base, reason, 0});
    if (r.status != CallStatus::kOk) return r;
  }
  CallResult result;
  result.eax = 1;
  if (entry != 0) result = machine->call(entry, {base, reason, 0});
  if (reason == kDllProcessDetach) {
    for (GuestAddr callback : tls_callbacks) machine->call(callback, {base, reason, 0});
  }
  return result;
}

std::unique_ptr<EmulatedModule> EmulatedModule::load(GuestMachine& machine,
                                                     const std::string& path) {
  auto state = std::make_unique<State>();
  state->machine = &machine;
  state->path = path;
  const std::string name = std::filesystem::path(path).filename().string();
  try {
    state->pe = std::make_unique<formats::PeImage>(formats::read_file_bytes(path));
    const formats::PeImage& pe = *state->pe;
    if (pe.machine() != formats::kMachineI386) {
      throw EmulationError("is for machine " + hex(pe.machine()) + ", not i386");
    }
    state->map_image();
    state->relocate();
    state->bind_imports();
    state->set_up_tls();
    try {
      state->resources = formats::read_resources(pe);
    } catch (const std::runtime_error&) {
      state->resources.clear();  // no bitmaps, as a module whose resources cannot be read
    }
    if (pe.entry_point_rva() != 0) state->entry = state->base + pe.entry_point_rva();
    const CallResult attach = state->call_entry(kDllProcessAttach);
    if (attach.status != CallStatus::kOk) {
      throw EmulationError("its entry point failed: " + attach.what);
    }
    if (attach.eax == 0)
      throw EmulationError("its entry point refused DLL_PROCESS_ATTACH (returned 0)");
    state->attached = true;
  } catch (const EmulationError& e) {
    throw EmulationError(name + ": " + e.what());
  } catch (const std::runtime_error& e) {
    throw EmulationError(name + ": " + e.what());
  }
  return std::make_unique<EmulatedModule>(std::move(state));
}

EmulatedModule::EmulatedModule(std::unique_ptr<State> state) : state_(std::move(state)) {}

EmulatedModule::~EmulatedModule() {
  if (state_->attached) state_->call_entry(kDllProcessDetach);
}

GuestAddr EmulatedModule::export_address(std::string_view name) const {
  for (const formats::PeExport& e : state_->pe->exports()) {
    if (!e.forwarder && e.name == name) return state_->base + e.rva;
  }
  return 0;
}

GuestAddr EmulatedModule::image_base() const {
  return state_->base;
}
uint32_t EmulatedModule::image_size() const {
  return state_->size;
}
bool EmulatedModule::contains(GuestAddr addr) const {
  return addr >= state_->base && addr - state_->base < state_->size;
}

std::span<const uint8_t> EmulatedModule::bitmap_resource(uint32_t id) const {
  const formats::Resource* r =
      formats::find_resource(state_->resources, formats::kResourceTypeBitmap, id);
  return r == nullptr ? std::span<const uint8_t>() : r->data;
}

const std::string& EmulatedModule::path() const {
  return state_->path;
}

}  // namespace host::emu
