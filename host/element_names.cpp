#include "host/element_names.h"

#include "gpws/gpws_elements.h"
#include "radalt/radalt_elements.h"

namespace host {
namespace {

constexpr GaugeElementNames kGauges[] = {
    {"vrn_radalt", "radalt", radalt::kElementNames}, {"vrn_gpws", "test", gpws::kTestElementNames},
    {"vrn_gpws", "below", gpws::kLampElementNames},  {"vrn_gpws", "inop", gpws::kLampElementNames},
    {"vrn_gpws", "fi", gpws::kLampElementNames},
};

const GaugeElementNames* find(std::string_view module, std::string_view gauge) {
  for (const GaugeElementNames& g : kGauges) {
    if (module == g.module && gauge == g.gauge) return &g;
  }
  return nullptr;
}

}  // namespace

std::span<const GaugeElementNames> gauge_element_names() {
  return kGauges;
}

const char* element_name(std::string_view module, std::string_view gauge, size_t index) {
  const GaugeElementNames* g = find(module, gauge);
  return g != nullptr && index < g->names.size() ? g->names[index] : nullptr;
}

std::optional<size_t> element_number(std::string_view module, std::string_view gauge,
                                     std::string_view name) {
  if (const GaugeElementNames* g = find(module, gauge)) {
    for (size_t i = 0; i < g->names.size(); ++i) {
      if (name == g->names[i]) return i;
    }
  }
  return std::nullopt;
}

std::string_view gauge_of_label(std::string_view label) {
  return label.substr(0, label.find('@'));
}

std::string element_names_help(std::string_view module, std::string_view gauge) {
  std::string out;
  if (const GaugeElementNames* g = find(module, gauge)) {
    for (size_t i = 0; i < g->names.size(); ++i) {
      out += (i == 0 ? "" : ", ") + std::string(g->names[i]) + " (" + std::to_string(i) + ")";
    }
  }
  return out;
}

}  // namespace host
