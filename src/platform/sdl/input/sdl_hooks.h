// Backend-internal: runs the hook chains for one event.
#pragma once

#include <cstdint>

#include "platform/platform_input.h"

// Each returns the chain's answer: non-zero swallows the event. 0 when no hook of the kind is
// installed.
intptr_t SdlHooksRunKeyboard(uint32_t message, const platformKeyboardHookEvent& event);
intptr_t SdlHooksRunKeyboardLegacy(uint32_t virtualKey, uint32_t flags);
intptr_t SdlHooksRunMouse(uint32_t message, const platformMouseHookEvent& event);
