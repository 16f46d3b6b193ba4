#include "host/emulated/emulated_module.h"

namespace host::emu {

struct EmulatedModule::State {
  std::string path;
};

std::unique_ptr<EmulatedModule> EmulatedModule::load(GuestMachine&, const std::string& path) {
  throw EmulationError(path + ": the emulated loader is not built yet");
}
EmulatedModule::EmulatedModule(std::unique_ptr<State> state) : state_(std::move(state)) {}
EmulatedModule::~EmulatedModule() = default;
GuestAddr EmulatedModule::export_address(std::string_view) const {
  return 0;
}
GuestAddr EmulatedModule::image_base() const {
  return 0;
}
uint32_t EmulatedModule::image_size() const {
  return 0;
}
bool EmulatedModule::contains(GuestAddr) const {
  return false;
}
std::span<const uint8_t> EmulatedModule::bitmap_resource(uint32_t) const {
  return {};
}
const std::string& EmulatedModule::path() const {
  return state_->path;
}

}  // namespace host::emu
