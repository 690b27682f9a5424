// What an input backend supplies to the shared input part (common/input/): the system's answer
// about the mouse, the cursor and the focus. The shared part puts what tests and headless runs
// set (input_overrides.h) in its place. Plain functions, as for video (native_video.h).
#pragma once

#include <cstdint>

#include "platform/common/input_overrides.h"
#include "platform/platform_input.h"

mouseMetrics NativeMouseMetrics();
// The cursor in screen coordinates; false when the system cannot tell.
bool NativeInputCursorPosition(int32_t& x, int32_t& y);
bool NativeInputSetCursorPosition(int32_t x, int32_t y);
// The window of this program that has the keyboard focus; 0 for none.
platformWindow NativeForegroundWindow();
