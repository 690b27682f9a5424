// Conversions from the multimedia joystick interface's numbers.
#include "platform/win32/input/win32_joystick_reading.h"

#include <algorithm>

#include "platform/common/joystick_controls.h"
#include "platform/platform_input.h"

uint32_t JoystickPovDirections(uint32_t pov) {
  if (pov >= 36000) return 0;
  uint32_t directions = 0;
  // Each direction covers the eighths of the turn next to it: 45 degrees is up and right.
  if (pov > 27000 || pov < 9000) directions |= JOYSTICK_HAT_UP;
  if (pov > 0 && pov < 18000) directions |= JOYSTICK_HAT_RIGHT;
  if (pov > 9000 && pov < 27000) directions |= JOYSTICK_HAT_DOWN;
  if (pov > 18000) directions |= JOYSTICK_HAT_LEFT;
  return directions;
}

int32_t JoystickAxisValue(uint32_t position, uint32_t minimum, uint32_t maximum) {
  if (maximum <= minimum) return 0;
  const int64_t clamped = std::clamp<int64_t>(position, minimum, maximum);
  const int64_t span = static_cast<int64_t>(maximum) - minimum;
  // Twice the distance from the middle, so that odd and even spans both centre on 0.
  const int64_t offset = 2 * (clamped - minimum) - span;
  return static_cast<int32_t>(std::clamp<int64_t>(offset * 32767 / span, -32768, 32767));
}

bool JoystickIsGamePad(uint32_t numButtons, uint32_t caps) {
  return numButtons >= 8 && (caps & PLATFORM_JOYCAPS_HASPOV) != 0;
}
