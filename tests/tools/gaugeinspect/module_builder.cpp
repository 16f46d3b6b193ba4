#include "tests/tools/gaugeinspect/module_builder.h"

namespace inspect_tests {
namespace {

// Routines are only ever addresses in the code section.
uint32_t code(uint32_t n) {
  return kTextRva + 0x10 * n;
}

uint32_t element_bytes(uint32_t type) {
  return type == 0 ? 96 : type == 4 ? 136 : 236;
}

}  // namespace

BuiltModule build_module(const ModulePlan& plan) {
  PeBuilder pe;
  BuiltModule m;
  m.import_table = pe.reserve(16);
  pe.put_u32(m.import_table, 15);
  m.linkage = pe.reserve(24 + 4 * static_cast<uint32_t>(plan.gauges.size() + 1));
  pe.put_u32(m.linkage, 19);
  pe.put_pointer(m.linkage + 4, code(1));
  pe.put_pointer(m.linkage + 8, code(1));
  m.failure_list = pe.reserve(24);
  pe.put_u32(m.failure_list, 20);
  pe.put_u32(m.failure_list + 4, 2);

  for (size_t g = 0; g < plan.gauges.size(); ++g) {
    const GaugePlan& gs = plan.gauges[g];
    const uint32_t header = pe.reserve(120);
    m.gauges.push_back(header);
    pe.put_pointer(m.linkage + 24 + 4 * static_cast<uint32_t>(g), header);
    pe.put_u32(header, 700);
    pe.put_pointer(header + 4, pe.add_string(gs.name));
    for (uint32_t r = 0; r < 7; ++r) pe.put_pointer(header + 12 + 4 * r, code(2 + r));
    pe.put_u32(header + 44, gs.size_mm);
    pe.put_pointer(header + 84, code(9));

    std::vector<uint32_t>& elements = m.elements.emplace_back();
    for (const ElementPlan& e : gs.elements) elements.push_back(pe.reserve(element_bytes(e.type)));
    std::vector<uint32_t>& next_lists = m.next_lists.emplace_back();
    for (size_t i = 0; i < gs.elements.size(); ++i) {
      const ElementPlan& e = gs.elements[i];
      const uint32_t at = elements[i];
      pe.put_u32(at, e.type);
      pe.put_u32(at + 4, e.bitmap);
      pe.put_u32(at + 8, static_cast<uint32_t>(e.x));
      pe.put_u32(at + 12, static_cast<uint32_t>(e.y));
      pe.put_u32(at + 24, static_cast<uint32_t>(e.pivot_x));
      pe.put_u32(at + 28, static_cast<uint32_t>(e.pivot_y));
      pe.put_pointer(at + 32, header);
      uint32_t list = 0;
      if (i + 1 < gs.elements.size()) {
        list = pe.reserve(8);
        pe.put_pointer(list, elements[i + 1]);
        pe.put_pointer(at + 40, list);
      }
      next_lists.push_back(list);
      if (e.failure) pe.put_pointer(at + 44, m.failure_list);
      pe.put_u32(at + 48, e.flags);
      pe.put_u32(at + 60, e.token);
      if (e.type == 4) pe.put_u32(at + 112, e.icon_word);
      if (e.type == 1) {
        const uint32_t count = static_cast<uint32_t>(e.table.size());
        if (count > 0) {
          const uint32_t table = pe.reserve(24 * count);
          if (m.first_table == 0) m.first_table = table;
          for (uint32_t k = 0; k < count; ++k) {
            pe.put_u32(table + 24 * k, static_cast<uint32_t>(e.table[k].x));
            pe.put_u32(table + 24 * k + 4, static_cast<uint32_t>(e.table[k].y));
            pe.put_f64(table + 24 * k + 8, e.table[k].value);
          }
          pe.put_pointer(at + 112, table);
        }
        pe.put_u32(at + 116, count);
        pe.put_pointer(at + 224, code(10));
      }
    }
    const uint32_t variable = pe.reserve(4);
    if (!elements.empty()) pe.put_pointer(variable, elements.front());
    pe.put_pointer(header + 8, variable);

    uint32_t mouse = 0;
    if (!gs.mouse.empty()) {
      mouse = pe.reserve(44 * static_cast<uint32_t>(gs.mouse.size()));
      for (size_t k = 0; k < gs.mouse.size(); ++k) {
        const MousePlan& r = gs.mouse[k];
        const uint32_t at = mouse + 44 * static_cast<uint32_t>(k);
        pe.put_u32(at, r.kind);
        pe.put_u32(at + 4, static_cast<uint32_t>(r.x));
        pe.put_u32(at + 8, static_cast<uint32_t>(r.y));
        pe.put_u32(at + 12, static_cast<uint32_t>(r.width));
        pe.put_u32(at + 16, static_cast<uint32_t>(r.height));
        pe.put_u32(at + 20, static_cast<uint32_t>(r.cursor));
        pe.put_u32(at + 28, r.flags);
        if (r.routine) pe.put_pointer(at + 36, code(11));
      }
      pe.put_pointer(header + 80, mouse);
    }
    m.mouse.push_back(mouse);
  }

  pe.add_export("ImportTable", m.import_table);
  if (plan.export_linkage) pe.add_export("Linkage", m.linkage);
  for (const std::string& name : plan.extra_exports) pe.add_export(name, pe.reserve(4));
  for (const BitmapPlan& b : plan.bitmaps) {
    pe.add_resource({2, ""}, {b.id, ""},
                    bitmap_resource(b.width, b.height, b.bits, b.bits <= 8 ? 1u << b.bits : 0));
  }
  if (plan.sound) {
    if (plan.sound_by_name) {
      pe.add_import("FSSound.dll", {1, 7}, {"FSSound_Stop"});
    } else {
      pe.add_import("FSSound.dll", {1, 7, 13, 14});
    }
    pe.add_resource({0, "SOUND"}, {0, "SOUND_OUTER"}, wave_file(1, 22050, 8, 100));
  }
  pe.add_import("KERNEL32.dll", {}, {"Sleep"});
  m.file = pe.build();
  return m;
}

ModulePlan sample_module() {
  ModulePlan s;
  GaugePlan button{"test", 38, {}, {}};
  button.elements = {
      {.type = 0, .bitmap = 4096, .flags = 0x1},
      {.type = 4, .bitmap = 4097, .x = 6, .y = 6, .flags = 0x40000007, .icon_word = 2},
      {.type = 4, .bitmap = 4098, .x = 5, .y = 5, .flags = 0x40000007, .failure = true},
      {.type = 1,
       .bitmap = 4099,
       .x = 23,
       .y = 23,
       .pivot_x = 2,
       .pivot_y = 8,
       .flags = 0x3,
       .failure = true,
       .token = 73,
       .table = {{23, 3, 0.0}, {43, 23, 15.24}, {23, 43, 30.48}}},
  };
  button.mouse = {
      {.kind = 1},
      {.kind = 2, .width = 46, .height = 46, .cursor = 5, .flags = 0x20000000, .routine = true},
      {.kind = 3},
      {.kind = 0}};
  GaugePlan lamp{"below", 38, {}, {}};
  lamp.elements = {{.type = 0, .bitmap = 4101, .flags = 0x3},
                   {.type = 4, .bitmap = 4102, .x = 6, .y = 5, .flags = 0x40000007}};
  lamp.mouse = {{.kind = 1}, {.kind = 3}, {.kind = 0}};
  s.gauges = {button, lamp};
  s.bitmaps = {{4096, 46, 46, 24}, {4097, 34, 34, 24}, {4098, 35, 36, 24},
               {4099, 20, 17, 8},  {4101, 46, 46, 24}, {4102, 34, 35, 24}};
  return s;
}

}  // namespace inspect_tests
