#pragma once
// Reading simulation values: always refresh through the host's lookup service
// first, in the same call that reads the value.
#include <cstdint>
#include <cstring>

#include "frame/host_services.h"
#include "frame/records.h"

namespace frame {

inline double lookup_f64(ModuleVar& var) {
  host_lookup_variable(&var);
  return var.value;
}

// For the host variables it holds as 32-bit integers in the value's first bytes.
inline int32_t lookup_i32(ModuleVar& var) {
  host_lookup_variable(&var);
  int32_t value = 0;
  std::memcpy(&value, &var.value, sizeof value);
  return value;
}

}  // namespace frame
