// Rules on a gauge header and its mouse rectangle list.
#include <set>

#include "tools/gaugeinspect/checks.h"
#include "tools/gaugeinspect/image_view.h"
#include "tools/gaugeinspect/read_errors.h"
#include "tools/gaugeinspect/record_names.h"

namespace gaugeinspect {
namespace {

void check_code_pointer(const ImageView& view, const Pointer& p, const std::string& what,
                        bool required, std::vector<std::string>& out) {
  if (p.is_null()) {
    if (required) out.push_back(what + " is missing");
  } else if (!p.ok()) {
    out.push_back(what + ": " + p.error);
  } else if (!view.in_code(*p.target)) {
    out.push_back(what + " points outside the code");
  }
}

}  // namespace

void check_mouse_list(const Module& m, const GaugeRecord& g, const std::string& label,
                      std::vector<std::string>& out) {
  if (g.mouse_rects.is_null() || !g.mouse_error.empty()) return;  // none, or reported
  const ImageView view(*m.pe, m.relocations);
  // parent, children, end of parent, end of list: each kind where the
  // previous one allows it.
  size_t i = 0;
  const auto expect = [&](uint32_t kind) {
    if (i < g.mouse.size() && g.mouse[i].kind == kind) {
      ++i;
      return true;
    }
    out.push_back(label + ": mouse rectangle " + std::to_string(i) + " is " +
                  (i < g.mouse.size() ? mouse_kind_name(g.mouse[i].kind) : "missing") +
                  ", expected " + mouse_kind_name(kind));
    return false;
  };
  if (!expect(kParent)) return;
  for (; i < g.mouse.size() && g.mouse[i].kind == kChild; ++i) {
    const MouseRectRecord& r = g.mouse[i];
    const std::string where = label + ": mouse rectangle " + std::to_string(i);
    if (r.width <= 0 || r.height <= 0) {
      out.push_back(where + ": empty box " + std::to_string(r.width) + "x" +
                    std::to_string(r.height));
    }
    check_code_pointer(view, r.routine, where + " routine", true, out);
  }
  if (expect(kEndOfParent)) expect(kEndOfList);
}

std::vector<std::string> check_gauge(const Module& m, const GaugeRecord& g, size_t index) {
  std::vector<std::string> out;
  const std::string label = gauge_label(g, index);
  if (!g.error.empty()) return out;  // reported as a read error
  if (g.version != kGaugeVersion) {
    out.push_back(label + ": version " + std::to_string(g.version) + ", expected 700");
    return out;
  }
  if (g.name.empty()) out.push_back(label + ": no name");
  if (g.default_size_mm == 0) out.push_back(label + ": default size 0");
  const ImageView view(*m.pe, m.relocations);
  for (size_t i = 0; i < g.routines.size(); ++i) {
    check_code_pointer(view, g.routines[i], label + ": " + kRoutineNames[i] + " routine", true,
                       out);
  }
  check_code_pointer(view, g.callback, label + ": callback", false, out);
  if (g.element_list.is_null()) {
    out.push_back(label + ": no element list");
  } else if (g.first_element.is_null() && g.chain_error.empty()) {
    out.push_back(label + ": the element list is empty");
  }
  check_elements(m, g, label, out);
  check_mouse_list(m, g, label, out);
  return out;
}

std::vector<std::string> check_module(const Module& m) {
  std::vector<std::string> out = read_errors(m);
  for (std::string& s : check_tables(m)) out.push_back(std::move(s));
  std::set<std::string> names;
  for (size_t i = 0; i < m.gauges.size(); ++i) {
    const GaugeRecord& g = m.gauges[i];
    for (std::string& s : check_gauge(m, g, i)) out.push_back(std::move(s));
    if (!g.name.empty() && !names.insert(g.name).second) {
      out.push_back(gauge_label(g, i) + ": another gauge has the same name");
    }
  }
  return out;
}

}  // namespace gaugeinspect
