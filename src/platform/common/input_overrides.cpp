// The answers tests and headless runs set.
#include "platform/common/input_overrides.h"

namespace {

bool metricsSet = false;
mouseMetrics metrics;
int32_t headlessCursorX = 0;
int32_t headlessCursorY = 0;
platformWindow headlessForeground = 0;

}  // namespace

mouseMetrics InputOverridesMouseMetrics(const mouseMetrics& system) { return metricsSet ? metrics : system; }

void PlatformSetMouseMetrics(bool buttonsSwapped, bool wheel, bool horizontalWheel) {
  metricsSet = true;
  metrics = {buttonsSwapped, wheel, horizontalWheel};
}

void InputOverridesHeadlessCursor(int32_t& x, int32_t& y) {
  x = headlessCursorX;
  y = headlessCursorY;
}

void InputOverridesHeadlessCursorSet(int32_t x, int32_t y) {
  headlessCursorX = x;
  headlessCursorY = y;
}

void PlatformHeadlessSetForegroundWindow(platformWindow window) { headlessForeground = window; }

platformWindow InputOverridesHeadlessForeground() { return headlessForeground; }
