// What the message pump asks of the input part once the queue is empty.
#include "platform/win32/input/win32_input_parts.h"
#include "platform/win32/win32_input.h"

void Win32InputPumpPass(bool appActive) {
  Win32SystemHooksFollowActivity(appActive);
  Win32JoysticksPoll();
}
