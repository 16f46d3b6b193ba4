// The frame's calls into the host: element-list routines, module variables
// and the play-with-reload rule, seen through the host's service table and
// the stand-in sound library.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/module_var.h"
#include "frame/record_builders.h"
#include "frame/sound_slot.h"
#include "fssound/fssound_host.h"
#include "host/module_space.h"
#include "host/service_table.h"

namespace frame_test {

using namespace frame;

extern LinkageRecord<2> two_gauges;
extern GaugeHeader first_gauge;
extern GaugeHeader second_gauge;
extern IconElement first_icon;

StaticElement first_background{};
IconElement first_icon{};
StaticElement second_background{};
ElementHeader* after_first_background[] = {&first_icon.header, nullptr};
ElementHeader* first_elements = &first_background.header;
ElementHeader* second_elements = &second_background.header;
MouseRect no_areas[] = {mouse_parent(), mouse_end_of_parent(), mouse_end_of_list()};

GaugeHeader first_gauge = gauge_header<two_gauges>("first", &first_elements, 38, no_areas, nullptr);
GaugeHeader second_gauge =
    gauge_header<two_gauges>("second", &second_elements, 38, no_areas, nullptr);
LinkageRecord<2> two_gauges = {
    kLinkageId, &module_init, &module_init, {}, {&first_gauge, &second_gauge, nullptr}};

}  // namespace frame_test

namespace {

using namespace frame;

struct Call {
  uint32_t slot;
  host::RecordRef first;
  bool has_arg;
  uint32_t arg;
  bool operator==(const Call&) const = default;
};

class Recorder : public host::ServiceSink {
 public:
  void element_list_service(uint32_t slot, host::RecordRef first, const uint32_t* arg) override {
    calls.push_back({slot, first, arg != nullptr, arg != nullptr ? *arg : 0});
  }
  void key_event(uint32_t id, uint32_t value) override {
    lines.push_back("key " + std::to_string(id) + " " + std::to_string(value));
  }
  void register_variable(host::RecordRef, uint32_t, const char*) override {}
  void link_variable(host::RecordRef, const char*) override {}
  void lookup_variable(host::RecordRef ref) override {
    auto* var = reinterpret_cast<ModuleVar*>(static_cast<uintptr_t>(ref));
    lines.push_back("lookup " + std::to_string(var->token));
    var->value = lookup_result;
  }
  void unregister_variable(const char*) override {}
  void stray_service(uint32_t slot) override { lines.push_back("stray " + std::to_string(slot)); }

  std::vector<Call> calls;
  std::vector<std::string> lines;
  double lookup_result = 0;
};

class FrameServices : public ::testing::Test {
 protected:
  void SetUp() override {
    ImportTable.services = host::service_table();
    host::set_service_sink(&recorder);
  }
  void TearDown() override {
    host::set_service_sink(nullptr);
    ImportTable.services = nullptr;
  }
  Recorder recorder;
};

TEST_F(FrameServices, ElementListRoutinesPassTheFirstGaugesFirstElement) {
  struct Case {
    const char* name;
    void (*call)(GaugeHeader&);
    uint32_t slot;
    bool has_arg;
  };
  const Case cases[] = {
      {"query", [](GaugeHeader& h) { h.query(); }, 24, false},
      {"install", [](GaugeHeader& h) { h.install(0xdeadbeef); }, 25, true},
      {"initialize", [](GaugeHeader& h) { h.initialize(); }, 26, false},
      {"update", [](GaugeHeader& h) { h.update(); }, 27, false},
      {"generate", [](GaugeHeader& h) { h.generate(7); }, 28, true},
      {"draw", [](GaugeHeader& h) { h.draw(); }, 29, false},
      {"kill uses slot 31, not 30", [](GaugeHeader& h) { h.kill(); }, 31, false},
  };
  for (GaugeHeader* via : {&frame_test::first_gauge, &frame_test::second_gauge}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + " through " + via->name);
      recorder.calls.clear();
      c.call(*via);
      ASSERT_EQ(recorder.calls.size(), 1u);
      const Call& got = recorder.calls[0];
      EXPECT_EQ(got.slot, c.slot);
      EXPECT_EQ(got.first, host::ref_of(&frame_test::first_background.header));
      EXPECT_EQ(got.has_arg, c.has_arg);
      if (c.has_arg) {
        EXPECT_EQ(got.arg, c.slot == 25 ? 0xdeadbeefu : 7u);
      }
    }
  }
  EXPECT_TRUE(recorder.lines.empty()) << "no stray slot was called";
}

TEST_F(FrameServices, ModuleVariablesAreReadOnlyAfterALookup) {
  ModuleVar var{};
  var.token = 279;
  EXPECT_EQ(var.value, 0.0) << "never looked up reads as zero";
  recorder.lookup_result = 12.75;
  EXPECT_EQ(lookup_f64(var), 12.75);
  EXPECT_EQ(recorder.lines, std::vector<std::string>{"lookup 279"});

  // An integer variable arrives in the value's first four bytes.
  int32_t as_int = -42;
  double raw = 0;
  std::memcpy(&raw, &as_int, sizeof as_int);
  recorder.lookup_result = raw;
  EXPECT_EQ(lookup_i32(var), -42);
}

}  // namespace
