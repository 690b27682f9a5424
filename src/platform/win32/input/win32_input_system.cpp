// System metrics, the cursor and the foreground window.
#include <windows.h>

#include "platform/common/input_overrides.h"

namespace {

mouseMetrics Metrics() {
  mouseMetrics system;
  system.buttonsSwapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
  system.wheel = GetSystemMetrics(SM_MOUSEWHEELPRESENT) != 0;
  system.horizontalWheel = GetSystemMetrics(SM_MOUSEHORIZONTALWHEELPRESENT) != 0;
  return InputOverridesMouseMetrics(system);
}

}  // namespace

bool PlatformMouseButtonsSwapped() { return Metrics().buttonsSwapped; }
bool PlatformMouseWheelPresent() { return Metrics().wheel; }
bool PlatformMouseHorizontalWheelPresent() { return Metrics().horizontalWheel; }

bool PlatformCursorPosition(int32_t& x, int32_t& y) {
  if (InputOverridesCursor(x, y)) return true;
  POINT point{};
  if (!GetCursorPos(&point)) return false;
  x = point.x;
  y = point.y;
  return true;
}

bool PlatformCursorSetPosition(int32_t x, int32_t y) {
  if (InputOverridesCursorSet(x, y)) return true;
  return SetCursorPos(x, y) != 0;
}

platformWindow PlatformForegroundWindow() {
  platformWindow headless = 0;
  if (InputOverridesForeground(headless)) return headless;
  HWND window = GetForegroundWindow();
  DWORD process = 0;
  if (window == nullptr || GetWindowThreadProcessId(window, &process) == 0 || process != GetCurrentProcessId()) {
    return 0;
  }
  return reinterpret_cast<platformWindow>(window);
}
