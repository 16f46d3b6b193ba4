#pragma once
// The simulation variables the host serves by token. Most are 64-bit floats;
// a few the host holds as 32-bit integers and serves in the value's first
// four bytes. An unknown token reads as zero.
//
// Gauges look variables up many times a frame, so the tokens in use (all
// small numbers) index a flat table that already holds the eight bytes a
// lookup writes; larger tokens fall back to a map.
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "frame/host_facts.h"
#include "frame/records.h"
#include "host/module_space.h"

namespace host {

inline constexpr uint32_t kTokenTicks = facts::token::kClockTicks;

class SimVariables {
 public:
  SimVariables() : direct_(kDirectTokens) {}

  void set(uint32_t token, double value);
  void set_int(uint32_t token, int32_t value);
  double get(uint32_t token) const {
    const Slot* slot = find(token);
    return slot == nullptr ? 0.0 : slot->number;
  }

  // What the lookup service writes into a module variable record.
  void write_value(frame::ModuleVar& var) const {
    const Slot* slot = find(var.token);
    uint64_t image = slot == nullptr ? 0 : slot->image;
    static_assert(sizeof image == sizeof var.value);
    std::memcpy(&var.value, &image, sizeof image);
  }
  // The same into the module variable record at `var` in `space`; returns
  // its token.
  uint32_t write_value(ModuleSpace& space, RecordRef var) const {
    const uint32_t token = space.u32(var);
    const Slot* slot = find(token);
    uint64_t image = slot == nullptr ? 0 : slot->image;
    space.write(var + space.layout().var_value, &image, sizeof image);
    return token;
  }

 private:
  // An unset slot is all zero bytes: it reads as 0.0 and serves zeros, as an
  // unknown token does.
  struct Slot {
    uint64_t image = 0;   // the value's bytes as a lookup serves them
    double number = 0.0;  // the value as get() reads it
  };
  static constexpr uint32_t kDirectTokens = 1024;

  const Slot* find(uint32_t token) const {
    if (token < kDirectTokens) return &direct_[token];
    auto it = others_.find(token);
    return it == others_.end() ? nullptr : &it->second;
  }
  Slot& slot(uint32_t token) { return token < kDirectTokens ? direct_[token] : others_[token]; }

  std::vector<Slot> direct_;
  std::map<uint32_t, Slot> others_;
};

}  // namespace host
