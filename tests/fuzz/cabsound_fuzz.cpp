// cabsound's gauge under any input: the panel-wide rules (element records
// untouched but for the hidden flag, sound calls only on loaded handles).
#include "tests/fuzz/fuzz_target.h"

namespace {

const fuzz::Target kTarget{"cabsound", {"XML-Sound"}, nullptr, nullptr};

}  // namespace

MODULE_FUZZ_TARGET(kTarget)
