// The real 32-bit modules in the guest machine: loaded side by side, their
// records read through guest memory, their gauge callbacks driven through a
// service table of stubs, and files that must be refused.
#include "host/emulated/emulated_module.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "formats/pe_image.h"
#include "formats/resource_tree.h"
#include "frame/records.h"
#include "host/fssound/fssound_host.h"

namespace emu_tests {
namespace {

namespace fs = std::filesystem;
using host::emu::CallResult;
using host::emu::CallStatus;
using host::emu::EmulatedModule;
using host::emu::EmulationError;
using host::emu::GuestAddr;
using host::emu::GuestMachine;
using host::emu::StubCall;

// Offsets in the 32-bit records (frame/records.h asserts them in that build).
constexpr uint32_t kLinkageInit = 4;
constexpr uint32_t kLinkageGauges = 24;
constexpr uint32_t kHeaderName = 4;
constexpr uint32_t kHeaderElementList = 8;
constexpr uint32_t kHeaderCallback = 84;
constexpr uint32_t kElementNextList = 40;
constexpr uint32_t kNeedleSourceValue = 72;
constexpr uint32_t kNeedleCallback = 224;

std::string gau_path(const std::string& module) {
  const char* env = std::getenv("GAU_DIR");
  const std::string dir = env != nullptr && *env != '\0' ? env : GAU_BUILD_DIR;
  if (dir.empty()) return {};
  const std::string path = dir + "/" + module + ".gau";
  return fs::exists(path) ? path : std::string();
}

#define REQUIRE_GAU(var, module)                                                \
  const std::string var = gau_path(module);                                     \
  if (var.empty()) {                                                            \
    GTEST_SKIP() << "no " << (module) << ".gau: set GAU_DIR or configure with " \
                 << "-DWIN32_BUILD_DIR=<a Windows build>";                      \
  }

std::vector<GuestAddr> gauge_headers(const GuestMachine& m, const EmulatedModule& module) {
  std::vector<GuestAddr> headers;
  const GuestAddr linkage = module.export_address("Linkage");
  for (GuestAddr at = linkage + kLinkageGauges;; at += 4) {
    const GuestAddr header = m.read_u32(at);
    if (header == 0) break;
    headers.push_back(header);
  }
  return headers;
}

TEST(EmulatedModule, LoadsTheThreeModulesIntoOneMachine) {
  struct Row {
    const char* module;
    std::vector<std::string> gauges;
  };
  const Row rows[] = {{"vrn_gpws", {"test", "below", "inop", "fi"}},
                      {"vrn_radalt", {"radalt"}},
                      {"cabsound", {"XML-Sound"}}};
  GuestMachine machine;
  std::vector<std::unique_ptr<EmulatedModule>> loaded;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.module);
    REQUIRE_GAU(path, row.module);
    loaded.push_back(EmulatedModule::load(machine, path));
    const EmulatedModule& module = *loaded.back();
    const formats::PeImage pe(formats::read_file_bytes(path));
    EXPECT_EQ(module.image_base(), pe.image_base());
    ASSERT_TRUE(module.contains(module.export_address("ImportTable")));
    EXPECT_EQ(machine.read_u32(module.export_address("ImportTable")), frame::kImportTableId);
    EXPECT_EQ(machine.read_u32(module.export_address("Linkage")), frame::kLinkageId);
    EXPECT_EQ(module.export_address("NoSuchExport"), 0u);
    std::vector<std::string> names;
    for (GuestAddr header : gauge_headers(machine, module)) {
      EXPECT_TRUE(module.contains(header));
      names.push_back(machine.read_string(machine.read_u32(header + kHeaderName)));
    }
    EXPECT_EQ(names, row.gauges);
  }
  // The preferred bases differ, so a second copy is what has to move: its
  // records must point into its own image.
  REQUIRE_GAU(gpws, "vrn_gpws");
  const auto copy = EmulatedModule::load(machine, gpws);
  EXPECT_NE(copy->image_base(), loaded[0]->image_base());
  for (GuestAddr header : gauge_headers(machine, *copy)) {
    EXPECT_TRUE(copy->contains(header));
    EXPECT_TRUE(copy->contains(machine.read_u32(header + kHeaderName)));
    EXPECT_TRUE(copy->contains(machine.read_u32(header + kHeaderCallback)));
  }
  EXPECT_EQ(machine.heap_calls() > 0, true);  // the runtime's exit table, at start-up
}

// A service table whose stubs record each call: slot and arguments.
struct RecordingServices {
  struct Call {
    uint32_t slot;
    std::vector<uint32_t> args;
  };
  std::vector<Call> calls;
  GuestAddr table = 0;

