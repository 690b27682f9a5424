#include "audio/apiOpenal.h"

#include "platform/platform_system.h"

alEntryPoints al;

namespace {

uintptr_t library = 0;

template <typename Entry>
void Resolve(Entry& entry, const char* name, void* (*getProcAddress)(const ALchar*)) {
  void* address = getProcAddress != nullptr ? getProcAddress(name) : nullptr;
  if (address == nullptr) address = PlatformLibrarySymbol(library, name);
  entry = reinterpret_cast<Entry>(address);
}

}  // namespace

bool OpenalLoad(const std::string& libraryName) {
  OpenalFree();
  library = PlatformLibraryLoad(libraryName);
  if (library == 0) return false;
  auto getProcAddress = reinterpret_cast<void*(SANGUOR_ALAPI*)(const ALchar*)>(
      PlatformLibrarySymbol(library, "alGetProcAddress"));
#define SANGUOR_AL_ENTRY(result, name, parameters) Resolve(al.name, #name, getProcAddress);
#include "audio/apiOpenalEntries.h"
#undef SANGUOR_AL_ENTRY
  return true;
}

void OpenalFree() {
  al = alEntryPoints{};
  PlatformLibraryFree(library);
  library = 0;
}

bool OpenalDeviceOpen() {
  if (al.alcOpenDevice == nullptr || al.alcCreateContext == nullptr ||
      al.alcMakeContextCurrent == nullptr) {
    return false;
  }
  ALCdevice* device = al.alcOpenDevice(nullptr);
  if (device == nullptr) return false;
  ALCcontext* context = al.alcCreateContext(device, nullptr);
  if (context == nullptr || !al.alcMakeContextCurrent(context)) {
    if (context != nullptr && al.alcDestroyContext != nullptr) al.alcDestroyContext(context);
    if (al.alcCloseDevice != nullptr) al.alcCloseDevice(device);
    return false;
  }
  return true;
}

void OpenalDeviceClose() {
  if (al.alcGetCurrentContext == nullptr || al.alcGetContextsDevice == nullptr) return;
  ALCcontext* context = al.alcGetCurrentContext();
  if (context == nullptr) return;
  ALCdevice* device = al.alcGetContextsDevice(context);
  if (al.alcMakeContextCurrent != nullptr) al.alcMakeContextCurrent(nullptr);
  if (al.alcDestroyContext != nullptr) al.alcDestroyContext(context);
  if (device != nullptr && al.alcCloseDevice != nullptr) al.alcCloseDevice(device);
}

int32_t OpenalResolvedCount() {
  int32_t count = 0;
#define SANGUOR_AL_ENTRY(result, name, parameters) count += al.name != nullptr ? 1 : 0;
#include "audio/apiOpenalEntries.h"
#undef SANGUOR_AL_ENTRY
  return count;
}
