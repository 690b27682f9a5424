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
// Headless runs have no pointer to move, and no window system to give the focus: the cursor is
// a position the program keeps, the foreground window the one tests name. Each is true (and
// answers) in a headless run, false in a window session, where the system answers.
bool InputOverridesCursor(int32_t& x, int32_t& y);
bool InputOverridesCursorSet(int32_t x, int32_t y);
bool InputOverridesForeground(platformWindow& window);
