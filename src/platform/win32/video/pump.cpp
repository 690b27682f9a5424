#include "platform/common/app_state.h"
#include "platform/common/video/native_video.h"
#include "platform/common/video/window_list.h"
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

}  // namespace

bool NativeCursorPosition(int32_t& x, int32_t& y) {
  POINT cursor;
  if (!GetCursorPos(&cursor)) {
    return false;
  }
  x = cursor.x;
  y = cursor.y;
  return true;
}

bool NativeLeftButtonDown() {
  int key = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  return (GetAsyncKeyState(key) & 0x8000) != 0;
}

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

void NativeSendWindowEvent(platformWindow window, const platformWindowEvent& event) {
  Deliver(window, event);
}

void NativePostWindowEvent(platformWindow window, const platformWindowEvent& event) {
  Win32PostWindowEvent(window, event);
}

void PlatformPumpMessages() {
  if (!VideoStart()) {
    return;
  }
  win32VideoState& state = Win32Video();
  bool outer = !state.pumping;
  state.pumping = true;
  Win32DeliverPending();
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.hwnd == nullptr && message.message == kWin32InjectedWindowEvent) {
      WindowStateEvent(static_cast<platformWindow>(message.wParam),
                       static_cast<platformWindowEventKind>(message.lParam));
    } else if (message.hwnd == nullptr &&
               (message.message == WM_QUIT || message.message == kWin32SessionEnd)) {
      // Asked to quit, or the session is ending: the game ends through its normal clean-up and
      // keeps the player's settings.
      WindowsAskAllToClose();
    } else {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Win32DeliverPending();
  }
  WindowListFollowDrag();
  Win32DeliverPending();
  if (outer) {
    state.pumping = false;
  }
  const bool active = WindowsAppActive();
  Win32InputPumpPass(active);
  AppStateUpdate(WindowsAppMinimized(), active);
  PlatformKeepAwakeLapse();
}

void PlatformHeadlessInjectWindowEvent(platformWindow window, platformWindowEventKind kind) {
  if (!VideoStart()) {
    return;
  }
  PostThreadMessageA(GetCurrentThreadId(), kWin32InjectedWindowEvent, static_cast<WPARAM>(window),
                     static_cast<LPARAM>(kind));
}
