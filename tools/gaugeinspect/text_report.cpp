#include "tools/gaugeinspect/text_report.h"

#include <charconv>
#include <sstream>

#include "tools/gaugeinspect/image_view.h"
#include "tools/gaugeinspect/read_errors.h"
#include "tools/gaugeinspect/record_names.h"

namespace gaugeinspect {
namespace {

std::string ptr(const Pointer& p) {
  if (p.is_null()) return "null";
  if (p.ok()) return hex32(*p.target);
  return "invalid (" + p.error + ")";
}

std::string num(double d) {
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, d);
  return std::string(buf, res.ptr);
}

std::string joined(const std::vector<std::string>& items, const char* sep) {
  std::string out;
  for (const std::string& s : items) out += (out.empty() ? "" : sep) + s;
  return out;
}

void pe_tables(std::ostream& out, const Module& m) {
  const formats::PeImage& pe = *m.pe;
  out << "PE32 " << machine_name(pe.machine()) << ", image base " << hex32(pe.image_base()) << ", "
      << pe.sections().size() << " sections, " << m.relocations.addresses().size()
      << " relocated addresses\n";
  for (const formats::PeSection& s : pe.sections()) {
    out << "  section " << printable(s.name) << " rva " << hex32(s.virtual_address) << " size "
        << s.virtual_size << " raw " << s.size_of_raw_data
        << (s.executable() ? " code"
            : s.data()     ? " data"
                           : "")
        << "\n";
  }
  out << "exports:\n";
  for (const formats::PeExport& e : pe.exports()) {
    out << "  #" << e.ordinal << " " << (e.name.empty() ? "(no name)" : printable(e.name))
        << " rva " << hex32(e.rva) << " in " << (e.section.empty() ? "no section" : e.section)
        << (e.in_data_section ? " (data)" : "") << "\n";
  }
  out << "imports:\n";
  for (const formats::PeImportedDll& d : pe.imports()) {
    std::vector<std::string> items;
    for (uint16_t o : d.ordinals) items.push_back("#" + std::to_string(o));
    for (const std::string& n : d.names) items.push_back(printable(n));
    out << "  " << printable(d.dll) << ": " << joined(items, ", ") << "\n";
  }
}

void records(std::ostream& out, const Module& m) {
  if (m.import_table) {
    const ImportTableRecord& t = *m.import_table;
    out << "ImportTable at " << hex32(t.rva) << ": id " << t.id << ", services " << ptr(t.services)
        << "\n";
  }
  if (m.linkage) {
    const LinkageRecord& l = *m.linkage;
    out << "Linkage at " << hex32(l.rva) << ": id " << l.id << ", init " << ptr(l.init)
        << ", deinit " << ptr(l.deinit) << ", " << l.gauges.size() << " gauge(s)\n";
  }
}

void element(std::ostream& out, const ElementRecord& e, size_t index) {
  out << "    " << index << " " << element_type_name(e.type) << " at " << hex32(e.rva)
      << ": bitmap " << e.bitmap_id << " at (" << e.x << "," << e.y << ")";
  if (e.pivot_x != 0 || e.pivot_y != 0) out << " pivot (" << e.pivot_x << "," << e.pivot_y << ")";
  out << " flags " << hex32(e.image_flags) << " [" << joined(image_flag_names(e.image_flags), " ")
      << "]";
  if (!e.failure_list.is_null()) out << " failure list " << ptr(e.failure_list);
  if (e.has_source) out << " source token " << e.source.token;
  if (e.type == kElementIcon) out << " icon word " << e.icon_word;
  if (e.type == kElementNeedle) {
    out << " callback " << (e.callback.is_null() ? "none" : "present") << ", table " << ptr(e.table)
        << " of " << e.table_count << " entries";
  }
  out << "\n";
  for (const NeedleEntryRecord& n : e.entries) {
    out << "        (" << n.x << "," << n.y << ") " << num(n.value) << "\n";
  }
  if (!e.error.empty()) out << "      error: " << printable(e.error) << "\n";
}

void gauge(std::ostream& out, const GaugeRecord& g, size_t index) {
  out << printable(gauge_label(g, index)) << " at " << hex32(g.rva) << ": version " << g.version
      << ", default size " << g.default_size_mm << " mm, callback "
      << (g.callback.is_null() ? "none" : "present");
  size_t routines = 0;
  for (const Pointer& p : g.routines) routines += p.is_null() ? 0 : 1;
  out << ", " << routines << " of 7 routines\n";
  if (!g.error.empty()) out << "  error: " << printable(g.error) << "\n";
  if (g.error.empty() && g.version != kGaugeVersion) {
    out << "  (the records of another version are not read)\n";
  }
  out << "  elements:\n";
  for (size_t i = 0; i < g.elements.size(); ++i) element(out, g.elements[i], i);
  if (!g.chain_error.empty()) out << "    chain stops: " << printable(g.chain_error) << "\n";
  out << "  mouse rectangles:\n";
  for (const MouseRectRecord& r : g.mouse) {
    out << "    " << mouse_kind_name(r.kind);
    if (r.kind == kChild) {
      out << " (" << r.x << "," << r.y << "," << r.width << "," << r.height << ") cursor "
          << r.cursor << " flags " << hex32(r.mouse_flags) << " routine "
          << (r.routine.is_null() ? "none" : "present");
    }
    out << "\n";
  }
  if (!g.mouse_error.empty()) out << "    list stops: " << printable(g.mouse_error) << "\n";
}

void resource(std::ostream& out, const ResourceInfo& info) {
  const formats::Resource& r = info.resource;
  out << "  " << printable(formats::resource_type_name(r.type)) << " "
      << printable(r.name.display()) << " language " << r.language << ", " << r.size << " bytes";
  if (info.is_bitmap) {
    const BitmapHeader& b = info.bitmap;
    out << ": " << b.width << "x" << b.height << " " << b.bit_count << "-bit, compression "
        << b.compression << ", palette " << b.palette_entries;
    if (!b.valid()) out << " (invalid: " << b.error << ")";
  } else if (info.wave) {
    const WaveFormat& w = *info.wave;
    out << ": WAVE format " << w.format_tag << ", " << w.channels << " channel(s), "
        << w.sample_rate << " Hz, " << w.bits_per_sample << "-bit, " << w.data_bytes
        << " data bytes";
    if (!w.valid()) out << " (invalid: " << w.error << ")";
  }
  out << "\n";
}

}  // namespace

std::string printable(const std::string& text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c < 0x7F) {
      out += ch;
    } else {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

std::string text_report(const Module& m) {
  std::ostringstream out;
  pe_tables(out, m);
  records(out, m);
  for (size_t i = 0; i < m.gauges.size(); ++i) gauge(out, m.gauges[i], i);
  out << "failure lists:\n";
  for (const FailureListRecord& f : m.failure_lists) {
    std::vector<std::string> words;
    for (uint32_t w : f.words) words.push_back(std::to_string(w));
    out << "  " << hex32(f.rva) << ": " << joined(words, " ") << ", used by "
        << printable(joined(f.used_by, ", ")) << "\n";
  }
  out << "resources:\n";
  for (const ResourceInfo& r : m.resources) resource(out, r);
  const std::vector<std::string> errors = read_errors(m);
  out << "errors:" << (errors.empty() ? " none" : "") << "\n";
  for (const std::string& e : errors) out << "  " << printable(e) << "\n";
  return out.str();
}

}  // namespace gaugeinspect
