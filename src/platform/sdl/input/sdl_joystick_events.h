// Controller events of SDL in the platform's shape (sdl_joystick_events.cpp); the device table
// lives in sdl_joysticks.cpp.
#pragma once

#include <SDL.h>

#include <cstdint>

// True when the event was a controller's.
bool SdlJoystickHandleEvent(const SDL_Event& event);
// Closes the device of the instance (it was pulled out).
void SdlJoystickClose(int32_t instance);
