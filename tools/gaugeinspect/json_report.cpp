#include "tools/gaugeinspect/json_report.h"

#include "tools/gaugeinspect/image_view.h"
#include "tools/gaugeinspect/read_errors.h"
#include "tools/gaugeinspect/record_names.h"

namespace gaugeinspect {
namespace {

// Members are added in the order of the records' fields: an ordered_json
// object keeps them so, and the report reads that way.

Json pe_tables(const formats::PeImage& pe, Json doc) {
  Json sections = Json::array();
  for (const formats::PeSection& s : pe.sections()) {
    sections.push_back({{"name", s.name},
                        {"rva", s.virtual_address},
                        {"virtual_size", s.virtual_size},
                        {"raw_size", s.size_of_raw_data},
                        {"code", s.executable()},
                        {"data", s.data()}});
  }
  Json exports = Json::array();
  for (const formats::PeExport& e : pe.exports()) {
    exports.push_back({{"name", e.name.empty() ? Json() : Json(e.name)},
                       {"ordinal", e.ordinal},
                       {"rva", e.rva},
                       {"section", e.section},
                       {"data", e.in_data_section}});
  }
  Json imports = Json::array();
  for (const formats::PeImportedDll& d : pe.imports()) {
    imports.push_back({{"dll", d.dll}, {"ordinals", Json(d.ordinals)}, {"names", Json(d.names)}});
  }
  doc["sections"] = std::move(sections);
  doc["exports"] = std::move(exports);
  doc["imports"] = std::move(imports);
  return doc;
}

Json element_json(const ElementRecord& e, size_t index) {
  Json next = Json::array();
  for (const Pointer& p : e.next) next.push_back(pointer_json(p));
  Json j = {{"index", index},
            {"rva", e.rva},
            {"type", element_type_name(e.type)},
            {"type_code", e.type},
            {"bitmap", e.bitmap_id},
            {"x", e.x},
            {"y", e.y},
            {"pivot_x", e.pivot_x},
            {"pivot_y", e.pivot_y},
            {"flags", e.image_flags},
            {"flags_hex", hex32(e.image_flags)},
            {"flag_names", Json(image_flag_names(e.image_flags))},
            {"hidden", e.hidden()},
            {"gauge", pointer_json(e.gauge)},
            {"next_list", pointer_json(e.next_list)},
            {"next", std::move(next)},
            {"failure_list", pointer_json(e.failure_list)}};
  if (e.has_source) {
    j["source"] = {{"token", e.source.token},
                   {"pointer", pointer_json(e.source.pointer)},
                   {"value", e.source.value}};
  }
  if (e.type == kElementIcon) j["icon_word"] = e.icon_word;
  if (e.type == kElementNeedle) {
    Json entries = Json::array();
    for (const NeedleEntryRecord& n : e.entries) {
      Json entry = {{"x", n.x}, {"y", n.y}, {"value", n.value}};
      if (n.reserved != 0) entry["reserved"] = n.reserved;
      entries.push_back(std::move(entry));
    }
    j["table"] = pointer_json(e.table);
    j["table_count"] = e.table_count;
    j["table_entries"] = std::move(entries);
    j["callback"] = pointer_json(e.callback);
  }
  if (!e.error.empty()) j["error"] = e.error;
  return j;
}

Json mouse_json(const MouseRectRecord& m) {
  return {{"rva", m.rva},
          {"kind", mouse_kind_name(m.kind)},
          {"x", m.x},
          {"y", m.y},
          {"width", m.width},
          {"height", m.height},
          {"cursor", m.cursor},
          {"help_id", m.help_id},
          {"flags", m.mouse_flags},
          {"flags_hex", hex32(m.mouse_flags)},
          {"event_id", m.event_id},
          {"routine", pointer_json(m.routine)},
          {"routine_data", m.routine_data}};
}

Json gauge_json(const GaugeRecord& g) {
  Json routines = Json::object();
  for (size_t i = 0; i < g.routines.size(); ++i)
    routines[kRoutineNames[i]] = pointer_json(g.routines[i]);
  Json elements = Json::array();
  for (size_t i = 0; i < g.elements.size(); ++i) elements.push_back(element_json(g.elements[i], i));
  Json mouse = Json::array();
  for (const MouseRectRecord& m : g.mouse) mouse.push_back(mouse_json(m));
  Json j = {{"rva", g.rva},
            {"name", g.name},
            {"version", g.version},
            {"default_size_mm", g.default_size_mm},
            {"element_list", pointer_json(g.element_list)},
            {"first_element", pointer_json(g.first_element)},
            {"routines", std::move(routines)},
            {"callback", pointer_json(g.callback)},
            {"mouse_rects", pointer_json(g.mouse_rects)},
            {"elements", std::move(elements)},
            {"mouse", std::move(mouse)}};
  if (!g.error.empty()) j["error"] = g.error;
  if (!g.chain_error.empty()) j["chain_error"] = g.chain_error;
  if (!g.mouse_error.empty()) j["mouse_error"] = g.mouse_error;
  return j;
}

Json resource_json(const ResourceInfo& info) {
  const formats::Resource& r = info.resource;
  Json j = {{"type", formats::resource_type_name(r.type)}};
  if (!r.type.is_text) j["type_id"] = r.type.id;
  j["name"] = r.name.is_text ? Json(r.name.text) : Json(r.name.id);
  j["language"] = r.language;
  j["rva"] = r.data_rva;
  j["size"] = r.size;
  if (info.is_bitmap) {
    const BitmapHeader& b = info.bitmap;
    Json bitmap = {{"width", b.width},
                   {"height", b.height},
                   {"depth", b.bit_count},
                   {"compression", b.compression},
                   {"palette", b.palette_entries},
                   {"valid", b.valid()}};
    if (!b.valid()) bitmap["error"] = b.error;
    j["bitmap"] = std::move(bitmap);
  }
  if (info.wave) {
    const WaveFormat& w = *info.wave;
    Json wave = {{"format_tag", w.format_tag}, {"channels", w.channels},
                 {"rate", w.sample_rate},      {"bits", w.bits_per_sample},
                 {"data_bytes", w.data_bytes}, {"valid", w.valid()}};
    if (!w.valid()) wave["error"] = w.error;
    j["wave"] = std::move(wave);
  }
  return j;
}

}  // namespace

Json pointer_json(const Pointer& p) {
  if (p.is_null()) return Json();
  if (p.ok()) return Json(*p.target);
  return {{"raw", p.raw}, {"error", p.error}};
}

Json json_report(const Module& m) {
  const formats::PeImage& pe = *m.pe;
  Json doc = {{"machine", machine_name(pe.machine())},
              {"image_base", pe.image_base()},
              {"relocations", m.relocations.addresses().size()}};
  doc = pe_tables(pe, std::move(doc));

  Json import_table;
  if (m.import_table) {
    import_table = {{"rva", m.import_table->rva},
                    {"id", m.import_table->id},
                    {"services", pointer_json(m.import_table->services)},
                    {"closing", Json(m.import_table->closing)}};
  }
  Json linkage;
  if (m.linkage) {
    Json gauges = Json::array();
    for (const Pointer& p : m.linkage->gauges) gauges.push_back(pointer_json(p));
    linkage = {{"rva", m.linkage->rva},
               {"id", m.linkage->id},
               {"init", pointer_json(m.linkage->init)},
               {"deinit", pointer_json(m.linkage->deinit)},
               {"reserved", Json(m.linkage->reserved)},
               {"gauges", std::move(gauges)}};
  }
  Json gauges = Json::array();
  for (const GaugeRecord& g : m.gauges) gauges.push_back(gauge_json(g));
  Json failures = Json::array();
  for (const FailureListRecord& f : m.failure_lists) {
    failures.push_back({{"rva", f.rva}, {"words", Json(f.words)}, {"used_by", Json(f.used_by)}});
  }
  Json resources = Json::array();
  for (const ResourceInfo& r : m.resources) resources.push_back(resource_json(r));

  doc["import_table"] = std::move(import_table);
  doc["linkage"] = std::move(linkage);
  doc["gauges"] = std::move(gauges);
  doc["failure_lists"] = std::move(failures);
  doc["resources"] = std::move(resources);
  doc["errors"] = Json(read_errors(m));
  return doc;
}

}  // namespace gaugeinspect
