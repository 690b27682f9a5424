// The rest of a program paused in the background, woken by the next event.
#include <SDL.h>

#include "platform/platform_system.h"
#include "platform/platform_video.h"

void PlatformWaitForEvents(uint32_t ms) {
  if (PlatformHeadless() || PlatformClockIsVirtual() || ms == 0) return;
  // Without an event to fill in, the event stays in the queue for the pump.
  SDL_WaitEventTimeout(nullptr, static_cast<int>(ms));
}
