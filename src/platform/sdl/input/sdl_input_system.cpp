// System metrics, the cursor and the foreground window.
#include <SDL.h>

#include "platform/platform_input.h"
#include "platform/platform_system.h"

namespace {

// SDL cannot ask the system about the mouse; these are what a desktop mouse with a wheel
// reports, and SDL delivers both wheel directions.
bool buttonsSwapped = false;
bool wheelPresent = true;
bool horizontalWheelPresent = true;

// Headless runs have no pointer to move: the cursor is a position the program keeps.
int32_t headlessCursorX = 0;
int32_t headlessCursorY = 0;
platformWindow headlessForeground = 0;

}  // namespace

bool PlatformMouseButtonsSwapped() { return buttonsSwapped; }
bool PlatformMouseWheelPresent() { return wheelPresent; }
bool PlatformMouseHorizontalWheelPresent() { return horizontalWheelPresent; }

void PlatformSetMouseMetrics(bool swapped, bool wheel, bool horizontalWheel) {
  buttonsSwapped = swapped;
  wheelPresent = wheel;
  horizontalWheelPresent = horizontalWheel;
}

bool PlatformCursorPosition(int32_t& x, int32_t& y) {
  if (PlatformHeadless()) {
    x = headlessCursorX;
    y = headlessCursorY;
    return true;
  }
  int sx = 0;
  int sy = 0;
  SDL_GetGlobalMouseState(&sx, &sy);
  x = sx;
  y = sy;
  return true;
}

bool PlatformCursorSetPosition(int32_t x, int32_t y) {
  if (PlatformHeadless()) {
    headlessCursorX = x;
    headlessCursorY = y;
    return true;
  }
  return SDL_WarpMouseGlobal(x, y) == 0;
}

void PlatformHeadlessSetForegroundWindow(platformWindow window) { headlessForeground = window; }

platformWindow PlatformForegroundWindow() {
  if (PlatformHeadless()) return headlessForeground;
  SDL_Window* focus = SDL_GetKeyboardFocus();
  return focus == nullptr ? 0 : SDL_GetWindowID(focus);
}
