#pragma once
// The module under test as a file and as Windows loads it: its path, a
// LoadLibrary handle, and checked reads of the loaded image's bytes.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "formats/pe_image.h"

namespace wine_tests {

// The file reader is shared with gaugeinspect; the tests use its names as their own.
using formats::ByteRangeError;
using formats::ByteReader;
using formats::kDirectoryExport;
using formats::kDirectoryImport;
using formats::PeExport;
using formats::PeImage;
using formats::PeImportedDll;
using formats::PeSection;
using formats::read_file_bytes;

// Where the build put cabsound.gau, in a form Windows (or Wine, from any
// current directory) can open.
std::string cabsound_gau_path();
// The sound library the build put beside the tests.
std::string fssound_dll_path();

// cabsound.gau's file, read and parsed once; throws when it cannot be.
const PeImage& cabsound_image();

// A Unix absolute path is turned into its DOS name when running under Wine;
// anything else is returned unchanged.
std::string windows_path(const std::string& path);

// LoadLibraryA for the life of the object. Loading runs only the module's
// library entry, never a gauge routine.
class LoadedGau {
 public:
  explicit LoadedGau(const std::string& path);
  ~LoadedGau();
  LoadedGau(const LoadedGau&) = delete;
  LoadedGau& operator=(const LoadedGau&) = delete;

  bool loaded() const { return module_ != nullptr; }
  DWORD load_error() const { return error_; }
  HMODULE handle() const { return module_; }
  uint32_t base() const { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(module_)); }
  // The address of an exported symbol, 0 when it is not exported.
  uint32_t symbol(const char* name) const;

 private:
  HMODULE module_ = nullptr;
  DWORD error_ = 0;
};

// The loaded image seen as 32-bit addresses. Addresses are checked against
// the image (and its sections from the file) before any byte is read, so a
// wrong pointer in a record fails a test instead of faulting.
class ImageMemory {
 public:
  ImageMemory(uint32_t base, const PeImage& pe) : base_(base), pe_(pe) {}

  bool contains(uint32_t address, uint32_t length) const;
  // Inside a section that holds data and no code.
  bool in_data(uint32_t address, uint32_t length) const;
  // Inside a section whose bytes may be run.
  bool in_code(uint32_t address) const;
  // Precondition: contains(address, 4).
  uint32_t dword(uint32_t address) const;
  // The NUL-terminated string at `address`; nullopt unless it ends inside
  // the image.
  std::optional<std::string> c_string(uint32_t address) const;

 private:
  const PeSection* section_of(uint32_t address, uint32_t length) const;

  uint32_t base_;
  const PeImage& pe_;
};

}  // namespace wine_tests
