#include "tools/gaugeinspect/module_reader.h"

#include <algorithm>

#include "tools/gaugeinspect/gauge_reader.h"

namespace gaugeinspect {
namespace {

const formats::PeExport* find_export(const formats::PeImage& pe, const std::string& name) {
  const auto e = std::find_if(pe.exports().begin(), pe.exports().end(),
                              [&](const formats::PeExport& x) { return x.name == name; });
  return e == pe.exports().end() ? nullptr : &*e;
}

void read_resource_infos(Module& m) {
  std::vector<formats::Resource> found;
  try {
    found = formats::read_resources(*m.pe);
  } catch (const std::runtime_error& e) {
    m.resource_error = e.what();
    return;
  }
  for (formats::Resource& r : found) {
    ResourceInfo info;
    info.is_bitmap = !r.type.is_text && r.type.id == formats::kResourceTypeBitmap;
    if (info.is_bitmap) {
      info.bitmap = r.data_error.empty() ? formats::read_bitmap_header(r.data) : BitmapHeader{};
      if (!r.data_error.empty()) info.bitmap.error = r.data_error;
    } else {
      info.wave = formats::read_wave_format(r.data, formats::RiffSize::kTrusted);
    }
    info.resource = std::move(r);
    m.resources.push_back(std::move(info));
  }
}

void read_import_table(Module& m, const ImageView& view) {
  const formats::PeExport* e = find_export(*m.pe, "ImportTable");
  if (e == nullptr) {
    m.import_table_error = "no export named ImportTable";
    return;
  }
  try {
    const Record r = view.record(e->rva, layout::kImportTableSize, "ImportTable");
    ImportTableRecord t;
    t.rva = e->rva;
    t.id = r.u32(layout::kImportTableRecordId);
    t.services = r.pointer(layout::kImportTableServices);
    t.closing = {r.u32(layout::kImportTableClosing), r.u32(layout::kImportTableClosing + 4)};
    m.import_table = t;
  } catch (const std::runtime_error& err) {
    m.import_table_error = err.what();
  }
}

void read_linkage(Module& m, const ImageView& view) {
  const formats::PeExport* e = find_export(*m.pe, "Linkage");
  if (e == nullptr) {
    m.linkage_error = "no export named Linkage";
    return;
  }
  LinkageRecord l;
  l.rva = e->rva;
  try {
    const Record r = view.record(e->rva, layout::kLinkageGauges, "Linkage");
    l.id = r.u32(layout::kLinkageRecordId);
    l.init = r.pointer(layout::kLinkageInit);
    l.deinit = r.pointer(layout::kLinkageDeinit);
    l.reserved = {r.u32(layout::kLinkageReserved12), r.u32(layout::kLinkageReserved12 + 4),
                  r.u32(layout::kLinkageReserved12 + 8)};
  } catch (const std::runtime_error& err) {
    m.linkage_error = err.what();
    return;
  }
  try {
    for (size_t i = 0;; ++i) {
      if (i == kMaxGauges) {
        l.list_error =
            "the gauge list has no null within " + std::to_string(kMaxGauges) + " entries";
        break;
      }
      const uint32_t at =
          e->rva + layout::kLinkageGauges + static_cast<uint32_t>(layout::kPointerSize * i);
      const Pointer p = view.record(at, layout::kPointerSize, "Linkage gauge list").pointer(0);
      if (p.is_null()) break;
      if (!p.ok()) {
        l.list_error = "gauge list entry " + std::to_string(i) + ": " + p.error;
        break;
      }
      l.gauges.push_back(p);
    }
  } catch (const std::runtime_error& err) {
    l.list_error = err.what();
  }
  m.linkage = l;
}

}  // namespace

const ResourceInfo* Module::bitmap(uint32_t id) const {
  for (const ResourceInfo& r : resources) {
    if (r.is_bitmap && !r.resource.name.is_text && r.resource.name.id == id) return &r;
  }
  return nullptr;
}

Module read_module(std::vector<uint8_t> file) {
  Module m;
  m.pe = std::make_unique<formats::PeImage>(std::move(file));
  m.relocations = formats::BaseRelocations(*m.pe);
  read_resource_infos(m);
  const ImageView view(*m.pe, m.relocations);
  read_import_table(m, view);
  read_linkage(m, view);
  if (m.linkage) {
    for (const Pointer& p : m.linkage->gauges) {
      m.gauges.push_back(read_gauge(view, *p.target, m.failure_lists));
    }
  }
  return m;
}

}  // namespace gaugeinspect
