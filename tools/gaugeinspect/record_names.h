#pragma once
// Names for the coded fields of the records, shared by both reports.
#include <cstdint>
#include <string>
#include <vector>

namespace gaugeinspect {

std::string element_type_name(uint32_t type);  // "static", "icon", "needle" or "type N"
std::string mouse_kind_name(uint32_t kind);    // "parent", "child", ... or "kind N"
// The named image flag bits in ascending order, then any unnamed bit as hex.
std::vector<std::string> image_flag_names(uint32_t flags);
std::string machine_name(uint16_t machine);

}  // namespace gaugeinspect
