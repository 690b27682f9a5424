// Shared libraries loaded at run time, and the names of the audio libraries on Windows.
#include <windows.h>

#include "platform/platform_system.h"

uintptr_t PlatformLibraryLoad(const std::string& fileName) {
  if (fileName.empty()) return 0;
  // A missing library is an answer for the caller, not a box for the player.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(fileName.c_str());
  SetErrorMode(previous);
  return reinterpret_cast<uintptr_t>(module);
}

void* PlatformLibrarySymbol(uintptr_t library, const std::string& name) {
  if (library == 0) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name.c_str()));
}

void PlatformLibraryFree(uintptr_t library) {
  if (library != 0) FreeLibrary(reinterpret_cast<HMODULE>(library));
}

std::string PlatformOpenalLibraryName() { return "OpenAL32.dll"; }

std::vector<std::string> PlatformOggVorbisLibraryNames() {
  return {"libogg.dll", "libvorbis.dll", "libvorbisfile.dll"};
}
