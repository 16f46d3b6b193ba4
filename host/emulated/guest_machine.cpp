#include "host/emulated/guest_machine.h"

namespace host::emu {

struct GuestMachine::Impl {
  MachineOptions options;
};

uint32_t StubCall::arg(size_t) const {
  return 0;
}
double StubCall::arg_f64(size_t) const {
  return 0.0;
}
void StubCall::set_st0(double value) {
  st0_set_ = true;
  st0_ = value;
}
void StubCall::fail(CallStatus status, std::string what) {
  fail_status_ = status;
  fail_reason_ = std::move(what);
}

GuestMachine::GuestMachine(MachineOptions options) : impl_(std::make_unique<Impl>()) {
  impl_->options = options;
}
GuestMachine::~GuestMachine() = default;
bool GuestMachine::read(GuestAddr, void*, size_t) const {
  return false;
}
bool GuestMachine::write(GuestAddr, const void*, size_t) {
  return false;
}
uint32_t GuestMachine::read_u32(GuestAddr) const {
  throw EmulationError("not built yet");
}
int32_t GuestMachine::read_i32(GuestAddr) const {
  throw EmulationError("not built yet");
}
double GuestMachine::read_f64(GuestAddr) const {
  throw EmulationError("not built yet");
}
void GuestMachine::write_u32(GuestAddr, uint32_t) {
  throw EmulationError("not built yet");
}
void GuestMachine::write_f64(GuestAddr, double) {
  throw EmulationError("not built yet");
}
std::string GuestMachine::read_string(GuestAddr, size_t) const {
  return {};
}
GuestAddr GuestMachine::host_block(size_t, const char*) {
  return 0;
}
GuestAddr GuestMachine::make_stub(std::string, uint32_t, StubFn, Convention) {
  return 0;
}
CallResult GuestMachine::call(GuestAddr, std::initializer_list<uint32_t>, Convention) {
  CallResult result;
  result.status = CallStatus::kHostError;
  result.what = "the emulated loader is not built yet";
  return result;
}
uint64_t GuestMachine::heap_calls() const {
  return 0;
}
const MachineOptions& GuestMachine::options() const {
  return impl_->options;
}

}  // namespace host::emu
