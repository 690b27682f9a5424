#include "platform/common/app_state.h"
#include "platform/platform_shell.h"
#include "platform/win32/video/win32_video_state.h"
#include "platform/win32/win32_input.h"

namespace {

void Deliver(platformWindow window, const platformWindowEvent& event) {
  win32VideoState& state = Win32Video();
  ++state.handlerDepth;
  WindowRecordSend(window, event);
  --state.handlerDepth;
}

// An injected event: the state change it implies, then the handler, as a real one would.
void InjectedEvent(platformWindow window, platformWindowEventKind kind) {
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
  WindowApplyStateEvent(*record, kind);
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
    } else if (message.hwnd == nullptr && (message.message == WM_QUIT || message.message == kWin32SessionEnd)) {
      // Asked to quit, or the session is ending: the game ends through its normal clean-up and
      // keeps the player's settings.
      Win32SessionEnding();
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
  const bool active = AppWindowsActive(state.windows);
  Win32InputPumpPass(active);
  AppStateUpdate(AppWindowsMinimized(state.windows), active);
  PlatformKeepAwakeLapse();
}

void PlatformHeadlessInjectWindowEvent(platformWindow window, platformWindowEventKind kind) {
  if (!Win32VideoStart()) {
    return;
  }
  PostThreadMessageA(GetCurrentThreadId(), kWin32InjectedWindowEvent, static_cast<WPARAM>(window),
                     static_cast<LPARAM>(kind));
}

bool PlatformAppIsActive() { return Win32Video().started && AppWindowsActive(Win32Video().windows); }

bool PlatformAppIsMinimized() { return Win32Video().started && AppWindowsMinimized(Win32Video().windows); }

void PlatformAppMinimize() {
  for (platformWindow window : WindowsWhere(Win32Video().windows, [](const auto& record) { return record.visible; })) {
    PlatformWindowMinimize(window);
  }
}

void PlatformAppRestore() {
  for (platformWindow window : WindowsWhere(Win32Video().windows, [](const auto& record) { return record.minimized; })) {
    PlatformWindowRestore(window);
  }
}
