// System metrics, the cursor and the foreground window.
#include <SDL.h>

#include "platform/common/input_overrides.h"
#include "platform/platform_input.h"

namespace {

// SDL cannot ask the system about the mouse; these are what a desktop mouse with a wheel
// reports, and SDL delivers both wheel directions.
mouseMetrics Metrics() { return InputOverridesMouseMetrics({false, true, true}); }

}  // namespace

bool PlatformMouseButtonsSwapped() { return Metrics().buttonsSwapped; }
bool PlatformMouseWheelPresent() { return Metrics().wheel; }
bool PlatformMouseHorizontalWheelPresent() { return Metrics().horizontalWheel; }

bool PlatformCursorPosition(int32_t& x, int32_t& y) {
  if (InputOverridesCursor(x, y)) return true;
  int sx = 0;
  int sy = 0;
  SDL_GetGlobalMouseState(&sx, &sy);
  x = sx;
  y = sy;
  return true;
}

bool PlatformCursorSetPosition(int32_t x, int32_t y) {
  if (InputOverridesCursorSet(x, y)) return true;
  return SDL_WarpMouseGlobal(x, y) == 0;
}

platformWindow PlatformForegroundWindow() {
  platformWindow headless = 0;
  if (InputOverridesForeground(headless)) return headless;
  SDL_Window* focus = SDL_GetKeyboardFocus();
  return focus == nullptr ? 0 : SDL_GetWindowID(focus);
}
