// Backend-internal: SDL keys in the Windows shape a standard US keyboard gives.
#pragma once

#include <SDL.h>

#include <cstdint>

struct sdlWindowsKey {
  uint32_t virtualKey = 0;  // left/right-distinguishing, as a low-level hook sees it; 0: no key
  uint32_t scanCode = 0;
  bool extended = false;
};

// numLock chooses the keypad's digits (on) or its navigation keys (off).
sdlWindowsKey SdlKeyToWindows(SDL_Scancode scancode, bool numLock);
// The SDL key that gives the virtual key with that extended flag, and whether Num Lock must be
// on for it (the keypad's digits); SDL_SCANCODE_UNKNOWN if none.
SDL_Scancode SdlKeyFromWindows(uint32_t virtualKey, bool extended, bool& numLock);