  explicit RecordingServices(GuestMachine& m) {
    // Argument bytes of the services the modules use (frame/host_services.h).
    const std::map<uint32_t, uint32_t> arg_bytes = {{frame::kSlotQuery, 4},
                                                    {frame::kSlotInstall, 8},
                                                    {frame::kSlotInitialize, 4},
                                                    {frame::kSlotUpdate, 4},
                                                    {frame::kSlotGenerate, 8},
                                                    {frame::kSlotDraw, 4},
                                                    {frame::kSlotKill, 4},
                                                    {frame::kSlotKeyEvent, 8},
                                                    {frame::kSlotRegisterVariable, 12},
                                                    {frame::kSlotLinkVariable, 8},
                                                    {frame::kSlotLookupVariable, 4},
                                                    {frame::kSlotUnregisterVariable, 4}};
    table = m.host_block(4 * frame::kServiceSlotCount, "service table");
    for (const auto& [slot, bytes] : arg_bytes) {
      const uint32_t count = bytes / 4;
      const GuestAddr stub =
          m.make_stub("service " + std::to_string(slot), bytes, [this, slot, count](StubCall& c) {
            Call call{slot, {}};
            for (uint32_t i = 0; i < count; ++i) call.args.push_back(c.arg(i));
            calls.push_back(call);
            return 0u;
          });
      m.write_u32(table + 4 * slot, stub);
    }
  }
  size_t count(uint32_t slot) const {
    size_t n = 0;
    for (const Call& c : calls) n += c.slot == slot ? 1 : 0;
    return n;
  }
};

std::vector<FSSoundCall> sound_calls;
void GAUGE_CALL record_sound(void*, const FSSoundCall* call) {
  FSSoundCall copy = *call;
  copy.path = nullptr;
  sound_calls.push_back(copy);
}

TEST(EmulatedModule, GaugeCallbacksReachTheHostServicesAndTheSoundLibrary) {
  REQUIRE_GAU(path, "vrn_gpws");
  const fs::path root = fs::temp_directory_path() / "emulated_module_test_root";
  fs::create_directories(root);
  sound_calls.clear();
  FSSound_HostAttach(root.c_str(), &record_sound, nullptr);
  GuestMachine machine;
  const auto module = EmulatedModule::load(machine, path);
  RecordingServices services(machine);
  machine.write_u32(module->export_address("ImportTable") + 4, services.table);
  const GuestAddr init = machine.read_u32(module->export_address("Linkage") + kLinkageInit);
  if (init != 0) {
    EXPECT_EQ(machine.call(init, {}).status, CallStatus::kOk);
  }
  const uint64_t heap_after_start = machine.heap_calls();
  for (GuestAddr header : gauge_headers(machine, *module)) {
    const GuestAddr callback = machine.read_u32(header + kHeaderCallback);
    for (uint32_t service :
         {frame::kServiceInstall, frame::kServiceInitialize, frame::kServiceUpdate}) {
      const CallResult r = machine.call(callback, {header, service, module->image_base()});
      EXPECT_EQ(r.status, CallStatus::kOk) << r.what;
    }
  }
  EXPECT_EQ(machine.heap_calls(), heap_after_start);
  {  // Not a check: what an update of the GPWS costs, printed for the record.
    const GuestAddr header = gauge_headers(machine, *module).at(0);
    const GuestAddr callback = machine.read_u32(header + kHeaderCallback);
    constexpr int kUpdates = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kUpdates; ++i) machine.call(callback, {header, frame::kServiceUpdate, 0});
    const double us =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    std::printf("[ cost     ] vrn_gpws test gauge update: %.1f us per call\n", us / kUpdates);
  }
  ASSERT_GT(services.count(frame::kSlotLookupVariable), 0u);
  for (const RecordingServices::Call& c : services.calls) {
    if (c.slot == frame::kSlotLookupVariable || c.slot == frame::kSlotLinkVariable) {
      EXPECT_TRUE(module->contains(c.args[0])) << "slot " << c.slot;
    }
  }
  // The sounds were loaded through the stubs (none is there, so none gave a handle).
  size_t loads = 0;
  for (const FSSoundCall& c : sound_calls) loads += c.operation == kFSSoundLoad ? 1 : 0;
  EXPECT_GT(loads, 0u);
  FSSound_HostAttach(root.c_str(), nullptr, nullptr);
}

