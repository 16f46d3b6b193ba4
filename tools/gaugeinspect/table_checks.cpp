// Rules on what the simulator looks up before it reads any gauge: the two
// exported records, the sound library imports and the resources.
#include <cctype>

#include "tools/gaugeinspect/checks.h"
#include "tools/gaugeinspect/image_view.h"
#include "tools/gaugeinspect/record_names.h"

namespace gaugeinspect {
namespace {

constexpr uint32_t kImportTableId = 15;
constexpr uint32_t kLinkageId = 19;

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

void check_exports(const formats::PeImage& pe, std::vector<std::string>& out) {
  bool seen_import_table = false;
  bool seen_linkage = false;
  for (const formats::PeExport& e : pe.exports()) {
    const std::string label =
        "export " + (e.name.empty() ? "#" + std::to_string(e.ordinal) : "'" + e.name + "'");
    if (e.name == "ImportTable") {
      seen_import_table = true;
    } else if (e.name == "Linkage") {
      seen_linkage = true;
    } else {
      out.push_back(label + " is neither ImportTable nor Linkage");
      continue;
    }
    if (!e.in_data_section) out.push_back(label + " is not in a data section");
    if (e.forwarder) out.push_back(label + " is forwarded to another library");
  }
  if (!seen_import_table) out.push_back("no export named ImportTable");
  if (!seen_linkage) out.push_back("no export named Linkage");
}

void check_imports(const formats::PeImage& pe, std::vector<std::string>& out) {
  for (const formats::PeImportedDll& d : pe.imports()) {
    // The outside sound library is bound by ordinal; its names differ
    // between its versions.
    if (lower(d.dll) != "fssound.dll") continue;
    for (const std::string& name : d.names) {
      out.push_back("import " + d.dll + "!" + name + " is by name, not by ordinal");
    }
  }
}

void check_records(const Module& m, std::vector<std::string>& out) {
  const ImageView view(*m.pe, m.relocations);
  if (const auto& t = m.import_table) {
    if (t->id != kImportTableId)
      out.push_back("ImportTable identifier " + std::to_string(t->id) + ", expected 15");
    if (t->closing[0] != 0 || t->closing[1] != 0)
      out.push_back("ImportTable: its last two words are not zero");
  }
  if (const auto& l = m.linkage) {
    if (l->id != kLinkageId)
      out.push_back("Linkage identifier " + std::to_string(l->id) + ", expected 19");
    const std::pair<const char*, const Pointer*> routines[] = {{"init", &l->init},
                                                               {"deinit", &l->deinit}};
    for (const auto& [name, p] : routines) {
      if (!p->ok()) {
        out.push_back(std::string("Linkage ") + name + ": " + p->error);
      } else if (p->target && !view.in_code(*p->target)) {
        out.push_back(std::string("Linkage ") + name + " points outside the code");
      }
    }
    if (l->reserved != std::array<uint32_t, 3>{})
      out.push_back("Linkage: the words at +12..+20 are not zero");
    if (l->gauges.empty() && l->list_error.empty()) out.push_back("Linkage lists no gauge");
  }
}

void check_resources(const Module& m, std::vector<std::string>& out) {
  for (const ResourceInfo& r : m.resources) {
    const std::string label =
        formats::resource_type_name(r.resource.type) + " " + r.resource.name.display();
    if (r.is_bitmap && !r.bitmap.valid() && r.resource.data_error.empty())
      out.push_back(label + ": " + r.bitmap.error);
    if (r.wave && !r.wave->valid()) out.push_back(label + ": " + r.wave->error);
  }
}

}  // namespace

std::vector<std::string> check_tables(const Module& m) {
  std::vector<std::string> out;
  if (m.pe->machine() != formats::kMachineI386)
    out.push_back("machine " + machine_name(m.pe->machine()) + " is not i386");
  check_exports(*m.pe, out);
  check_imports(*m.pe, out);
  check_records(m, out);
  check_resources(m, out);
  return out;
}

}  // namespace gaugeinspect
