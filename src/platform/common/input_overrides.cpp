// The answers tests and headless runs set.
#include "platform/common/input_overrides.h"

#include "platform/platform_system.h"

namespace {

bool metricsSet = false;
mouseMetrics metrics;
int32_t headlessCursorX = 0;
int32_t headlessCursorY = 0;
platformWindow headlessForeground = 0;

}  // namespace

mouseMetrics InputOverridesMouseMetrics(const mouseMetrics& system) {
  return metricsSet ? metrics : system;
}

void PlatformSetMouseMetrics(bool buttonsSwapped, bool wheel, bool horizontalWheel) {
  metricsSet = true;
  metrics = {buttonsSwapped, wheel, horizontalWheel};
}

bool InputOverridesCursor(int32_t& x, int32_t& y) {
  if (!PlatformHeadless()) return false;
  x = headlessCursorX;
  y = headlessCursorY;
  return true;
}

bool InputOverridesCursorSet(int32_t x, int32_t y) {
  if (!PlatformHeadless()) return false;
  headlessCursorX = x;
  headlessCursorY = y;
  return true;
}

void PlatformHeadlessSetForegroundWindow(platformWindow window) { headlessForeground = window; }

bool InputOverridesForeground(platformWindow& window) {
  if (!PlatformHeadless()) return false;
  window = headlessForeground;
  return true;
}
