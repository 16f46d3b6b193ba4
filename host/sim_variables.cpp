#include "host/sim_variables.h"

namespace host {

void SimVariables::set(uint32_t token, double value) {
  Slot& s = slot(token);
  std::memcpy(&s.image, &value, sizeof value);
  s.number = value;
}

void SimVariables::set_int(uint32_t token, int32_t value) {
  Slot& s = slot(token);
  // The integer in the first four bytes, the rest zero.
  unsigned char bytes[sizeof s.image] = {};
  std::memcpy(bytes, &value, sizeof value);
  std::memcpy(&s.image, bytes, sizeof bytes);
  s.number = value;
}

}  // namespace host
