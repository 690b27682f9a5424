// Backend-internal: controller changes in the platform's shape, whatever the backend reads
// them from. Buttons become sub-controls 1..32, axes the direction sub-controls with the
// deflection in percent (a dead zone reads 0), a hat moves the X and Y directions; only
// changes are announced.
#pragma once

#include <cstdint>

#include "platform/platform_input.h"

// The directions a hat points to (any two neighbours at once on the diagonals).
constexpr uint32_t JOYSTICK_HAT_UP = 0x01;
constexpr uint32_t JOYSTICK_HAT_RIGHT = 0x02;
constexpr uint32_t JOYSTICK_HAT_DOWN = 0x04;
constexpr uint32_t JOYSTICK_HAT_LEFT = 0x08;

// button from 0; value -32768 (left, up) .. 32767 (right, down).
void JoystickControlsButton(int32_t instance, int32_t button, bool down);
void JoystickControlsAxis(int32_t instance, int32_t axis, int32_t value);
void JoystickControlsHat(int32_t instance, uint32_t directions);
void JoystickControlsAdded(int32_t device, int32_t instance);
// Forgets the device's controls and announces it gone.
void JoystickControlsRemoved(int32_t instance);
// A joystick that is no known game pad: its first two buttons, the stick (or hat) for the
// directions.
int32_t JoystickPlainPadControl(uint32_t numButtons, platformPadButton button);
