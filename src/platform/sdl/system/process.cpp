// Process start-up and identity: arguments, executable path, the backend's own switches,
// version strings and the (absent) registry.
#include "platform/platform_system.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "platform/common/switches.h"

namespace {

bool headless = false;

// Loading reads each picture into a buffer of a few megabytes, decodes it into another and cuts
// it into tiles in a third, all freed again. The C library maps blocks that large afresh each
// time and gives them back when freed, so every page was faulted in again, picture after
// picture: 1 500 of the 18 500 page faults of a start-up to the first briefing. Kept in the
// heap they are reused.
void KeepLargeBlocksInTheHeap() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 8 << 20);
  mallopt(M_TRIM_THRESHOLD, 32 << 20);
#endif
}

}  // namespace

std::string PlatformSystemExecutablePath() {
  std::string buffer(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return "";
  buffer.resize(static_cast<size_t>(length));
  return buffer;
}

void PlatformInit(int argc, char** argv) {
  KeepLargeBlocksInTheHeap();
  PlatformSetExecutablePath(PlatformSystemExecutablePath());
  PlatformStoreCommandLine(argc, argv);
}

void PlatformShutdown() { SDL_Quit(); }

bool PlatformHeadless() { return headless; }

void PlatformSetHeadless(bool isHeadless) {
  headless = isHeadless;
  if (isHeadless) {
    // SDL reads the driver when its video part starts, which is always after this.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    PlatformClockSetVirtual(true, 0);
  }
}

std::string PlatformVersionString(const std::string& name) {
  if (name == "CompanyName") return "Nightshade Forge";
  if (name == "ProductName") return "Sanguor";
  return "";
}

std::string PlatformRegistryRead(const std::string&, const std::string&) { return ""; }
