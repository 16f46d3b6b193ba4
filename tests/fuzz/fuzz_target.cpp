#include "tests/fuzz/fuzz_target.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "tests/fuzz/fuzz_flight.h"
#include "tests/fuzz/module_image.h"
#include "tests/fuzz/panel_watch.h"

namespace fuzz {
namespace {

std::unique_ptr<ModuleImage> image;
const void* state = nullptr;

using StateProbe = const void* (*)();

}  // namespace

void initialize(const Target& target) {
  image = std::make_unique<ModuleImage>(std::string(MODULE_DIR) + "/" + target.module + ".so");
  if (auto probe = reinterpret_cast<StateProbe>(image->symbol("GaugeStateProbe"))) state = probe();
  // Rules read the state record: a module built without its PROBE
  // (add_gauge_module) cannot be checked.
  if (target.rules && state == nullptr) {
    std::fprintf(stderr, "%s exports no GaugeStateProbe for its rules\n", target.module);
    std::exit(2);
  }
}

int test_one_input(const Target& target, const uint8_t* data, size_t size) {
  image->restore();
  if (target.reset) target.reset();
  host::HostOptions options{MODULE_DIR, SIM_ROOT, nullptr};
  options.guard_module_faults = false;  // libFuzzer keeps the input that faulted
  host::PanelHost panel(options);
  std::vector<std::string> labels;
  for (const char* gauge : target.gauges) labels.push_back(panel.add_gauge(target.module, gauge));
  PanelWatch watch(panel, labels);
  Check check = [&](const char* after) {
    watch.check(after);
    if (target.rules) target.rules(panel, state, after);
  };
  fly(std::string_view(reinterpret_cast<const char*>(data), size), panel, labels, check);
  return 0;
}

}  // namespace fuzz
