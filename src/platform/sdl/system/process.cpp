// Process start-up and identity: arguments, executable path, the backend's own switches,
// version strings and the (absent) registry.
#include "platform/platform_system.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/common/headless.h"
#include "platform/common/system/switches.h"

std::string PlatformSystemExecutablePath() {
  std::string buffer(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return "";
  buffer.resize(static_cast<size_t>(length));
  return buffer;
}

void PlatformInit(int argc, char** argv) {
  PlatformSetExecutablePath(PlatformSystemExecutablePath());
  PlatformStoreCommandLine(argc, argv);
}

void PlatformShutdown() { SDL_Quit(); }

void PlatformSetHeadless(bool isHeadless) {
  HeadlessRecord(isHeadless);
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
