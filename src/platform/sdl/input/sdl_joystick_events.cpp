// SDL's controller events handed to the shared controller bookkeeping.
#include "platform/sdl/input/sdl_joystick_events.h"

#include "platform/common/joystick_controls.h"
#include "platform/platform_input.h"

static_assert(SDL_HAT_UP == JOYSTICK_HAT_UP && SDL_HAT_RIGHT == JOYSTICK_HAT_RIGHT &&
              SDL_HAT_DOWN == JOYSTICK_HAT_DOWN && SDL_HAT_LEFT == JOYSTICK_HAT_LEFT);

bool SdlJoystickHandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      JoystickControlsButton(event.jbutton.which, event.jbutton.button,
                             event.type == SDL_JOYBUTTONDOWN);
      return true;
    case SDL_JOYAXISMOTION:
      JoystickControlsAxis(event.jaxis.which, event.jaxis.axis, event.jaxis.value);
      return true;
    case SDL_JOYHATMOTION:
      if (event.jhat.hat == 0) JoystickControlsHat(event.jhat.which, event.jhat.value);
      return true;
    case SDL_JOYDEVICEADDED: {
      // Opening the device makes its events flow; the capabilities call opens it.
      platformJoystickCaps caps;
      if (!PlatformJoystickCapabilities(event.jdevice.which, caps)) return true;
      JoystickControlsAdded(event.jdevice.which, PlatformJoystickInstance(event.jdevice.which));
      return true;
    }
    case SDL_JOYDEVICEREMOVED:
      SdlJoystickClose(event.jdevice.which);
      JoystickControlsRemoved(event.jdevice.which);
      return true;
    case SDL_JOYBALLMOTION:
    case SDL_CONTROLLERAXISMOTION:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERDEVICEREMAPPED: return true;
    default: return false;
  }
}
