// cabsound.gau's export and import tables, read from the file: what the
// simulator looks up in it and what it needs beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "formats/pe_image.h"
#include "tests/wine/loaded_gau.h"

namespace wine_tests {
namespace {

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string export_names(const PeImage& pe) {
  std::string list;
  for (const PeExport& e : pe.exports()) {
    list +=
        (list.empty() ? "" : ", ") + (e.name.empty() ? "#" + std::to_string(e.ordinal) : e.name);
  }
  return list;
}

std::string import_names(const PeImage& pe) {
  std::string list;
  for (const PeImportedDll& d : pe.imports()) list += (list.empty() ? "" : ", ") + d.dll;
  return list;
}

const PeExport* find_export(const PeImage& pe, const std::string& name) {
  for (const PeExport& e : pe.exports()) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

const PeImportedDll* find_import(const PeImage& pe, const std::string& dll) {
  for (const PeImportedDll& d : pe.imports()) {
    if (lower(d.dll) == lower(dll)) return &d;
  }
  return nullptr;
}

TEST(CabsoundExports, AreExactlyTheTwoRecordsAsUndecoratedData) {
  const PeImage& pe = cabsound_image();
  // The simulator looks both up by these exact names and reads them as data.
  const char* const kExpected[] = {"ImportTable", "Linkage"};
  for (const char* name : kExpected) {
    SCOPED_TRACE(name);
    const PeExport* e = find_export(pe, name);
    ASSERT_NE(e, nullptr) << "exports: " << export_names(pe);
    EXPECT_TRUE(e->in_data_section) << "in section '" << e->section << "'";
    EXPECT_FALSE(e->forwarder);
  }
  EXPECT_EQ(pe.exports().size(), std::size(kExpected)) << "exports: " << export_names(pe);
}

TEST(CabsoundExports, HaveDistinctOrdinalsAndAddresses) {
  const std::vector<PeExport>& exports = cabsound_image().exports();
  ASSERT_EQ(exports.size(), 2u);
  EXPECT_NE(exports[0].ordinal, exports[1].ordinal);
  EXPECT_NE(exports[0].rva, exports[1].rva);
}

TEST(CabsoundImports, AreExactlyTheSoundLibraryKernelAndCRuntime) {
  const PeImage& pe = cabsound_image();
  const char* const kExpected[] = {"FSSound.dll", "KERNEL32.dll", "msvcrt.dll"};
  for (const char* dll : kExpected) {
    SCOPED_TRACE(dll);
    EXPECT_NE(find_import(pe, dll), nullptr) << "imports: " << import_names(pe);
  }
  EXPECT_EQ(pe.imports().size(), std::size(kExpected)) << "imports: " << import_names(pe);
}

TEST(CabsoundImports, NeedNoGccRuntimeLibrary) {
  // The simulator's folder has none of them: the module carries its runtime.
  const char* const kForbidden[] = {"libgcc", "libstdc++", "libwinpthread"};
  for (const char* prefix : kForbidden) {
    SCOPED_TRACE(prefix);
    for (const PeImportedDll& d : cabsound_image().imports()) {
      EXPECT_NE(lower(d.dll).rfind(prefix, 0), 0u) << d.dll;
    }
  }
}

TEST(CabsoundImports, TakeTheSoundLibraryByOrdinalOnly) {
  const PeImportedDll* fssound = find_import(cabsound_image(), "FSSound.dll");
  ASSERT_NE(fssound, nullptr);
  EXPECT_TRUE(fssound->names.empty()) << "first by name: " << fssound->names.front();
  std::vector<uint16_t> ordinals = fssound->ordinals;
  std::sort(ordinals.begin(), ordinals.end());
  EXPECT_EQ(ordinals, (std::vector<uint16_t>{1, 7, 14}));

  struct Row {
    const char* operation;
    uint16_t ordinal;
    bool imported;
  };
  // cabsound loads, plays and unloads; it never stops a sound.
  const Row kRows[] = {
      {"load", 1, true}, {"play", 7, true}, {"stop", 13, false}, {"unload", 14, true}};
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.operation);
    const bool found = std::count(ordinals.begin(), ordinals.end(), row.ordinal) == 1;
    EXPECT_EQ(found, row.imported) << "ordinal " << row.ordinal;
  }
}

TEST(CabsoundImports, TakeSystemLibrariesByName) {
  const char* const kSystem[] = {"KERNEL32.dll", "msvcrt.dll"};
  for (const char* dll : kSystem) {
    SCOPED_TRACE(dll);
    const PeImportedDll* d = find_import(cabsound_image(), dll);
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->names.empty());
    EXPECT_TRUE(d->ordinals.empty());
  }
}

}  // namespace
}  // namespace wine_tests
