// cabsound's gauge under any input: the panel-wide rules (element records
// untouched but for the hidden flag, sound calls only on loaded handles).
#include "tests/fuzz/fuzz_target.h"

namespace {

const fuzz::Target kTarget{"cabsound", {"XML-Sound"}, nullptr, nullptr};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::initialize(kTarget);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return fuzz::test_one_input(kTarget, data, size);
}
