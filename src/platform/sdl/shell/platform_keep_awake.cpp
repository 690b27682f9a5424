// The keep-awake pulse: SDL keeps the screen saver off until told otherwise, so each pulse
// re-asserts that (a desktop may re-enable it behind our back, as an injected zero move would
// be needed for on Windows).
#include "platform/platform_shell.h"

#include <SDL.h>

namespace {
uint32_t pulseCount = 0;
}

void PlatformKeepAwakePulse() {
    SDL_DisableScreenSaver();
    ++pulseCount;
}

uint32_t PlatformKeepAwakePulseCount() {
    return pulseCount;
}

void PlatformKeepAwakePulseCountReset() {
    pulseCount = 0;
}
