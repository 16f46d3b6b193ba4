// libFuzzer entry: any bytes go through the whole reader, both reports and
// the checks. A malformed file may only end in an exception the tool
// reports; the sanitizers catch every other way of going wrong.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "tools/gaugeinspect/checks.h"
#include "tools/gaugeinspect/json_report.h"
#include "tools/gaugeinspect/module_reader.h"
#include "tools/gaugeinspect/text_report.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const gaugeinspect::Module m =
        gaugeinspect::read_module(std::vector<uint8_t>(data, data + size));
    (void)gaugeinspect::json_text(gaugeinspect::json_report(m));
    (void)gaugeinspect::text_report(m);
    (void)gaugeinspect::check_module(m);
  } catch (const std::runtime_error&) {
    // The tool's "error:" path.
  }
  return 0;
}
