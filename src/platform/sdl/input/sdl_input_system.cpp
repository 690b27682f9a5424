// System metrics, the cursor and the foreground window, as SDL tells them.
#include <SDL.h>

#include "platform/common/input/native_input.h"

// SDL cannot ask the system about the mouse; these are what a desktop mouse with a wheel
// reports, and SDL delivers both wheel directions.
mouseMetrics NativeMouseMetrics() { return {false, true, true}; }

bool NativeInputCursorPosition(int32_t& x, int32_t& y) {
  int sx = 0;
  int sy = 0;
  SDL_GetGlobalMouseState(&sx, &sy);
  x = sx;
  y = sy;
  return true;
}

bool NativeInputSetCursorPosition(int32_t x, int32_t y) { return SDL_WarpMouseGlobal(x, y) == 0; }

platformWindow NativeForegroundWindow() {
  SDL_Window* focus = SDL_GetKeyboardFocus();
  return focus == nullptr ? 0 : SDL_GetWindowID(focus);
}
