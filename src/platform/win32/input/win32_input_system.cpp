// System metrics, the cursor and the foreground window, as the system tells them.
#include <windows.h>

#include "platform/common/input/native_input.h"

mouseMetrics NativeMouseMetrics() {
  mouseMetrics system;
  system.buttonsSwapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
  system.wheel = GetSystemMetrics(SM_MOUSEWHEELPRESENT) != 0;
  system.horizontalWheel = GetSystemMetrics(SM_MOUSEHORIZONTALWHEELPRESENT) != 0;
  return system;
}

bool NativeInputCursorPosition(int32_t& x, int32_t& y) {
  POINT point{};
  if (!GetCursorPos(&point)) return false;
  x = point.x;
  y = point.y;
  return true;
}

bool NativeInputSetCursorPosition(int32_t x, int32_t y) { return SetCursorPos(x, y) != 0; }

platformWindow NativeForegroundWindow() {
  HWND window = GetForegroundWindow();
  DWORD process = 0;
  if (window == nullptr || GetWindowThreadProcessId(window, &process) == 0 ||
      process != GetCurrentProcessId()) {
    return 0;
  }
  return reinterpret_cast<platformWindow>(window);
}
