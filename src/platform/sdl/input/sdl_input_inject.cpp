// Input queued by the program itself: SDL events built as the devices would send them, so
// they take the same road through the message pump as real input.
#include <SDL.h>

#include <set>

#include "platform/platform_input.h"
#include "platform/sdl/input/sdl_keys.h"

namespace {

std::set<SDL_Scancode> keysDown;

bool Push(SDL_Event& event) {
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0 && SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) return false;
  return SDL_PushEvent(&event) == 1;
}

Uint16 ModifiersHeld() {
  Uint16 mod = KMOD_NONE;
  const std::pair<SDL_Scancode, Uint16> modifiers[] = {
      {SDL_SCANCODE_LSHIFT, KMOD_LSHIFT}, {SDL_SCANCODE_RSHIFT, KMOD_RSHIFT},
      {SDL_SCANCODE_LCTRL, KMOD_LCTRL},   {SDL_SCANCODE_RCTRL, KMOD_RCTRL},
      {SDL_SCANCODE_LALT, KMOD_LALT},     {SDL_SCANCODE_RALT, KMOD_RALT}};
  for (const auto& [key, bit] : modifiers) {
    if (keysDown.count(key) != 0) mod = static_cast<Uint16>(mod | bit);
  }
  return mod;
}

}  // namespace

bool PlatformInputInjectKey(uint32_t virtualKey, bool extended, bool down) {
  bool numLock = false;
  const SDL_Scancode scancode = SdlKeyFromWindows(virtualKey, extended, numLock);
  if (scancode == SDL_SCANCODE_UNKNOWN) return false;
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = down && keysDown.count(scancode) != 0 ? 1 : 0;
  event.key.keysym.scancode = scancode;
  event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
  if (down) {
    keysDown.insert(scancode);
  } else {
    keysDown.erase(scancode);
  }
  event.key.keysym.mod = static_cast<Uint16>(ModifiersHeld() | (numLock ? KMOD_NUM : KMOD_NONE));
  return Push(event);
}

bool PlatformInputInjectMouseMove(platformWindow window, int32_t x, int32_t y) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.windowID = static_cast<Uint32>(window);
  event.motion.x = x;
  event.motion.y = y;
  return Push(event);
}

bool PlatformInputInjectMouseButton(platformWindow window, int32_t button, bool down, int32_t x,
                                    int32_t y) {
  if (button < SDL_BUTTON_LEFT || button > SDL_BUTTON_X2) return false;
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.windowID = static_cast<Uint32>(window);
  event.button.button = static_cast<Uint8>(button);
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.button.clicks = 1;
  event.button.x = x;
  event.button.y = y;
  return Push(event);
}

bool PlatformInputInjectMouseWheel(platformWindow window, int32_t notchesRight, int32_t notchesUp) {
  SDL_Event event{};
  event.type = SDL_MOUSEWHEEL;
  event.wheel.windowID = static_cast<Uint32>(window);
  event.wheel.x = notchesRight;
  event.wheel.y = notchesUp;
  event.wheel.preciseX = static_cast<float>(notchesRight);
  event.wheel.preciseY = static_cast<float>(notchesUp);
  event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  return Push(event);
}
