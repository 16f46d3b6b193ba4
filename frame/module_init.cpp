#include "frame/element_list_routines.h"

namespace frame {

void GAUGE_CALL module_init() {}

}  // namespace frame

#if defined(_WIN32)
// The library entry: no start-up or shut-down of the module's own; the
// runtime's start-up runs around it.
extern "C" int GAUGE_CALL DllMain(void* /*module*/, uint32_t /*reason*/, void* /*reserved*/) {
  return 1;
}
#endif
