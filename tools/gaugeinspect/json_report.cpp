#include "tools/gaugeinspect/json_report.h"

#include "tools/gaugeinspect/image_view.h"
#include "tools/gaugeinspect/read_errors.h"
#include "tools/gaugeinspect/record_names.h"

namespace gaugeinspect {
namespace {

template <typename Range>
Json numbers(const Range& values) {
  Json a = Json::array();
  for (const auto& v : values) a.push(jnum(static_cast<double>(v)));
  return a;
}

Json strings(const std::vector<std::string>& values) {
  Json a = Json::array();
  for (const std::string& s : values) a.push(jstr(s));
  return a;
}

Json pe_tables(const PeImage& pe, Json doc) {
  Json sections = Json::array();
  for (const PeSection& s : pe.sections()) {
    sections.push(Json::object()
                      .set("name", jstr(s.name))
                      .set("rva", jnum(s.virtual_address))
                      .set("virtual_size", jnum(s.virtual_size))
                      .set("raw_size", jnum(s.size_of_raw_data))
                      .set("code", jbool(s.executable()))
                      .set("data", jbool(s.data())));
  }
  Json exports = Json::array();
  for (const PeExport& e : pe.exports()) {
    exports.push(Json::object()
                     .set("name", e.name.empty() ? Json() : jstr(e.name))
                     .set("ordinal", jnum(e.ordinal))
                     .set("rva", jnum(e.rva))
                     .set("section", jstr(e.section))
                     .set("data", jbool(e.in_data_section)));
  }
  Json imports = Json::array();
  for (const PeImportedDll& d : pe.imports()) {
    imports.push(Json::object()
                     .set("dll", jstr(d.dll))
                     .set("ordinals", numbers(d.ordinals))
                     .set("names", strings(d.names)));
  }
  return doc.set("sections", std::move(sections))
      .set("exports", std::move(exports))
      .set("imports", std::move(imports));
}

Json element_json(const ElementRecord& e, size_t index) {
  Json j = Json::object()
               .set("index", jnum(static_cast<double>(index)))
               .set("rva", jnum(e.rva))
               .set("type", jstr(element_type_name(e.type)))
               .set("type_code", jnum(e.type))
               .set("bitmap", jnum(e.bitmap_id))
               .set("x", jnum(e.x))
               .set("y", jnum(e.y))
               .set("pivot_x", jnum(e.pivot_x))
               .set("pivot_y", jnum(e.pivot_y))
               .set("flags", jnum(e.image_flags))
               .set("flags_hex", jstr(hex32(e.image_flags)))
               .set("flag_names", strings(image_flag_names(e.image_flags)))
               .set("hidden", jbool(e.hidden()))
               .set("gauge", pointer_json(e.gauge))
               .set("next_list", pointer_json(e.next_list));
  Json next = Json::array();
  for (const Pointer& p : e.next) next.push(pointer_json(p));
  j.set("next", std::move(next)).set("failure_list", pointer_json(e.failure_list));
  if (e.has_source) {
    j.set("source", Json::object()
                        .set("token", jnum(e.source.token))
                        .set("pointer", pointer_json(e.source.pointer))
                        .set("value", jnum(e.source.value)));
  }
  if (e.type == kElementIcon) j.set("icon_word", jnum(e.icon_word));
  if (e.type == kElementNeedle) {
    Json entries = Json::array();
    for (const NeedleEntryRecord& n : e.entries) {
      Json entry =
          Json::object().set("x", jnum(n.x)).set("y", jnum(n.y)).set("value", jnum(n.value));
      if (n.reserved != 0) entry.set("reserved", jnum(n.reserved));
      entries.push(std::move(entry));
    }
    j.set("table", pointer_json(e.table))
        .set("table_count", jnum(e.table_count))
        .set("table_entries", std::move(entries))
        .set("callback", pointer_json(e.callback));
  }
  if (!e.error.empty()) j.set("error", jstr(e.error));
  return j;
}

Json mouse_json(const MouseRectRecord& m) {
  return Json::object()
      .set("rva", jnum(m.rva))
      .set("kind", jstr(mouse_kind_name(m.kind)))
      .set("x", jnum(m.x))
      .set("y", jnum(m.y))
      .set("width", jnum(m.width))
      .set("height", jnum(m.height))
      .set("cursor", jnum(m.cursor))
      .set("help_id", jnum(m.help_id))
      .set("flags", jnum(m.mouse_flags))
      .set("flags_hex", jstr(hex32(m.mouse_flags)))
      .set("event_id", jnum(m.event_id))
      .set("routine", pointer_json(m.routine))
      .set("routine_data", jnum(m.routine_data));
}

Json gauge_json(const GaugeRecord& g) {
  Json routines = Json::object();
  for (size_t i = 0; i < g.routines.size(); ++i)
    routines.set(kRoutineNames[i], pointer_json(g.routines[i]));
  Json elements = Json::array();
  for (size_t i = 0; i < g.elements.size(); ++i) elements.push(element_json(g.elements[i], i));
  Json mouse = Json::array();
  for (const MouseRectRecord& m : g.mouse) mouse.push(mouse_json(m));
  Json j = Json::object()
               .set("rva", jnum(g.rva))
               .set("name", jstr(g.name))
               .set("version", jnum(g.version))
               .set("default_size_mm", jnum(g.default_size_mm))
               .set("element_list", pointer_json(g.element_list))
               .set("first_element", pointer_json(g.first_element))
               .set("routines", std::move(routines))
               .set("callback", pointer_json(g.callback))
               .set("mouse_rects", pointer_json(g.mouse_rects))
               .set("elements", std::move(elements))
               .set("mouse", std::move(mouse));
  if (!g.error.empty()) j.set("error", jstr(g.error));
  if (!g.chain_error.empty()) j.set("chain_error", jstr(g.chain_error));
  if (!g.mouse_error.empty()) j.set("mouse_error", jstr(g.mouse_error));
  return j;
}

Json resource_json(const ResourceInfo& info) {
  const Resource& r = info.resource;
  Json j = Json::object().set("type", jstr(resource_type_name(r.type)));
  if (!r.type.is_text) j.set("type_id", jnum(r.type.id));
  j.set("name", r.name.is_text ? jstr(r.name.text) : jnum(r.name.id))
      .set("language", jnum(r.language))
      .set("rva", jnum(r.data_rva))
      .set("size", jnum(r.size));
  if (info.is_bitmap) {
    const BitmapHeader& b = info.bitmap;
    Json bitmap = Json::object()
                      .set("width", jnum(b.width))
                      .set("height", jnum(b.height))
                      .set("depth", jnum(b.bit_count))
                      .set("compression", jnum(b.compression))
                      .set("palette", jnum(b.palette_entries))
                      .set("valid", jbool(b.valid()));
    if (!b.valid()) bitmap.set("error", jstr(b.error));
    j.set("bitmap", std::move(bitmap));
  }
  if (info.wave) {
    const WaveFormat& w = *info.wave;
    Json wave = Json::object()
                    .set("format_tag", jnum(w.format_tag))
                    .set("channels", jnum(w.channels))
                    .set("rate", jnum(w.sample_rate))
                    .set("bits", jnum(w.bits_per_sample))
                    .set("data_bytes", jnum(w.data_bytes))
                    .set("valid", jbool(w.valid()));
    if (!w.valid()) wave.set("error", jstr(w.error));
    j.set("wave", std::move(wave));
  }
  return j;
}

}  // namespace

Json pointer_json(const Pointer& p) {
  if (p.is_null()) return Json();
  if (p.ok()) return jnum(*p.target);
  return Json::object().set("raw", jnum(p.raw)).set("error", jstr(p.error));
}

Json json_report(const Module& m) {
  const PeImage& pe = *m.pe;
  Json doc = Json::object()
                 .set("machine", jstr(machine_name(pe.machine())))
                 .set("image_base", jnum(pe.image_base()))
                 .set("relocations", jnum(static_cast<double>(m.relocations.addresses().size())));
  doc = pe_tables(pe, std::move(doc));

  Json import_table;
  if (m.import_table) {
    import_table = Json::object()
                       .set("rva", jnum(m.import_table->rva))
                       .set("id", jnum(m.import_table->id))
                       .set("services", pointer_json(m.import_table->services))
                       .set("closing", numbers(m.import_table->closing));
  }
  Json linkage;
  if (m.linkage) {
    Json gauges = Json::array();
    for (const Pointer& p : m.linkage->gauges) gauges.push(pointer_json(p));
    linkage = Json::object()
                  .set("rva", jnum(m.linkage->rva))
                  .set("id", jnum(m.linkage->id))
                  .set("init", pointer_json(m.linkage->init))
                  .set("deinit", pointer_json(m.linkage->deinit))
                  .set("reserved", numbers(m.linkage->reserved))
                  .set("gauges", std::move(gauges));
  }
  Json gauges = Json::array();
  for (const GaugeRecord& g : m.gauges) gauges.push(gauge_json(g));
  Json failures = Json::array();
  for (const FailureListRecord& f : m.failure_lists) {
    failures.push(Json::object()
                      .set("rva", jnum(f.rva))
                      .set("words", numbers(f.words))
                      .set("used_by", strings(f.used_by)));
  }
  Json resources = Json::array();
  for (const ResourceInfo& r : m.resources) resources.push(resource_json(r));

  return doc.set("import_table", std::move(import_table))
      .set("linkage", std::move(linkage))
      .set("gauges", std::move(gauges))
      .set("failure_lists", std::move(failures))
      .set("resources", std::move(resources))
      .set("errors", strings(read_errors(m)));
}

}  // namespace gaugeinspect
