// The command line: parameters as given, the program's path, and the switches that choose
// headless mode and the virtual clock, read the same way on every system.
#include "platform/common/system/switches.h"

#include <cctype>
#include <limits>

#include "platform/platform_system.h"

namespace {

std::vector<std::string> arguments;
std::string executablePath;
bool executablePathKnown = false;

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

}  // namespace

void PlatformStoreCommandLine(int argc, char** argv) {
  std::vector<std::string> given;
  for (int i = 1; i < argc; ++i) given.emplace_back(argv[i] != nullptr ? argv[i] : "");
  PlatformSetArguments(given);

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

const std::vector<std::string>& PlatformArguments() { return arguments; }

void PlatformSetArguments(const std::vector<std::string>& given) { arguments = given; }

std::string PlatformExecutablePath() {
  if (!executablePathKnown) PlatformSetExecutablePath(PlatformSystemExecutablePath());
  return executablePath;
}

void PlatformSetExecutablePath(const std::string& path) {
  executablePath = path;
  executablePathKnown = true;
}
