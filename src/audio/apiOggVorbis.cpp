#include "audio/apiOggVorbis.h"

#include <cstdint>

#include "platform/platform_system.h"

ovEntryPoints ov;

namespace {

std::vector<uintptr_t> libraries;

template <typename Entry>
bool Resolve(Entry& entry, uintptr_t library, const char* name) {
  entry = reinterpret_cast<Entry>(PlatformLibrarySymbol(library, name));
  return entry != nullptr;
}

}  // namespace

bool OggVorbisLoad(const std::vector<std::string>& libraryNames) {
  OggVorbisFree();
  for (const std::string& name : libraryNames) {
    const uintptr_t library = PlatformLibraryLoad(name);
    if (library == 0) {
      OggVorbisFree();
      return false;
    }
    libraries.push_back(library);
  }
  if (libraries.empty()) return false;
  const uintptr_t decoder = libraries.back();
  const bool resolved =
      Resolve(ov.ov_open_callbacks, decoder, "ov_open_callbacks") &&
      Resolve(ov.ov_clear, decoder, "ov_clear") && Resolve(ov.ov_read, decoder, "ov_read") &&
      Resolve(ov.ov_info, decoder, "ov_info") && Resolve(ov.ov_raw_seek, decoder, "ov_raw_seek");
  if (!resolved) OggVorbisFree();
  return resolved;
}

void OggVorbisFree() {
  ov = ovEntryPoints{};
  while (!libraries.empty()) {
    PlatformLibraryFree(libraries.back());
    libraries.pop_back();
  }
}
