#include "tools/gaugeinspect/read_errors.h"

namespace gaugeinspect {

std::string gauge_label(const GaugeRecord& g, size_t index) {
  return g.name.empty() ? "gauge " + std::to_string(index) : "gauge '" + g.name + "'";
}

std::vector<std::string> read_errors(const Module& m) {
  std::vector<std::string> out;
  if (!m.resource_error.empty()) out.push_back("resources: " + m.resource_error);
  for (const ResourceInfo& r : m.resources) {
    if (!r.resource.data_error.empty()) {
      out.push_back("resource " + formats::resource_type_name(r.resource.type) + " " +
                    r.resource.name.display() + ": " + r.resource.data_error);
    }
  }
  if (!m.import_table_error.empty()) out.push_back("ImportTable: " + m.import_table_error);
  if (!m.linkage_error.empty()) out.push_back("Linkage: " + m.linkage_error);
  if (m.linkage && !m.linkage->list_error.empty())
    out.push_back("Linkage: " + m.linkage->list_error);
  for (size_t i = 0; i < m.gauges.size(); ++i) {
    const GaugeRecord& g = m.gauges[i];
    const std::string label = gauge_label(g, i);
    if (!g.error.empty()) out.push_back(label + ": " + g.error);
    for (size_t k = 0; k < g.elements.size(); ++k) {
      if (!g.elements[k].error.empty()) {
        out.push_back(label + ": element " + std::to_string(k) + ": " + g.elements[k].error);
      }
    }
    if (!g.chain_error.empty()) out.push_back(label + ": " + g.chain_error);
    if (!g.mouse_error.empty()) out.push_back(label + ": mouse rectangles: " + g.mouse_error);
  }
  return out;
}

}  // namespace gaugeinspect
