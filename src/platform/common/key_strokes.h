// Backend-internal: a key going down or up in the shapes Windows gives it to the low-level
// hooks, to the older keyboard hooks and to the window.
#pragma once

#include <cstdint>

#include "platform/platform_input.h"

struct keyStroke {
  uint32_t virtualKey = 0;  // left/right-distinguishing
  uint32_t scanCode = 0;
  bool extended = false;
  bool down = false;
  bool repeat = false;        // down again without a release in between
  bool otherAltHeld = false;  // an Alt key other than this one is held
  bool controlHeld = false;
};

struct keyStrokeShapes {
  uint32_t message = 0;  // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP
  platformKeyboardHookEvent hook;
  uint32_t virtualKey = 0;  // VK_SHIFT, not VK_LSHIFT
  uint32_t flags = 0;       // the key message flags
};

keyStrokeShapes KeyStrokeShape(const keyStroke& stroke, uint32_t time);
