#include "platform/common/keep_awake_hold.h"

#include <cstdint>

#include "platform/platform_shell.h"
#include "platform/platform_system.h"

namespace {

// Longer than the game's pulse interval (10 s), so a slow pass does not let the hold lapse.
constexpr uint32_t kHoldMs = 15000;

uint32_t pulseCount = 0;
bool holding = false;
uint32_t lastPulse = 0;

}  // namespace

void KeepAwakeNotePulse() {
  holding = true;
  lastPulse = PlatformTickCount();
  ++pulseCount;
}

bool KeepAwakeHoldLapsed() {
  if (!holding || PlatformTickCount() - lastPulse <= kHoldMs) return false;
  holding = false;
  return true;
}

bool KeepAwakeHolding() { return holding; }

uint32_t PlatformKeepAwakePulseCount() { return pulseCount; }

void PlatformKeepAwakePulseCountReset() { pulseCount = 0; }
