// Process start-up and identity: arguments, executable path, the backend's own switches,
// version strings and the (absent) registry.
#include "platform/platform_system.h"

#include <SDL.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <limits>

namespace {

std::vector<std::string> arguments;
std::string executablePath;
bool executablePathSet = false;
bool headless = false;

bool SameSwitch(const std::string& parameter, const char* name) {
  std::string::size_type i = 0;
  for (; i < parameter.size() && name[i] != '\0'; ++i) {
    if (std::toupper(static_cast<unsigned char>(parameter[i])) !=
        std::toupper(static_cast<unsigned char>(name[i]))) {
      return false;
    }
  }
  return i == parameter.size() && name[i] == '\0';
}

// A positive decimal number that fits in 32 bits, or 0.
uint32_t PositiveNumber(const std::string& text) {
  if (text.empty() || text.size() > 10) return 0;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return value <= std::numeric_limits<uint32_t>::max() ? static_cast<uint32_t>(value) : 0;
}

std::string ReadExecutableLink() {
  std::string buffer(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return "";
  buffer.resize(static_cast<size_t>(length));
  return buffer;
}

}  // namespace

void PlatformInit(int argc, char** argv) {
  std::vector<std::string> given;
  for (int i = 1; i < argc; ++i) given.emplace_back(argv[i] != nullptr ? argv[i] : "");
  PlatformSetArguments(given);
  executablePath = ReadExecutableLink();
  executablePathSet = true;

  for (size_t i = 0; i < given.size(); ++i) {
    if (SameSwitch(given[i], "-headless")) PlatformSetHeadless(true);
    if (SameSwitch(given[i], "-tick") && i + 1 < given.size()) {
      const uint32_t tick = PositiveNumber(given[i + 1]);
      if (tick > 0) {
        PlatformSetTickPerPass(tick);
        PlatformClockSetVirtual(true, 0);
      }
    }
  }
}

void PlatformShutdown() { SDL_Quit(); }

const std::vector<std::string>& PlatformArguments() { return arguments; }

void PlatformSetArguments(const std::vector<std::string>& given) { arguments = given; }

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
