#pragma once
// The one way a flight, a panel or a test writes a simulation variable: a
// value in the unit the name carries, served as the host holds that
// variable (a 32-bit integer token as an integer, any other as a double).
#include "frame/convert.h"
#include "host/sim_names.h"
#include "host/sim_variables.h"

namespace host {

inline void serve_variable(SimVariables& sim, const SimName& var, double value) {
  const double host_value = value * var.scale;
  if (var.integer) {
    sim.set_int(var.token, frame::trunc_to_i32(host_value));
  } else {
    sim.set(var.token, host_value);
  }
}

// The variable's value now, in the unit its name carries.
inline double variable_value(const SimVariables& sim, const SimName& var) {
  return sim.get(var.token) / var.scale;
}

}  // namespace host
