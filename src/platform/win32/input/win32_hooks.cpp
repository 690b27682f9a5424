// System hooks for real device input. While the program has hooks of a kind and runs with a
// window session, one system low-level hook of that kind runs the program's chain for every
// device event; the chain's last hook passes the event on to the system's next hook. Headless
// runs take no system hooks: their input is injected and runs the chain where it arrives.
#include <windows.h>

#include "platform/common/hook_chains.h"
#include "platform/platform_system.h"
#include "platform/win32/input/win32_input_parts.h"

namespace {

HHOOK keyboardHook = nullptr;
HHOOK mouseHook = nullptr;

struct systemEvent {
  int code;
  WPARAM wParam;
  LPARAM lParam;
};

intptr_t SystemNext(void* context) {
  const systemEvent& event = *static_cast<const systemEvent*>(context);
  return CallNextHookEx(nullptr, event.code, event.wParam, event.lParam);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HC_ACTION) return CallNextHookEx(nullptr, code, wParam, lParam);
  const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
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
  platformMouseHookEvent event;
  event.x = info->pt.x;
  event.y = info->pt.y;
  event.mouseData = info->mouseData;
  event.flags = info->flags;
  event.time = info->time;
  systemEvent context{code, wParam, lParam};
  return HookChainRunMouse(static_cast<uint32_t>(wParam), event, {SystemNext, &context});
}

HHOOK* SystemHook(platformHookKind kind) {
  switch (kind) {
    case PLATFORM_HOOK_KEYBOARD_LL: return &keyboardHook;
    case PLATFORM_HOOK_MOUSE_LL: return &mouseHook;
    default: return nullptr;
  }
}

// The older keyboard hook runs in the program, on the key messages the windows receive.
bool Attach(platformHookKind kind, bool attach) {
  HHOOK* hook = SystemHook(kind);
  if (hook == nullptr) return true;
  if (!attach) {
    if (*hook != nullptr) UnhookWindowsHookEx(*hook);
    *hook = nullptr;
    return true;
  }
  if (PlatformHeadless()) return true;
  const int type = kind == PLATFORM_HOOK_KEYBOARD_LL ? WH_KEYBOARD_LL : WH_MOUSE_LL;
  const HOOKPROC proc = kind == PLATFORM_HOOK_KEYBOARD_LL ? KeyboardProc : MouseProc;
  *hook = SetWindowsHookExA(type, proc, GetModuleHandleA(nullptr), 0);
  return *hook != nullptr;
}

// Before main: the framework installs its hooks from its start-up code.
const bool attached = (HookChainSetBackend(Attach), true);

}  // namespace

bool Win32SystemHookActive(platformHookKind kind) {
  const HHOOK* hook = SystemHook(kind);
  return attached && hook != nullptr && *hook != nullptr;
}