TEST(EmulatedModule, NeedleCallbackReturnsItsDoubleInSt0) {
  REQUIRE_GAU(path, "vrn_radalt");
  GuestMachine machine;
  const auto module = EmulatedModule::load(machine, path);
  const GuestAddr header = gauge_headers(machine, *module).at(0);
  // The first needle in chain order stores the ground elevation: its source in 1/256 m.
  GuestAddr element = machine.read_u32(machine.read_u32(header + kHeaderElementList));
  while (element != 0 && machine.read_u32(element) != frame::kNeedle) {
    const GuestAddr next = machine.read_u32(element + kElementNextList);
    element = next == 0 ? 0 : machine.read_u32(next);
  }
  ASSERT_NE(element, 0u);
  machine.write_f64(element + kNeedleSourceValue, 256 * 123.5);
  const CallResult r = machine.call(machine.read_u32(element + kNeedleCallback), {element});
  ASSERT_EQ(r.status, CallStatus::kOk) << r.what;
  EXPECT_EQ(r.st0, 123.0);
}

TEST(EmulatedModule, HandsOutItsBitmapResources) {
  REQUIRE_GAU(path, "cabsound");
  GuestMachine machine;
  const auto module = EmulatedModule::load(machine, path);
  const formats::PeImage pe(formats::read_file_bytes(path));
  size_t bitmaps = 0;
  for (const formats::Resource& r : formats::read_resources(pe)) {
    if (r.type.is_text || r.type.id != formats::kResourceTypeBitmap) continue;
    ++bitmaps;
    const std::span<const uint8_t> dib = module->bitmap_resource(r.name.id);
    EXPECT_TRUE(std::equal(dib.begin(), dib.end(), r.data.begin(), r.data.end()));
    EXPECT_EQ(dib[0], 40);  // the info header's size
  }
  EXPECT_GT(bitmaps, 0u);
  EXPECT_TRUE(module->bitmap_resource(0xfff0).empty());
}

using Bytes = std::vector<uint8_t>;

void put_u16(Bytes& b, size_t at, uint16_t v) {
  b.at(at) = static_cast<uint8_t>(v);
  b.at(at + 1) = static_cast<uint8_t>(v >> 8);
}

void patch_entry(Bytes& b, const Bytes& code) {
  const formats::PeImage pe(b);
  const uint64_t at = pe.file_offset(pe.entry_point_rva(), code.size(), "entry");
  std::copy(code.begin(), code.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

void rename_import(Bytes& b, const std::string& from, const std::string& to) {
  const std::string needle = from + '\0';
  const auto at = std::search(b.begin(), b.end(), needle.begin(), needle.end());
  ASSERT_NE(at, b.end());
  std::copy(to.begin(), to.end(), at);
}

TEST(EmulatedModule, RefusesBrokenFilesWithOneLine) {
  REQUIRE_GAU(path, "cabsound");
  const Bytes original = formats::read_file_bytes(path);
  const size_t pe_at = formats::ByteReader(original).u32(0x3c, "e_lfanew");
  struct Row {
    const char* name;
    std::function<void(Bytes&)> spoil;
    const char* what;
  };
  const Row rows[] = {
      {"truncated", [](Bytes& b) { b.resize(300); }, "cabsound_broken.gau: "},
      {"no PE header",
       [](Bytes& b) {
         b.at(0x3c) = 0xf0;
         b.at(0x3d) = 0xff;
       },
       "PE signature"},
      {"section table past the end", [&](Bytes& b) { put_u16(b, pe_at + 6, 0xffff); },
       "section table"},
      {"not i386", [&](Bytes& b) { put_u16(b, pe_at + 4, 0x8664); }, "not i386"},
      {"unknown import", [](Bytes& b) { rename_import(b, "Sleep", "Slerp"); },
       "imports KERNEL32.dll!Slerp, which the emulated loader does not provide"},
      {"entry point refuses",
       [](Bytes& b) {
         patch_entry(b, {0x31, 0xc0, 0xc2, 0x0c, 0x00});
       },
       "refused DLL_PROCESS_ATTACH"},
      {"entry point faults",
       [](Bytes& b) {
         patch_entry(b, {0xa1, 0x10, 0, 0, 0});
       },
       "its entry point failed: read of unmapped address 0x00000010"},
  };
  const fs::path broken = fs::temp_directory_path() / "cabsound_broken.gau";
  GuestMachine machine;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bytes bytes = original;
    row.spoil(bytes);
    std::ofstream(broken, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    try {
      EmulatedModule::load(machine, broken.string());
      ADD_FAILURE() << "loaded";
    } catch (const EmulationError& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find(row.what), std::string::npos) << what;
      EXPECT_EQ(what.find('\n'), std::string::npos) << what;
    }
  }
  // The refusals left the machine as it was: the real module still loads at its base.
  const auto module = EmulatedModule::load(machine, path);
  EXPECT_EQ(module->image_base(), formats::PeImage(original).image_base());
  fs::remove(broken);
}

}  // namespace
}  // namespace emu_tests
