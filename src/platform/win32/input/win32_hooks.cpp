// System hooks for real device input. While the program has hooks of a kind and runs with a
// window session, one system low-level hook of that kind runs the program's chain for every
// device event; the chain's last hook passes the event on to the system's next hook. Headless
// runs take no system hooks: their input is injected and runs the chain where it arrives.
//
// Windows removes a low-level hook without a word when the thread does not answer it within
// LowLevelHooksTimeout (a display mode change, a long load). The hook notes each event it sees;
// a key or button message reaching a window that the hook did not note shows the loss: the hook
// is installed again, and that message runs the chain at the window. The system mouse hook,
// which makes the whole desktop's mouse wait on this thread, is held only while the program is
// active.
#include <windows.h>

#include <deque>

#include "platform/common/hook_chains.h"
#include "platform/platform_system.h"
#include "platform/win32/input/win32_input_parts.h"

namespace {

// An event the system hook saw: its time stamp and its message (keys: whether a release).
struct seenEvent {
  DWORD time;
  UINT message;
};

// Events the hook saw that went to other programs, or that a hook swallowed, never reach a
// window; the oldest go first.
constexpr size_t kSeenLimit = 256;

struct systemHook {
  HHOOK handle = nullptr;
  // The program's chain has hooks of the kind.
  bool wanted = false;
  std::deque<seenEvent> seen;
};

systemHook keyboardHook;
systemHook mouseHook;
bool appActive = true;

struct systemEvent {
  int code;
  WPARAM wParam;
  LPARAM lParam;
};

void NoteSeen(systemHook& hook, DWORD time, UINT message) {
  if (hook.seen.size() >= kSeenLimit) hook.seen.pop_front();
  hook.seen.push_back({time, message});
}

intptr_t SystemNext(void* context) {
  const systemEvent& event = *static_cast<const systemEvent*>(context);
  return CallNextHookEx(nullptr, event.code, event.wParam, event.lParam);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HC_ACTION) return CallNextHookEx(nullptr, code, wParam, lParam);
  const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  NoteSeen(keyboardHook, info->time, (info->flags & LLKHF_UP) != 0 ? WM_KEYUP : WM_KEYDOWN);
  platformKeyboardHookEvent event;
  event.virtualKey = info->vkCode;
  event.scanCode = info->scanCode;
  event.flags = info->flags;
  event.time = info->time;
  systemEvent context{code, wParam, lParam};
  return HookChainRunKeyboard(static_cast<uint32_t>(wParam), event, {SystemNext, &context});
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HC_ACTION) return CallNextHookEx(nullptr, code, wParam, lParam);
  const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
  // Moves are never checked (windows moving under the cursor make them too).
  if (wParam != WM_MOUSEMOVE) NoteSeen(mouseHook, info->time, static_cast<UINT>(wParam));
  platformMouseHookEvent event;
  event.x = info->pt.x;
  event.y = info->pt.y;
  event.mouseData = info->mouseData;
  event.flags = info->flags;
  event.time = info->time;
  systemEvent context{code, wParam, lParam};
  return HookChainRunMouse(static_cast<uint32_t>(wParam), event, {SystemNext, &context});
}

systemHook* SystemHook(platformHookKind kind) {
  switch (kind) {
    case PLATFORM_HOOK_KEYBOARD_LL: return &keyboardHook;
    case PLATFORM_HOOK_MOUSE_LL: return &mouseHook;
    default: return nullptr;
  }
}

void Uninstall(systemHook& hook) {
  if (hook.handle != nullptr) UnhookWindowsHookEx(hook.handle);
  hook.handle = nullptr;
}

bool Install(platformHookKind kind, systemHook& hook) {
  Uninstall(hook);
  const bool keyboard = kind == PLATFORM_HOOK_KEYBOARD_LL;
  hook.handle =
      SetWindowsHookExA(keyboard ? WH_KEYBOARD_LL : WH_MOUSE_LL,
                        keyboard ? KeyboardProc : MouseProc, GetModuleHandleA(nullptr), 0);
  hook.seen.clear();
  return hook.handle != nullptr;
}

bool HeldWhileInactive(platformHookKind kind) { return kind != PLATFORM_HOOK_MOUSE_LL; }

// The older keyboard hook runs in the program, on the key messages the windows receive.
bool Attach(platformHookKind kind, bool attach) {
  systemHook* hook = SystemHook(kind);
  if (hook == nullptr) return true;
  hook->wanted = attach;
  if (!attach) {
    Uninstall(*hook);
    return true;
  }
  if (PlatformHeadless() || (!appActive && !HeldWhileInactive(kind))) return true;
  return Install(kind, *hook);
}

void RefusedAccess() { SetLastError(ERROR_ACCESS_DENIED); }

// Before main: the framework installs its hooks from its start-up code.
const bool attached =
    (HookChainSetBackend(Attach), HookChainSetRefusalReporter(RefusedAccess), true);

}  // namespace

bool Win32SystemHookActive(platformHookKind kind) {
  const systemHook* hook = SystemHook(kind);
  return attached && hook != nullptr && hook->handle != nullptr;
}

bool Win32SystemHookMissed(platformHookKind kind, UINT message, DWORD messageTime) {
  systemHook* hook = SystemHook(kind);
  if (hook == nullptr || hook->handle == nullptr) return false;
  std::deque<seenEvent>& seen = hook->seen;
  // Events older than the message went elsewhere; the message itself must be next.
  while (!seen.empty() && static_cast<int32_t>(messageTime - seen.front().time) > 0)
    seen.pop_front();
  for (auto entry = seen.begin(); entry != seen.end() && entry->time == messageTime; ++entry) {
    if (entry->message == message) {
      seen.erase(entry);
      return false;
    }
  }
  Install(kind, *hook);
  return true;
}

void Win32SystemHooksFollowActivity(bool active) {
  if (active == appActive) return;
  appActive = active;
  for (platformHookKind kind : {PLATFORM_HOOK_KEYBOARD_LL, PLATFORM_HOOK_MOUSE_LL}) {
    systemHook& hook = *SystemHook(kind);
    if (HeldWhileInactive(kind)) continue;
    if (!active) {
      Uninstall(hook);
    } else if (hook.wanted && !PlatformHeadless()) {
      Install(kind, hook);
    }
  }
}

void Win32SystemHookDropSilently(platformHookKind kind) {
  systemHook* hook = SystemHook(kind);
  if (hook != nullptr && hook->handle != nullptr) UnhookWindowsHookEx(hook->handle);
}
