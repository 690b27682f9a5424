// Hook chains: the hooks of one kind run newest first, each deciding whether the ones
// installed before it see the event.
#include "platform/common/hook_chains.h"

#include <cerrno>
#include <vector>

namespace {

struct hookRecord {
  platformHook id;
  platformHookKind kind;
  platformKeyboardHookProc keyboard;
  platformKeyboardLegacyHookProc keyboardLegacy;
  platformMouseHookProc mouse;
};

// The event being run through a chain; a stack because a hook procedure may pump events.
struct dispatchFrame {
  platformHookKind kind;
  uint32_t message;
  platformKeyboardHookEvent key;
  uint32_t virtualKey;
  uint32_t flags;
  platformMouseHookEvent mouse;
  hookChainTail tail;
};

std::vector<hookRecord> hooks;  // in install order
std::vector<dispatchFrame> frames;
platformHook nextHookId = 1;
bool refused[3] = {false, false, false};
hookChainBackend backend = nullptr;
hookChainRefusalReporter refusalReporter = nullptr;

int32_t RefusedIndex(platformHookKind kind) {
  switch (kind) {
    case PLATFORM_HOOK_KEYBOARD_LL: return 0;
    case PLATFORM_HOOK_KEYBOARD: return 1;
    default: return 2;
  }
}

void SetRefusalError() {
  if (refusalReporter != nullptr) {
    refusalReporter();
  } else {
    errno = EPERM;
  }
}

platformHook Install(hookRecord record) {
  if (refused[RefusedIndex(record.kind)]) {
    SetRefusalError();
    return 0;
  }
  if (!HookChainHasHooks(record.kind) && backend != nullptr && !backend(record.kind, true))
    return 0;
  record.id = nextHookId++;
  hooks.push_back(record);
  return record.id;
}

intptr_t Call(const hookRecord& hook, const dispatchFrame& frame) {
  switch (hook.kind) {
    case PLATFORM_HOOK_KEYBOARD_LL:
      return hook.keyboard(PLATFORM_HC_ACTION, frame.message, frame.key);
    case PLATFORM_HOOK_KEYBOARD:
      return hook.keyboardLegacy(PLATFORM_HC_ACTION, frame.virtualKey, frame.flags);
    case PLATFORM_HOOK_MOUSE_LL: return hook.mouse(PLATFORM_HC_ACTION, frame.message, frame.mouse);
  }
  return 0;
}

// Runs the newest hook of the frame's kind installed before position `below`.
intptr_t RunFrom(size_t below) {
  const dispatchFrame frame = frames.back();
  for (size_t i = below; i-- > 0;) {
    if (hooks[i].kind != frame.kind) continue;
    // A copy: the procedure may remove hooks while it runs.
    const hookRecord hook = hooks[i];
    return Call(hook, frame);
  }
  return frame.tail.next != nullptr ? frame.tail.next(frame.tail.context) : 0;
}

intptr_t Run(const dispatchFrame& frame) {
  frames.push_back(frame);
  const intptr_t result = RunFrom(hooks.size());
  frames.pop_back();
  return result;
}

}  // namespace

platformHook PlatformKeyboardHookInstall(platformKeyboardHookProc proc) {
  return Install({0, PLATFORM_HOOK_KEYBOARD_LL, proc, nullptr, nullptr});
}

platformHook PlatformKeyboardLegacyHookInstall(platformKeyboardLegacyHookProc proc) {
  return Install({0, PLATFORM_HOOK_KEYBOARD, nullptr, proc, nullptr});
}

platformHook PlatformMouseHookInstall(platformMouseHookProc proc) {
  return Install({0, PLATFORM_HOOK_MOUSE_LL, nullptr, nullptr, proc});
}

bool PlatformHookRemove(platformHook hook) {
  for (auto it = hooks.begin(); it != hooks.end(); ++it) {
    if (it->id == hook) {
      const platformHookKind kind = it->kind;
      hooks.erase(it);
      if (!HookChainHasHooks(kind) && backend != nullptr) backend(kind, false);
      return true;
    }
  }
  return false;
}

intptr_t PlatformHookCallNext(platformHook hook) {
  if (frames.empty()) return 0;
  for (size_t i = 0; i < hooks.size(); ++i) {
    if (hooks[i].id == hook) return RunFrom(i);
  }
  return 0;
}

void PlatformHookSetRefused(platformHookKind kind, bool isRefused) {
  refused[RefusedIndex(kind)] = isRefused;
}

void HookChainSetBackend(hookChainBackend proc) { backend = proc; }

void HookChainSetRefusalReporter(hookChainRefusalReporter reporter) { refusalReporter = reporter; }

bool HookChainHasHooks(platformHookKind kind) {
  for (const hookRecord& hook : hooks) {
    if (hook.kind == kind) return true;
  }
  return false;
}

intptr_t HookChainRunKeyboard(uint32_t message, const platformKeyboardHookEvent& event,
                              hookChainTail tail) {
  return Run({PLATFORM_HOOK_KEYBOARD_LL, message, event, 0, 0, {}, tail});
}

intptr_t HookChainRunKeyboardLegacy(uint32_t virtualKey, uint32_t flags) {
  return Run({PLATFORM_HOOK_KEYBOARD, 0, {}, virtualKey, flags, {}, {}});
}

intptr_t HookChainRunMouse(uint32_t message, const platformMouseHookEvent& event,
                           hookChainTail tail) {
  return Run({PLATFORM_HOOK_MOUSE_LL, message, {}, 0, 0, event, tail});
}
