#include "tests/wine/loaded_gau.h"

#include <cstring>

namespace wine_tests {
namespace {

const unsigned char* at_address(uint32_t address) {
  return reinterpret_cast<const unsigned char*>(static_cast<uintptr_t>(address));
}

}  // namespace

std::string cabsound_gau_path() {
  return windows_path(CABSOUND_GAU);
}
std::string fssound_dll_path() {
  return windows_path(FSSOUND_DLL);
}

const PeImage& cabsound_image() {
  static const PeImage image(read_file_bytes(cabsound_gau_path()));
  return image;
}

std::string windows_path(const std::string& path) {
  if (path.empty() || path.front() != '/') return path;
  // A Unix path names a file on Wine's current drive, which need not map the
  // root; Wine's own converter gives the name on the drive that does.
  using DosName = WCHAR*(CDECL*)(LPCSTR);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const FARPROC proc = kernel ? GetProcAddress(kernel, "wine_get_dos_file_name") : nullptr;
  if (proc == nullptr) return path;
  const auto convert = reinterpret_cast<DosName>(reinterpret_cast<void (*)()>(proc));
  WCHAR* dos = convert(path.c_str());
  if (dos == nullptr) return path;
  std::string result;
  const int length = WideCharToMultiByte(CP_ACP, 0, dos, -1, nullptr, 0, nullptr, nullptr);
  if (length > 1) {
    result.resize(static_cast<size_t>(length));
    WideCharToMultiByte(CP_ACP, 0, dos, -1, result.data(), length, nullptr, nullptr);
    result.resize(static_cast<size_t>(length - 1));
  }
  HeapFree(GetProcessHeap(), 0, dos);
  return result.empty() ? path : result;
}

LoadedGau::LoadedGau(const std::string& path) {
  module_ = LoadLibraryA(path.c_str());
  if (module_ == nullptr) error_ = GetLastError();
}

LoadedGau::~LoadedGau() {
  if (module_ != nullptr) FreeLibrary(module_);
}

uint32_t LoadedGau::symbol(const char* name) const {
  if (module_ == nullptr) return 0;
  const FARPROC proc = GetProcAddress(module_, name);
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(proc));
}

bool ImageMemory::contains(uint32_t address, uint32_t length) const {
  if (address < base_) return false;
  return uint64_t{address - base_} + length <= pe_.size_of_image();
}

const PeSection* ImageMemory::section_of(uint32_t address, uint32_t length) const {
  if (!contains(address, length)) return nullptr;
  const uint32_t rva = address - base_;
  const PeSection* s = pe_.section_at(rva);
  if (s == nullptr || uint64_t{rva - s->virtual_address} + length > s->mapped_size())
    return nullptr;
  return s;
}

bool ImageMemory::in_data(uint32_t address, uint32_t length) const {
  const PeSection* s = section_of(address, length);
  return s != nullptr && s->data();
}

bool ImageMemory::in_code(uint32_t address) const {
  const PeSection* s = section_of(address, 1);
  return s != nullptr && s->executable();
}

uint32_t ImageMemory::dword(uint32_t address) const {
  if (section_of(address, 4) == nullptr) {
    throw ByteRangeError("4 bytes at address " + std::to_string(address) +
                         " are not inside a section of the loaded module");
  }
  uint32_t value = 0;
  std::memcpy(&value, at_address(address), sizeof value);
  return value;
}

std::optional<std::string> ImageMemory::c_string(uint32_t address) const {
  const PeSection* s = section_of(address, 1);
  if (s == nullptr) return std::nullopt;
  const uint64_t end = uint64_t{base_} + s->virtual_address + s->mapped_size();
  std::string text;
  for (uint64_t a = address; a < end; ++a) {
    const unsigned char c = *at_address(static_cast<uint32_t>(a));
    if (c == 0) return text;
    text.push_back(static_cast<char>(c));
  }
  return std::nullopt;
}

}  // namespace wine_tests
