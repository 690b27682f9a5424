// The keep-awake pulse. On Windows a zero mouse move resets the idle timer once; here a pulse
// holds the screen saver off for a while, and the hold lapses when the pulses stop (the game
// sends them only while the application is active), so a paused or minimised game, or the
// launcher, lets the screen saver start as any other program would.
#include "platform/common/keep_awake_hold.h"
#include "platform/platform_shell.h"

#include <SDL.h>

void PlatformKeepAwakePulse() {
  SDL_DisableScreenSaver();
  KeepAwakeNotePulse();
}

void PlatformKeepAwakeLapse() {
  if (KeepAwakeHoldLapsed()) SDL_EnableScreenSaver();
}

bool PlatformKeepAwakeHeld() {
  return SDL_WasInit(SDL_INIT_VIDEO) != 0 && !SDL_IsScreenSaverEnabled();
}
