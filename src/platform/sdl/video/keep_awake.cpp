// The keep-awake pulse. On Windows a zero mouse move resets the idle timer once; here a pulse
// holds the screen saver off for a while, and the hold lapses when the pulses stop (the game
// sends them only while the application is active), so a paused or minimised game, or the
// launcher, lets the screen saver start as any other program would.
#include "platform/platform_shell.h"
#include "platform/platform_system.h"

#include <SDL.h>

namespace {

// Longer than the game's pulse interval (10 s), so a slow pass does not let the hold lapse.
constexpr uint32_t kHoldMs = 15000;

uint32_t pulseCount = 0;
bool holding = false;
uint32_t lastPulse = 0;

}  // namespace

void PlatformKeepAwakePulse() {
  SDL_DisableScreenSaver();
  holding = true;
  lastPulse = PlatformTickCount();
  ++pulseCount;
}

void PlatformKeepAwakeLapse() {
  if (!holding || PlatformTickCount() - lastPulse <= kHoldMs) return;
  SDL_EnableScreenSaver();
  holding = false;
}

bool PlatformKeepAwakeHeld() { return SDL_WasInit(SDL_INIT_VIDEO) != 0 && !SDL_IsScreenSaverEnabled(); }

uint32_t PlatformKeepAwakePulseCount() {
  return pulseCount;
}

void PlatformKeepAwakePulseCountReset() {
  pulseCount = 0;
}
