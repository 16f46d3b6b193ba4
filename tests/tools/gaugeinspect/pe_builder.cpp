#include "tests/tools/gaugeinspect/pe_builder.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <stdexcept>

namespace inspect_tests {
namespace {

constexpr uint32_t kHeadersBytes = 0x400;
constexpr uint32_t kFileAlign = 0x200;
constexpr uint32_t kSectionAlign = 0x1000;
constexpr uint32_t kLfanew = 0x40;
constexpr uint32_t kOptionalBytes = 96 + 16 * 8;
constexpr uint32_t kCodeFlags = 0x60000020;
constexpr uint32_t kDataFlags = 0xC0000040;
constexpr uint32_t kReadOnlyFlags = 0x40000040;

uint32_t align(uint32_t v, uint32_t a) {
  return (v + a - 1) / a * a;
}

void append(Bytes& b, const Bytes& more) {
  b.insert(b.end(), more.begin(), more.end());
}
void append32(Bytes& b, uint32_t v) {
  b.resize(b.size() + 4);
  put32(b, b.size() - 4, v);
}
void append16(Bytes& b, uint16_t v) {
  b.resize(b.size() + 2);
  put16(b, b.size() - 2, v);
}

struct Section {
  std::string name;
  uint32_t rva;
  Bytes bytes;
  uint32_t flags;
  int directory;  // -1 for none
};

}  // namespace

void put16(Bytes& b, size_t at, uint16_t v) {
  if (at + 2 > b.size()) throw std::out_of_range("put16 past the buffer");
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void put32(Bytes& b, size_t at, uint32_t v) {
  if (at + 4 > b.size()) throw std::out_of_range("put32 past the buffer");
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t get32(const Bytes& b, size_t at) {
  if (at + 4 > b.size()) throw std::out_of_range("get32 past the buffer");
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b[at + i]) << (8 * i);
  return v;
}

uint32_t PeBuilder::reserve(uint32_t size) {
  const uint32_t at = align(static_cast<uint32_t>(data_.size()), 8);
  if (at + size > kMaxDataBytes) throw std::length_error("test data section full");
  data_.resize(at + size, 0);
  return kDataRva + at;
}

uint32_t PeBuilder::add_string(const std::string& text) {
  const uint32_t rva = reserve(static_cast<uint32_t>(text.size() + 1));
  std::memcpy(data_.data() + (rva - kDataRva), text.data(), text.size());
  return rva;
}

void PeBuilder::put_u32(uint32_t rva, uint32_t value) {
  put32(data_, rva - kDataRva, value);
}

void PeBuilder::put_f64(uint32_t rva, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  put_u32(rva, static_cast<uint32_t>(bits));
  put_u32(rva + 4, static_cast<uint32_t>(bits >> 32));
}

void PeBuilder::put_pointer(uint32_t field, uint32_t target) {
  put_u32(field, kImageBase + target);
  relocations_.push_back(field);
}

namespace {

Bytes export_table(uint32_t rva, const std::vector<std::pair<std::string, uint32_t>>& exports) {
  const uint32_t n = static_cast<uint32_t>(exports.size());
  const uint32_t functions = 40, names = functions + 4 * n, ordinals = names + 4 * n;
  Bytes b(ordinals + 2 * n, 0);
  put32(b, 16, 1);  // ordinal base
  put32(b, 20, n);
  put32(b, 24, n);
  put32(b, 28, rva + functions);
  put32(b, 32, rva + names);
  put32(b, 36, rva + ordinals);
  for (uint32_t i = 0; i < n; ++i) {
    put32(b, functions + 4 * i, exports[i].second);
    put32(b, names + 4 * i, rva + static_cast<uint32_t>(b.size()));
    put16(b, ordinals + 2 * i, static_cast<uint16_t>(i));
    for (char c : exports[i].first) b.push_back(static_cast<uint8_t>(c));
    b.push_back(0);
  }
  return b;
}

}  // namespace

Bytes PeBuilder::build() const {
  std::vector<Section> sections;
  sections.push_back({".text", kTextRva, Bytes(kTextBytes, 0xC3), kCodeFlags, -1});
  sections.push_back({".data", kDataRva, data_, kDataFlags, -1});
  uint32_t next_rva = kDataRva + align(std::max<uint32_t>(1, data_.size()), kSectionAlign);
  const auto add = [&](const char* name, int dir, const std::function<Bytes(uint32_t)>& make) {
    Bytes bytes = make(next_rva);
    sections.push_back({name, next_rva, bytes, kReadOnlyFlags, dir});
    next_rva += align(std::max<uint32_t>(1, bytes.size()), kSectionAlign);
  };
  if (!exports_.empty()) {
    std::vector<std::pair<std::string, uint32_t>> list;
    for (const Export& e : exports_) list.emplace_back(e.name, e.rva);
    add(".edata", 0, [&](uint32_t rva) { return export_table(rva, list); });
  }
  if (!imports_.empty()) {
    add(".idata", 1, [&](uint32_t rva) {
      Bytes b((imports_.size() + 1) * 20, 0);
      for (size_t i = 0; i < imports_.size(); ++i) {
        const Import& d = imports_[i];
        const uint32_t thunks = rva + static_cast<uint32_t>(b.size());
        const size_t thunk_at = b.size();
        b.resize(b.size() + 4 * (d.ordinals.size() + d.names.size() + 1), 0);
        size_t t = thunk_at;
        for (uint16_t o : d.ordinals) {
          put32(b, t, 0x80000000u | o);
          t += 4;
        }
        for (const std::string& n : d.names) {
          put32(b, t, rva + static_cast<uint32_t>(b.size()));
          t += 4;
          append16(b, 0);  // hint
          for (char c : n) b.push_back(static_cast<uint8_t>(c));
          b.push_back(0);
          if (b.size() % 2) b.push_back(0);
        }
        put32(b, 20 * i + 0, thunks);
        put32(b, 20 * i + 12, rva + static_cast<uint32_t>(b.size()));
        put32(b, 20 * i + 16, thunks);
        for (char c : d.dll) b.push_back(static_cast<uint8_t>(c));
        b.push_back(0);
        while (b.size() % 4) b.push_back(0);
      }
      return b;
    });
  }
  if (!resources_.empty()) add(".rsrc", 2, [&](uint32_t rva) { return resource_tree(rva); });
  if (!relocations_.empty()) {
    add(".reloc", 5, [&](uint32_t) {
      std::map<uint32_t, std::vector<uint16_t>> pages;
      for (uint32_t r : relocations_) {
        pages[r & ~0xFFFu].push_back(static_cast<uint16_t>(0x3000 | (r & 0xFFF)));
      }
      Bytes b;
      for (auto& [page, entries] : pages) {
        if (entries.size() % 2) entries.push_back(0);  // padding keeps blocks 4-byte sized
        append32(b, page);
        append32(b, static_cast<uint32_t>(8 + 2 * entries.size()));
        for (uint16_t e : entries) append16(b, e);
      }
      return b;
    });
  }

  Bytes file(kHeadersBytes, 0);
  put16(file, 0, 0x5A4D);
  put32(file, 0x3C, kLfanew);
  std::memcpy(file.data() + kLfanew, "PE\0\0", 4);
  const uint32_t coff = kLfanew + 4, opt = coff + 20;
  put16(file, coff, 0x14C);
  put16(file, coff + 2, static_cast<uint16_t>(sections.size()));
  put16(file, coff + 16, kOptionalBytes);
  put16(file, coff + 18, 0x2102);
  put16(file, opt, 0x10B);
  put32(file, opt + 28, kImageBase);
  put32(file, opt + 32, kSectionAlign);
  put32(file, opt + 36, kFileAlign);
  put32(file, opt + 56, next_rva);
  put32(file, opt + 60, kHeadersBytes);
  put32(file, opt + 92, 16);
  uint32_t table = opt + kOptionalBytes;
  for (const Section& s : sections) {
    const uint32_t raw = align(static_cast<uint32_t>(s.bytes.size()), kFileAlign);
    std::memcpy(file.data() + table, s.name.data(), std::min<size_t>(8, s.name.size()));
    put32(file, table + 8, static_cast<uint32_t>(s.bytes.size()));
    put32(file, table + 12, s.rva);
    put32(file, table + 16, raw);
    put32(file, table + 20, static_cast<uint32_t>(file.size()));
    put32(file, table + 36, s.flags);
    if (s.directory >= 0) {
      put32(file, opt + 96 + 8 * s.directory, s.rva);
      put32(file, opt + 96 + 8 * s.directory + 4, static_cast<uint32_t>(s.bytes.size()));
    }
    append(file, s.bytes);
    file.resize(file.size() + (raw - s.bytes.size()), 0);
    table += 40;
  }
  return file;
}

}  // namespace inspect_tests
