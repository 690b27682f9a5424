// The keep-awake pulse: a mouse move by zero pixels resets the system's idle timer, which
// keeps the screen saver and display power saving from starting. Headless runs only count
// it: nothing reaches the desktop from them.
#include "platform/common/keep_awake_hold.h"
#include "platform/platform_shell.h"
#include "platform/platform_system.h"

#include <windows.h>

void PlatformKeepAwakePulse() {
  if (!PlatformHeadless()) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    // Input blocked (a secure desktop, a program of higher integrity in front) resets nothing.
    if (SendInput(1, &input, sizeof(input)) == 0) {
      return;
    }
  }
  KeepAwakeNotePulse();
}

void PlatformKeepAwakeLapse() { KeepAwakeHoldLapsed(); }

bool PlatformKeepAwakeHeld() { return KeepAwakeHolding(); }
