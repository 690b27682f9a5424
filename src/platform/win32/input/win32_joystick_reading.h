// Backend-internal: the multimedia joystick interface's readings in the shared controls' terms.
#pragma once

#include <cstdint>

// A point-of-view angle in hundredths of a degree (clockwise from forward; 0xFFFF or any value
// past a full turn is centred) as JOYSTICK_HAT_ directions.
uint32_t JoystickPovDirections(uint32_t pov);
// An axis position within the device's range as -32768 (minimum) .. 32767 (maximum); the
// middle of the range reads 0.
int32_t JoystickAxisValue(uint32_t position, uint32_t minimum, uint32_t maximum);
// Whether a device looks like the common game pad as the multimedia interface numbers it
// (A 1, B 2, Back 7, Start 8, the d-pad a point-of-view hat).
bool JoystickIsGamePad(uint32_t numButtons, uint32_t caps);
