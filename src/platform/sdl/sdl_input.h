// Backend-internal: the message pump hands every keyboard, mouse and joystick event to the
// input translation, which delivers it in the Windows shapes of platform_input.h.
#pragma once

#include <SDL.h>

// True when the event was an input event (consumed here).
bool SdlInputHandleEvent(const SDL_Event& event);
