// Process start-up and identity: arguments, the executable path and the backend's own switches.
#include <windows.h>

#include "platform/common/headless.h"
#include "platform/common/system/switches.h"
#include "platform/platform_system.h"

namespace {

bool timerPeriodSet = false;

}  // namespace

std::string PlatformSystemExecutablePath() {
  std::string buffer(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return "";
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    if (buffer.size() >= 32768) return "";
    buffer.resize(buffer.size() * 2);
  }
}

void PlatformInit(int argc, char** argv) {
  PlatformSetExecutablePath(PlatformSystemExecutablePath());
  // Sleeps and waits otherwise round up to the 15.6 ms system tick, which a frame cannot afford.
  timerPeriodSet = timeBeginPeriod(1) == TIMERR_NOERROR;
  PlatformStoreCommandLine(argc, argv);
}

void PlatformShutdown() {
  if (timerPeriodSet) timeEndPeriod(1);
  timerPeriodSet = false;
}

void PlatformSetHeadless(bool isHeadless) {
  HeadlessRecord(isHeadless);
  if (isHeadless) PlatformClockSetVirtual(true, 0);
}
