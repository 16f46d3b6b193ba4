// Stand-in for the simulator's sound library: checks that the WAV files the
// modules ask for are playable, hands out handles, tracks which handles loop
// and reports every call to the host as a typed record. No audio is produced.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// Natively the library is built with hidden visibility; only the declared
// entry points are exported. The Windows exports come from fssound.def.
#pragma GCC visibility push(default)
#include "frame/sound_library.h"
#include "host/fssound/fssound_host.h"
#pragma GCC visibility pop

#include "formats/riff_wave.h"
#include "formats/sim_path.h"

namespace {

struct Sound {
  std::string path;  // as the module passed it, for logs and failure rules
  bool loaded = false;
  bool looping = false;
};

struct FailRule {
  uint32_t operation;
  std::string path;
  int32_t count;  // calls still to fail; negative: all of them
};

// What a load of `path` that gives a handle answers instead of 1.
struct LoadAnswer {
  std::string path;
  uint32_t answer;
};

struct Library {
  std::string root;
  FSSoundReportFn report = nullptr;
  void* context = nullptr;
  std::vector<Sound> sounds;  // handle h is sounds[h - 1]
  std::vector<FailRule> rules;
  std::vector<LoadAnswer> answers;
  std::vector<FSSoundEvent> events;
  uint32_t calls = 0;  // sound calls since attach
  // Off while nobody reads the host's events: nothing is reported and no
  // event kept, so a flight nobody reads costs nothing (and no growing list).
  bool reporting = true;
};

Library& library() {
  static Library lib;
  return lib;
}

FSSoundCallFn call_hook = nullptr;

// One sound operation, from start to return, for the host's call hook.
struct Operation {
  Operation() {
    if (call_hook != nullptr) call_hook(1);
  }
  ~Operation() {
    if (call_hook != nullptr) call_hook(0);
  }
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;
};

// Reads the whole file; false when it cannot be opened or read.
bool read_file(const std::string& name, std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) return false;
  uint8_t buffer[16384];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  const bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

// A RIFF WAVE file with a playable PCM "fmt " chunk and a "data" chunk that
// lies wholly inside the file. Chunk sizes are checked against the bytes
// actually present; the RIFF size field is not relied on.
bool is_playable_wave(const std::vector<uint8_t>& bytes) {
  const std::optional<formats::WaveFormat> wave =
      formats::read_wave_format(bytes, formats::RiffSize::kIgnored);
  return wave && wave->valid() && formats::pcm_playable_error(*wave).empty();
}

// Consumes one failure of `operation` on `path` if a rule asks for it.
bool take_failure(Library& lib, uint32_t operation, const std::string& path) {
  for (size_t i = 0; i < lib.rules.size(); ++i) {
    FailRule& rule = lib.rules[i];
    if (rule.operation != operation || rule.path != path) continue;
    if (rule.count > 0 && --rule.count == 0) {
      lib.rules.erase(lib.rules.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return true;
  }
  return false;
}

uint32_t load_answer(const Library& lib, const std::string& path) {
  for (const LoadAnswer& a : lib.answers) {
    if (a.path == path) return a.answer;
  }
  return 1;
}

// The sound a handle was given to, or null for a handle never given out.
Sound* find(Library& lib, uint32_t handle) {
  if (handle == 0 || handle > lib.sounds.size()) return nullptr;
  return &lib.sounds[handle - 1];
}

const char* path_of(const Sound* sound) {
  return sound == nullptr ? nullptr : sound->path.c_str();
}

void report(const Library& lib, uint32_t operation, uint32_t handle, uint32_t loop, uint32_t result,
            const char* path) {
  if (lib.report == nullptr || !lib.reporting) return;
  const FSSoundCall call{operation, handle, loop, result, path};
  lib.report(lib.context, &call);
}

void record(Library& lib, uint32_t operation, uint32_t handle, uint32_t loop) {
  if (!lib.reporting) return;
  lib.events.push_back(FSSoundEvent{lib.calls, operation, handle, loop});
}

}  // namespace

extern "C" {

uint32_t GAUGE_CALL FSSound_Load(uint32_t* handle, const char* path) {
  Operation operation;
  Library& lib = library();
  ++lib.calls;
  uint32_t result = 0;
  uint32_t written = 0;
  if (handle != nullptr && path != nullptr) {
    std::vector<uint8_t> bytes;
    if (!take_failure(lib, kFSSoundLoad, path) &&
        read_file(formats::sim_file_path(lib.root, path), bytes) && is_playable_wave(bytes)) {
      lib.sounds.push_back(Sound{path, true, false});
      written = static_cast<uint32_t>(lib.sounds.size());
      result = load_answer(lib, path);
    }
    *handle = written;
  }
  report(lib, kFSSoundLoad, written, 0, result, path);
  return result;
}

uint32_t GAUGE_CALL FSSound_Play(uint32_t handle, uint32_t loop) {
  Operation operation;
  Library& lib = library();
  ++lib.calls;
  Sound* sound = find(lib, handle);
  uint32_t result = 0;
  if (sound != nullptr && sound->loaded && !take_failure(lib, kFSSoundPlay, sound->path)) {
    // A play replaces whatever the handle was playing, loop or not.
    sound->looping = loop != 0;
    record(lib, kFSSoundPlay, handle, loop);
    result = 1;
  }
  report(lib, kFSSoundPlay, handle, loop, result, path_of(sound));
  return result;
}

void GAUGE_CALL FSSound_Stop(uint32_t handle) {
  Operation operation;
  Library& lib = library();
  ++lib.calls;
  Sound* sound = find(lib, handle);
  if (sound != nullptr && sound->loaded) {
    sound->looping = false;
    record(lib, kFSSoundStop, handle, 0);
  }
  report(lib, kFSSoundStop, handle, 0, 0, path_of(sound));
}

void GAUGE_CALL FSSound_Unload(uint32_t* handle) {
  Operation operation;
  Library& lib = library();
  ++lib.calls;
  const uint32_t h = handle == nullptr ? 0 : *handle;
  Sound* sound = find(lib, h);
  if (sound != nullptr && sound->loaded) {
    sound->loaded = false;
    sound->looping = false;
    record(lib, kFSSoundUnload, h, 0);
  }
  report(lib, kFSSoundUnload, h, 0, 0, path_of(sound));
}

void GAUGE_CALL FSSound_HostReport(uint32_t on) {
  library().reporting = on != 0;
}

void GAUGE_CALL FSSound_HostCallHook(FSSoundCallFn hook) {
  call_hook = hook;
}

void GAUGE_CALL FSSound_HostAttach(const char* root_dir, FSSoundReportFn report, void* context) {
  Library& lib = library();
  lib = Library{};
  lib.root = root_dir == nullptr ? "" : root_dir;
  lib.report = report;
  lib.context = context;
}

void GAUGE_CALL FSSound_HostFail(uint32_t operation, const char* path, int32_t count) {
  if (path == nullptr || (operation != kFSSoundLoad && operation != kFSSoundPlay)) return;
  Library& lib = library();
  for (size_t i = 0; i < lib.rules.size(); ++i) {
    if (lib.rules[i].operation == operation && lib.rules[i].path == path) {
      lib.rules.erase(lib.rules.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
  if (count != 0) lib.rules.push_back(FailRule{operation, path, count});
}

void GAUGE_CALL FSSound_HostLoadAnswer(const char* path, uint32_t answer) {
  if (path == nullptr) return;
  std::vector<LoadAnswer>& answers = library().answers;
  for (size_t i = 0; i < answers.size(); ++i) {
    if (answers[i].path == path) {
      answers.erase(answers.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
  if (answer != 1) answers.push_back(LoadAnswer{path, answer});
}

uint32_t GAUGE_CALL FSSound_HostIsLooping(uint32_t handle) {
  const Sound* sound = find(library(), handle);
  return sound != nullptr && sound->looping ? 1 : 0;
}

const char* GAUGE_CALL FSSound_HostPath(uint32_t handle) {
  const Sound* sound = find(library(), handle);
  return sound == nullptr ? nullptr : sound->path.c_str();
}

uint32_t GAUGE_CALL FSSound_HostEventCount() {
  return static_cast<uint32_t>(library().events.size());
}

uint32_t GAUGE_CALL FSSound_HostEvent(uint32_t index, FSSoundEvent* event) {
  const Library& lib = library();
  if (event == nullptr || index >= lib.events.size()) return 0;
  *event = lib.events[index];
  return 1;
}
}
