// The emulated loader through the host: broken copies of a real .gau and
// fixture modules that misbehave are refused or stopped with one clear line,
// never a crash of the host. The modules come from the folder
// GAUGE_MODULE_DIR names (the Windows build's bin/, see the emulated.*
// tests); without it every case is skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "host_fixture.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

bool have_gau_files() {
  return fs::exists(testing_host::module_dir() + "/vrn_radalt.gau");
}

Bytes read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t u32_at(const Bytes& b, size_t at) {
  uint32_t v = 0;
  if (at + 4 <= b.size()) std::memcpy(&v, &b[at], 4);
  return v;
}
uint16_t u16_at(const Bytes& b, size_t at) {
  uint16_t v = 0;
  if (at + 2 <= b.size()) std::memcpy(&v, &b[at], 2);
  return v;
}

// Where the PE headers put things, enough to patch a copy of a real module.
struct Pe {
  explicit Pe(const Bytes& b) : bytes(b), header(u32_at(b, 0x3c)) {}
  size_t optional_header() const { return header + 24; }
  uint32_t entry_rva() const { return u32_at(bytes, optional_header() + 16); }
  // The file offset of an RVA, by the section table; 0 when no section holds it.
  size_t offset_of(uint32_t rva) const {
    const size_t sections = optional_header() + u16_at(bytes, header + 20);
    for (size_t i = 0; i < u16_at(bytes, header + 6); ++i) {
      const size_t s = sections + 40 * i;
      const uint32_t va = u32_at(bytes, s + 12);
      const uint32_t size = u32_at(bytes, s + 16);
      if (rva >= va && rva < va + size) return u32_at(bytes, s + 20) + (rva - va);
    }
    return 0;
  }
  const Bytes& bytes;
  size_t header;
};

