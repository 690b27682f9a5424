// Backend-internal: the chains of hook procedures that every backend keeps in the program.
// The contract's install, remove and call-next functions live here; a backend runs a chain
// for each event it has for the hooks, and may tie the chains to system hooks.
#pragma once

#include <cstdint>

#include "platform/platform_input.h"

// What the last hook of a chain passes the event on to: the system's next hook when the event
// came through one, nothing (0) for events the program delivers itself.
struct hookChainTail {
  intptr_t (*next)(void* context) = nullptr;
  void* context = nullptr;
};

// The backend's part in installing a hook: called before the first hook of a kind joins its
// chain (attach true; false refuses the install) and after the last one has left (attach
// false). Without one, every install is accepted.
using hookChainBackend = bool (*)(platformHookKind kind, bool attach);
void HookChainSetBackend(hookChainBackend backend);
// Sets the system's last error for an install refused on purpose (PlatformHookSetRefused);
// without one, errno becomes EPERM.
using hookChainRefusalReporter = void (*)();
void HookChainSetRefusalReporter(hookChainRefusalReporter reporter);

// Each returns the chain's answer: non-zero swallows the event; without hooks of the kind the
// tail's answer.
intptr_t HookChainRunKeyboard(uint32_t message, const platformKeyboardHookEvent& event,
                              hookChainTail tail = {});
intptr_t HookChainRunKeyboardLegacy(uint32_t virtualKey, uint32_t flags);
intptr_t HookChainRunMouse(uint32_t message, const platformMouseHookEvent& event,
                           hookChainTail tail = {});
bool HookChainHasHooks(platformHookKind kind);
