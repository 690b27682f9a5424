// Shared libraries loaded at run time, through SDL's loader (dlopen underneath on Linux).
#include <SDL.h>

#include "platform/platform_system.h"

uintptr_t PlatformLibraryLoad(const std::string& fileName) {
  if (fileName.empty()) return 0;
  return reinterpret_cast<uintptr_t>(SDL_LoadObject(fileName.c_str()));
}

void* PlatformLibrarySymbol(uintptr_t library, const std::string& name) {
  if (library == 0) return nullptr;
  void* address = SDL_LoadFunction(reinterpret_cast<void*>(library), name.c_str());
  // A missing name is an answer, not an error another caller should find later.
  if (address == nullptr) SDL_ClearError();
  return address;
}

void PlatformLibraryFree(uintptr_t library) {
  if (library != 0) SDL_UnloadObject(reinterpret_cast<void*>(library));
}

std::string PlatformOpenalLibraryName() { return "libopenal.so.1"; }

std::vector<std::string> PlatformOggVorbisLibraryNames() {
  return {"libogg.so.0", "libvorbis.so.0", "libvorbisfile.so.3"};
}
