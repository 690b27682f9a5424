#include "platform/platform_shell.h"
#include "platform/win32/video/win32_video_state.h"
#include "platform/win32/win32_input.h"

namespace {

bool ComputeAppMinimized() {
  bool anyShown = false;
  for (const auto& [handle, record] : Win32Video().windows) {
    if (record.visible) {
      anyShown = true;
      if (!record.minimized) {
        return false;
      }
    }
  }
  return anyShown;
}

bool ComputeAppActive() {
  win32VideoState& state = Win32Video();
  if (state.headless) {
    return state.headlessActive;
  }
  for (const auto& [handle, record] : state.windows) {
    if (record.focused) {
      return true;
    }
  }
  return false;
}

void SendToApp(platformAppEventKind kind) {
  win32VideoState& state = Win32Video();
  if (state.appHandler != nullptr) {
    state.appHandler(kind, state.appHandlerContext);
  }
}

void UpdateAppState() {
  // A window coming back from the task bar is restored before it is activated.
  win32VideoState& state = Win32Video();
  bool minimized = ComputeAppMinimized();
  if (minimized != state.appMinimized) {
    state.appMinimized = minimized;
    if (!minimized) {
      SendToApp(PLATFORM_APP_RESTORE);
    }
  }
  bool active = ComputeAppActive();
  if (active != state.appActive) {
    state.appActive = active;
    SendToApp(active ? PLATFORM_APP_ACTIVATE : PLATFORM_APP_DEACTIVATE);
  }
}

void Deliver(platformWindow window, const platformWindowEvent& event) {
  win32WindowRecord* record = Win32WindowRecord(window);
  if (record == nullptr || record->handler == nullptr) {
    return;
  }
  // The handler may change the window table; call through copies.
  platformWindowHandler handler = record->handler;
  void* context = record->handlerContext;
  win32VideoState& state = Win32Video();
  ++state.handlerDepth;
  handler(window, event, context);
  --state.handlerDepth;
}

// An injected event: the state change it implies, then the handler, as a real one would.
void InjectedEvent(platformWindow window, platformWindowEventKind kind) {
  win32VideoState& state = Win32Video();
  platformWindowEvent event;
  event.kind = kind;
  if (kind == PLATFORM_EVENT_DISPLAY_CHANGE) {
    Win32SendToAllWindows(event);
    return;
  }
  win32WindowRecord* record = Win32WindowRecord(window);
  if (record == nullptr) {
    return;
  }
  switch (kind) {
    case PLATFORM_EVENT_ACTIVATE:
      record->focused = true;
      state.headlessActive = true;
      break;
    case PLATFORM_EVENT_DEACTIVATE:
      record->focused = false;
      state.headlessActive = false;
      break;
    case PLATFORM_EVENT_MINIMIZE:
      record->minimized = true;
      break;
    case PLATFORM_EVENT_RESTORE:
      record->minimized = false;
      break;
    default:
      break;
  }
  Win32PostWindowEvent(window, event);
}

bool LeftButtonDown() {
  int key = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  return (GetAsyncKeyState(key) & 0x8000) != 0;
}

void FollowDrag() {
  win32VideoState& state = Win32Video();
  POINT cursor;
  if (state.dragWindow == 0 || !GetCursorPos(&cursor)) {
    return;
  }
  if (!LeftButtonDown()) {
    state.dragWindow = 0;
    return;
  }
  PlatformWindowSetPosition(state.dragWindow, cursor.x - state.dragOffsetX, cursor.y - state.dragOffsetY);
}

}  // namespace

void Win32PostWindowEvent(platformWindow window, const platformWindowEvent& event) {
  win32VideoState& state = Win32Video();
  state.pending.emplace_back(window, event);
  if (state.pumping && state.handlerDepth == 0) {
    Win32DeliverPending();
  }
}

void Win32DeliverPending() {
  win32VideoState& state = Win32Video();
  if (state.handlerDepth > 0) {
    return;
  }
  // Handlers may post more; those are delivered in turn.
  while (!state.pending.empty()) {
    auto [window, event] = state.pending.front();
    state.pending.erase(state.pending.begin());
    Deliver(window, event);
  }
}

void Win32SendToAllWindows(const platformWindowEvent& event) {
  std::vector<platformWindow> handles;
  for (const auto& [handle, record] : Win32Video().windows) {
    handles.push_back(handle);
  }
  for (platformWindow handle : handles) {
    Deliver(handle, event);
  }
}

void PlatformPumpMessages() {
  if (!Win32VideoStart()) {
    return;
  }
  win32VideoState& state = Win32Video();
  bool outer = !state.pumping;
  state.pumping = true;
  Win32DeliverPending();
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.hwnd == nullptr && message.message == kWin32InjectedWindowEvent) {
      InjectedEvent(static_cast<platformWindow>(message.wParam), static_cast<platformWindowEventKind>(message.lParam));
    } else if (message.hwnd == nullptr && message.message == WM_QUIT) {
      // The session is ending: every window is asked to close, as the system's close command
      // would, so the game ends through its normal clean-up and keeps the player's settings.
      platformWindowEvent close;
      close.kind = PLATFORM_EVENT_CLOSE;
      for (const auto& [handle, record] : state.windows) {
        Win32PostWindowEvent(handle, close);
      }
    } else {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Win32DeliverPending();
  }
  FollowDrag();
  Win32DeliverPending();
  if (outer) {
    state.pumping = false;
  }
  Win32InputPumpPass();
  UpdateAppState();
  PlatformKeepAwakeLapse();
}

void PlatformHeadlessInjectWindowEvent(platformWindow window, platformWindowEventKind kind) {
  if (!Win32VideoStart()) {
    return;
  }
  PostThreadMessageA(GetCurrentThreadId(), kWin32InjectedWindowEvent, static_cast<WPARAM>(window),
                     static_cast<LPARAM>(kind));
}

void PlatformAppSetHandler(platformAppHandler handler, void* context) {
  win32VideoState& state = Win32Video();
  state.appHandler = handler;
  state.appHandlerContext = handler != nullptr ? context : nullptr;
}

bool PlatformAppIsActive() { return Win32Video().started && ComputeAppActive(); }

bool PlatformAppIsMinimized() { return Win32Video().started && ComputeAppMinimized(); }

void PlatformAppMinimize() {
  std::vector<platformWindow> shown;
  for (const auto& [handle, record] : Win32Video().windows) {
    if (record.visible) {
      shown.push_back(handle);
    }
  }
  for (platformWindow window : shown) {
    PlatformWindowMinimize(window);
  }
}

void PlatformAppRestore() {
  std::vector<platformWindow> minimized;
  for (const auto& [handle, record] : Win32Video().windows) {
    if (record.minimized) {
      minimized.push_back(handle);
    }
  }
  for (platformWindow window : minimized) {
    PlatformWindowRestore(window);
  }
}
