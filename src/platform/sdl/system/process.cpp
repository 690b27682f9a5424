// Process start-up and identity: arguments, executable path, the backend's own switches,
// version strings and the (absent) registry.
#include "platform/platform_system.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/common/switches.h"

namespace {

std::string executablePath;
bool executablePathSet = false;
bool headless = false;

std::string ReadExecutableLink() {
  std::string buffer(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return "";
  buffer.resize(static_cast<size_t>(length));
  return buffer;
}

}  // namespace

void PlatformInit(int argc, char** argv) {
  executablePath = ReadExecutableLink();
  executablePathSet = true;
  PlatformStoreCommandLine(argc, argv);
}

void PlatformShutdown() { SDL_Quit(); }

std::string PlatformExecutablePath() {
  if (!executablePathSet) {
    executablePath = ReadExecutableLink();
    executablePathSet = true;
  }
  return executablePath;
}

void PlatformSetExecutablePath(const std::string& path) {
  executablePath = path;
  executablePathSet = true;
}

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
