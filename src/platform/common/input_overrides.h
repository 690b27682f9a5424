// Backend-internal: what tests and headless runs put in place of the system's answers about the
// mouse, the cursor and the focus.
#pragma once

#include <cstdint>

#include "platform/platform_input.h"

struct mouseMetrics {
  bool buttonsSwapped = false;
  bool wheel = false;
  bool horizontalWheel = false;
};

// The metrics PlatformSetMouseMetrics set, or the system's while it was not called.
mouseMetrics InputOverridesMouseMetrics(const mouseMetrics& system);
// Headless runs have no pointer to move: the cursor is a position the program keeps.
void InputOverridesHeadlessCursor(int32_t& x, int32_t& y);
void InputOverridesHeadlessCursorSet(int32_t x, int32_t y);
platformWindow InputOverridesHeadlessForeground();
