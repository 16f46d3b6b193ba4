#include "host/sim_variables.h"

#include <cstring>

namespace host {

void SimVariables::set(uint32_t token, double value) {
  values_[token] = Value{false, value, 0};
}

void SimVariables::set_int(uint32_t token, int32_t value) {
  values_[token] = Value{true, 0.0, value};
}

double SimVariables::get(uint32_t token) const {
  auto it = values_.find(token);
  if (it == values_.end()) return 0.0;
  return it->second.is_int ? it->second.i32 : it->second.f64;
}

void SimVariables::write_value(frame::ModuleVar& var) const {
  unsigned char bytes[sizeof var.value] = {};
  auto it = values_.find(var.token);
  if (it != values_.end()) {
    if (it->second.is_int) {
      std::memcpy(bytes, &it->second.i32, sizeof it->second.i32);
    } else {
      std::memcpy(bytes, &it->second.f64, sizeof it->second.f64);
    }
  }
  std::memcpy(&var.value, bytes, sizeof bytes);
}

}  // namespace host
