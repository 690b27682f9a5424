// Built only while the input part is absent: keyboard and mouse messages then get the
// system's default handling and no joysticks are polled.
#include "platform/win32/win32_input.h"

bool Win32InputWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  (void)window;
  (void)message;
  (void)wParam;
  (void)lParam;
  return false;
}

void Win32InputPumpPass() {}
