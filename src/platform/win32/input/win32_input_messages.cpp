// Window key and mouse messages in the shapes of the contract: through the hooks that have not
// seen them yet, then to the application's message handler.
#include <windows.h>
#include <windowsx.h>

#include "platform/common/hook_chains.h"
#include "platform/common/key_table.h"
#include "platform/win32/input/win32_input_parts.h"
#include "platform/win32/win32_input.h"

namespace {

platformInputMessageProc messageHandler = nullptr;
// An injected mouse message that has been through the hooks is on its way through the window.
bool replaying = false;

platformWindow Handle(HWND window) { return reinterpret_cast<platformWindow>(window); }

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
         message == WM_SYSKEYUP;
}

// A class with double clicks turns every second press into a double-click message; the
// contract knows presses only.
UINT WithoutDoubleClick(UINT message) {
  switch (message) {
    case WM_LBUTTONDBLCLK: return WM_LBUTTONDOWN;
    case WM_RBUTTONDBLCLK: return WM_RBUTTONDOWN;
    case WM_MBUTTONDBLCLK: return WM_MBUTTONDOWN;
    case WM_XBUTTONDBLCLK: return WM_XBUTTONDOWN;
    default: return message;
  }
}

bool IsMouseMessage(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: return true;
    default: return false;
  }
}

bool IsWheel(UINT message) { return message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL; }

// True when a hook swallowed the key.
bool KeyMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const uint32_t flags = static_cast<uint32_t>(lParam);
  const DWORD time = static_cast<DWORD>(GetMessageTime());
  const UINT kind = (flags & PLATFORM_KF_UP) != 0 ? WM_KEYUP : WM_KEYDOWN;
  if (!Win32SystemHookActive(PLATFORM_HOOK_KEYBOARD_LL) ||
      Win32SystemHookMissed(PLATFORM_HOOK_KEYBOARD_LL, kind, time)) {
    const uint32_t scanCode = (flags >> 16) & 0xFF;
    const bool extended = (flags & PLATFORM_KF_EXTENDED) != 0;
    platformKeyboardHookEvent event;
    event.virtualKey = KeyTableSidedVirtualKey(static_cast<uint32_t>(wParam), scanCode, extended);
    event.scanCode = scanCode;
    event.flags = (extended ? PLATFORM_LLKHF_EXTENDED : 0) |
                  ((flags & PLATFORM_KF_ALTDOWN) != 0 ? PLATFORM_LLKHF_ALTDOWN : 0) |
                  ((flags & PLATFORM_KF_UP) != 0 ? PLATFORM_LLKHF_UP : 0);
    event.time = time;
    if (HookChainRunKeyboard(message, event) != 0) return true;
  }
  if (HookChainRunKeyboardLegacy(static_cast<uint32_t>(wParam), flags) != 0) return true;
  Win32InputDeliver(Handle(window), message, wParam, lParam);
  return false;
}

}  // namespace

void Win32InputDeliver(platformWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (messageHandler != nullptr) messageHandler(window, message, wParam, lParam);
}

bool Win32InputMouseMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            bool hooksSeen) {
  POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  POINT screen = client;
  if (!IsWheel(message)) ClientToScreen(window, &screen);
  if (!hooksSeen) {
    platformMouseHookEvent event;
    event.x = screen.x;
    event.y = screen.y;
    if (IsWheel(message) || message == WM_XBUTTONDOWN || message == WM_XBUTTONUP) {
      event.mouseData = static_cast<uint32_t>(HIWORD(wParam)) << 16;
    }
    event.time = static_cast<uint32_t>(GetMessageTime());
    if (HookChainRunMouse(message, event) != 0) return true;
  }
  if (message == WM_MOUSEMOVE && window != nullptr) {
    // A window receives moves only while the cursor is over its client area.
    RECT area{};
    if (GetClientRect(window, &area) && !PtInRect(&area, client)) return false;
  }
  Win32InputDeliver(Handle(window), message, wParam, lParam);
  return false;
}

bool Win32InputWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kWin32InjectedInput) {
    Win32InputInjectedArrived();
    return true;
  }
  if (IsKeyMessage(message)) {
    const bool swallowed = KeyMessage(window, message, wParam, lParam);
    // Alt+F4 keeps closing the window, as everywhere else on the desktop.
    return swallowed || !(message == WM_SYSKEYDOWN && wParam == VK_F4);
  }
  // Characters are not part of the contract; the default handling of system characters would
  // only beep at the Alt key combinations the game uses.
  if (message >= WM_KEYFIRST && message <= WM_KEYLAST) return message == WM_SYSCHAR;
  message = WithoutDoubleClick(message);
  if (!IsMouseMessage(message)) return false;
  // Moves also come from windows moving under the cursor; presses and wheels only from the device.
  const bool hooksSeen =
      replaying || (Win32SystemHookActive(PLATFORM_HOOK_MOUSE_LL) &&
                    (message == WM_MOUSEMOVE ||
                     !Win32SystemHookMissed(PLATFORM_HOOK_MOUSE_LL, message, GetMessageTime())));
  Win32InputMouseMessage(window, message, wParam, lParam, hooksSeen);
  return true;
}

void Win32InputReplay(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  replaying = true;
  SendMessageA(window, message, wParam, lParam);
  replaying = false;
}

void PlatformInputSetMessageHandler(platformInputMessageProc proc) { messageHandler = proc; }
