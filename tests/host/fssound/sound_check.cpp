// sound_check ROOT PATH...
// Loads each path as a module names it (e.g. Sound\pullup.wav, under the
// simulator folder ROOT) through the stand-in sound library, as a module's
// load would, prints "PATH: ok" or "PATH: refused" and exits 1 when the
// library refused any. check_dist.sh runs it on the sounds make dist packs.
#include <cstdint>
#include <cstdio>

#include "frame/sound_library.h"
#include "host/fssound/fssound_host.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: sound_check ROOT PATH...\n");
    return 2;
  }
  FSSound_HostAttach(argv[1], nullptr, nullptr);
  int status = 0;
  for (int i = 2; i < argc; ++i) {
    uint32_t handle = 0;
    const bool loaded = FSSound_Load(&handle, argv[i]) == 1 && handle != 0;
    std::printf("%s: %s\n", argv[i], loaded ? "ok" : "refused");
    if (!loaded) status = 1;
    if (handle != 0) FSSound_Unload(&handle);
  }
  return status;
}
