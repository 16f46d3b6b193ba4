#pragma once
// The names of the gauges' elements, as each module declares them beside
// its element indices (radalt/radalt_elements.h, gpws/gpws_elements.h): one
// lookup from a gauge's element number to its name and back, for flights
// (`expect element dh_lamp of radalt`) and for whatever shows an element to
// a reader. A gauge whose module declares no names has none: its elements
// are known by number only.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace host {

struct GaugeElementNames {
  const char* module;
  const char* gauge;
  std::span<const char* const> names;  // index for index
};

// Every gauge with named elements.
std::span<const GaugeElementNames> gauge_element_names();

// The name of element `index` of `gauge` of `module`; nullptr when it has none.
const char* element_name(std::string_view module, std::string_view gauge, size_t index);
// The number of the element `name` of `gauge` of `module`, if it has that name.
std::optional<size_t> element_number(std::string_view module, std::string_view gauge,
                                     std::string_view name);
// The gauge a panel label stands for: labels are gauge names, made unique
// on a panel with "@N" ("radalt@2", see PanelHost::add_gauge).
std::string_view gauge_of_label(std::string_view label);

// The names `gauge` of `module` knows, "background (0), ..., off_flag_b (13)";
// empty when it has none.
std::string element_names_help(std::string_view module, std::string_view gauge);

}  // namespace host
