#pragma once
// The simulation variables the host serves by token. Most are 64-bit floats;
// a few the host holds as 32-bit integers and serves in the value's first
// four bytes. An unknown token reads as zero.
#include <cstdint>
#include <map>

#include "frame/records.h"

namespace host {

inline constexpr uint32_t kTokenTicks = 1;

class SimVariables {
 public:
  void set(uint32_t token, double value);
  void set_int(uint32_t token, int32_t value);
  double get(uint32_t token) const;

  // What the lookup service writes into a module variable record.
  void write_value(frame::ModuleVar& var) const;

 private:
  struct Value {
    bool is_int = false;
    double f64 = 0.0;
    int32_t i32 = 0;
  };
  std::map<uint32_t, Value> values_;
};

}  // namespace host
