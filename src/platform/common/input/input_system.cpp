// System metrics, the cursor and the foreground window: what tests and headless runs set, else
// the system's answer.
#include "platform/common/input/native_input.h"

bool PlatformMouseButtonsSwapped() {
  return InputOverridesMouseMetrics(NativeMouseMetrics()).buttonsSwapped;
}
bool PlatformMouseWheelPresent() { return InputOverridesMouseMetrics(NativeMouseMetrics()).wheel; }
bool PlatformMouseHorizontalWheelPresent() {
  return InputOverridesMouseMetrics(NativeMouseMetrics()).horizontalWheel;
}

bool PlatformCursorPosition(int32_t& x, int32_t& y) {
  return InputOverridesCursor(x, y) || NativeInputCursorPosition(x, y);
}

bool PlatformCursorSetPosition(int32_t x, int32_t y) {
  return InputOverridesCursorSet(x, y) || NativeInputSetCursorPosition(x, y);
}

platformWindow PlatformForegroundWindow() {
  platformWindow headless = 0;
  return InputOverridesForeground(headless) ? headless : NativeForegroundWindow();
}