void put(Bytes& b, size_t at, std::initializer_list<uint8_t> code) {
  ASSERT_GT(at, 0u);
  ASSERT_LE(at + code.size(), b.size());
  std::copy(code.begin(), code.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

class EmulatedRefusals : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!have_gau_files()) GTEST_SKIP() << "no .gau files in " << testing_host::module_dir();
    dir_ =
        fs::temp_directory_path() /
        ("emulated_refusals_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  std::string write_module(const std::string& name, const Bytes& bytes) {
    std::ofstream out(dir_ / (name + ".gau"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return name;
  }
  host::HostOptions options() const {
    host::HostOptions o = testing_host::options();
    o.modules_dir = dir_.string();
    o.loader = "emulated";
    o.guard_module_faults = false;
    return o;
  }
  fs::path dir_;
};

TEST_F(EmulatedRefusals, BrokenFilesAreRefusedWithOneLine) {
  const Bytes good = read_file(testing_host::module_dir() + "/vrn_radalt.gau");
  ASSERT_GT(good.size(), 4096u);
  const Pe pe(good);
  struct Row {
    const char* name;
    std::function<void(Bytes&)> patch;
  };
  const Row rows[] = {
      {"truncated", [](Bytes& b) { b.resize(300); }},
      {"empty", [](Bytes& b) { b.clear(); }},
      {"no_pe_signature",
       [&](Bytes& b) {
         put(b, pe.header, {'X', 'E', 0, 0});
       }},
      {"not_i386",
       [&](Bytes& b) {
         put(b, pe.header + 4, {0x64, 0x86});
       }},
      {"sections_past_the_end", [&](Bytes& b) { b.resize(pe.offset_of(pe.entry_rva()) / 2); }},
      {"unknown_library",
       [](Bytes& b) {
         const std::string from = "KERNEL32.dll";
         auto at = std::search(b.begin(), b.end(), from.begin(), from.end());
         ASSERT_NE(at, b.end());
         std::copy_n("KERNEL99.dll", from.size(), at);
       }},
      // xor eax, eax; ret 12: the entry point says no.
      {"entry_point_fails",
       [&](Bytes& b) {
         put(b, pe.offset_of(pe.entry_rva()), {0x31, 0xc0, 0xc2, 0x0c, 0x00});
       }},
      // mov [0], eax: the entry point faults.
      {"entry_point_faults",
       [&](Bytes& b) {
         put(b, pe.offset_of(pe.entry_rva()), {0xa3, 0, 0, 0, 0});
       }},
      // jmp $: the entry point never returns.
      {"entry_point_loops",
       [&](Bytes& b) {
         put(b, pe.offset_of(pe.entry_rva()), {0xeb, 0xfe});
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bytes bytes = good;
    row.patch(bytes);
    const std::string name = write_module(row.name, bytes);
    host::PanelHost panel(options());
    const std::string error = testing_host::error_of([&] { panel.load_module(name); });
    EXPECT_NE(error, "(no error)");
    EXPECT_NE(error.find(name + ".gau"), std::string::npos) << "names the file: " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << "one line: " << error;
  }
}

// A module whose code misbehaves in a call: the call ends with a HostError
// naming the gauge, the call, the frame and what happened; the host goes on.
TEST_F(EmulatedRefusals, MisbehavingCallsEndWithTheGaugeNamed) {
  for (const char* module : {"misbehaving_gauge", "crashing_gauge"}) {
    fs::copy_file(testing_host::module_dir() + "/" + module + ".gau",
                  dir_ / (std::string(module) + ".gau"));
  }
  struct Row {
    const char* module;
    const char* gauge;
    uint32_t token;
    double value;
    const char* says;
  };
  const Row rows[] = {
      {"misbehaving_gauge", "misbehave", 998, 1.0,
       "misbehave crashed in update at frame 2: it ran too long"},
      {"misbehaving_gauge", "misbehave", 998, 2.0,
       "misbehave crashed in update at frame 2: it wrote outside its memory"},
      // Once installed, a gauge must not use the heap: its first heap call
      // ends the call, named with its argument.
      {"misbehaving_gauge", "misbehave", 998, 3.0,
       "misbehave crashed in update at frame 2: it used the heap after install: malloc(64)"},
      {"crashing_gauge", "crash", 999, 1.0, "crash crashed in update at frame 2: it faulted"},
      // With every write checked, a write through null is one outside its memory.
      {"crashing_gauge", "crash", 999, 2.0,
       "crash crashed in update at frame 2: it wrote outside its memory"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.module) + " " + std::to_string(row.value));
    host::HostOptions o = options();
    o.emulation.instruction_budget = 2'000'000;
    o.emulation.check_writes = true;
    host::PanelHost panel(o);
    panel.add_gauge(row.module, row.gauge);
    panel.start();
    panel.run_frame();
    panel.sim().set(row.token, row.value);
    const std::string error = testing_host::error_of([&] { panel.run_frame(); });
    EXPECT_EQ(error.rfind(row.says, 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    // The host is sound: the next frame without the misdeed flies.
    panel.sim().set(row.token, 0.0);
    EXPECT_EQ(testing_host::error_of([&] { panel.run_frame(); }), "(no error)");
  }
}

// Module code that allocates after install breaks the zero-allocation rule:
// the emulated loader counts its heap calls, and the first ends the call.
TEST_F(EmulatedRefusals, HeapCallsInAnUpdateAreCounted) {
  fs::copy_file(testing_host::module_dir() + "/misbehaving_gauge.gau",
                dir_ / "misbehaving_gauge.gau");
  host::PanelHost panel(options());
  panel.add_gauge("misbehaving_gauge", "misbehave");
  panel.start();
  const uint64_t after_install = panel.module_heap_calls();
  panel.run_frames(3);
  EXPECT_EQ(panel.module_heap_calls(), after_install) << "no heap calls while it behaves";
  panel.sim().set(998, 3.0);
  const std::string error = testing_host::error_of([&] { panel.run_frame(); });
  EXPECT_NE(error.find("it used the heap after install: malloc(64)"), std::string::npos) << error;
  EXPECT_GT(panel.module_heap_calls(), after_install) << "its malloc is seen";
}

// Each call into module code is counted exactly when asked: by gauge and
// call, every update of every frame, and nothing when not asked.
TEST_F(EmulatedRefusals, InstructionsAreCountedByGaugeAndCallWhenAsked) {
  fs::copy_file(testing_host::module_dir() + "/vrn_radalt.gau", dir_ / "vrn_radalt.gau");
  fs::copy_file(testing_host::module_dir() + "/vrn_gpws.gau", dir_ / "vrn_gpws.gau");
  for (bool counting : {false, true}) {
    SCOPED_TRACE(counting ? "counting" : "not counting");
    host::HostOptions o = options();
    o.emulation.count_instructions = counting;
    host::PanelHost panel(o);
    panel.named().host_storage("radalt_adi");
    panel.add_gauge("vrn_radalt", "radalt");
    panel.add_gauge("vrn_gpws", "fi");
    panel.start();
    panel.run_frames(5);
    const auto counts = panel.space().instruction_counts();
    if (!counting) {
      EXPECT_TRUE(counts.empty());
      continue;
    }
    struct Row {
      const char* gauge;
      const char* call;
      uint64_t calls;  // 0: some each frame
    };
    for (const Row& row : {Row{"radalt", "install", 1}, Row{"radalt", "update", 5},
                           Row{"radalt", "a needle callback", 0}, Row{"fi", "update", 5}}) {
      SCOPED_TRACE(std::string(row.gauge) + " " + row.call);
      const auto it = std::find_if(counts.begin(), counts.end(), [&](const auto& c) {
        return c.gauge == row.gauge && c.call == row.call;
      });
      ASSERT_NE(it, counts.end());
      if (row.calls != 0) EXPECT_EQ(it->calls, row.calls);
      EXPECT_EQ(it->calls % (row.calls != 0 ? row.calls : 5), 0u);
      EXPECT_GT(it->instructions, 3 * it->calls) << "more than a return a call";
    }
  }
}

// With the guard on (as gaugehost flies), a failed emulated call ends the
// program as a native fault does: the crash line, then why, exit status 3.
TEST_F(EmulatedRefusals, TheGuardEndsTheFlightAsForAFault) {
  fs::copy_file(testing_host::module_dir() + "/crashing_gauge.gau", dir_ / "crashing_gauge.gau");
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        host::HostOptions o = options();
        o.guard_module_faults = true;
        host::PanelHost panel(o);
        panel.add_gauge("crashing_gauge", "crash");
        panel.start();
        panel.sim().set(999, 2.0);
        panel.run_frame();
      },
      ::testing::ExitedWithCode(3),
      "gaugehost: crash crashed in update at frame 1\ngaugehost: it faulted");
}

}  // namespace
