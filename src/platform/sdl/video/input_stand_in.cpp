// Built only while the input backend is absent: input events are then dropped.
#include "platform/sdl/sdl_input.h"

bool SdlInputHandleEvent(const SDL_Event& event) {
  (void)event;
  return false;
}
