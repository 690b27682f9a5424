// The end of the Windows session: logoff, shutdown, restarts for updates. Windows posts no
// WM_QUIT then, and may end the process as soon as all its windows have answered
// WM_ENDSESSION. Every window of the program is therefore asked to close, as the close command
// would ask, so the game ends through its normal clean-up; and a hidden window on a thread of
// its own holds back its answer until the main thread has finished (the process is gone), so
// the settings are written before the session may end.
#include "platform/win32/video/win32_video_state.h"

namespace {

// Windows itself offers to end a program that holds up the session for long; this is only the
// bound for a main thread that never finishes.
constexpr DWORD kHoldMs = 30000;

DWORD mainThreadId = 0;
HANDLE mainThread = nullptr;

LRESULT CALLBACK GuardProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
      if (wParam) {
        PostThreadMessageA(mainThreadId, kWin32SessionEnd, 0, 0);
        WaitForSingleObject(mainThread, kHoldMs);
      }
      return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

DWORD WINAPI GuardThread(LPVOID) {
  WNDCLASSA guardClass{};
  guardClass.lpfnWndProc = GuardProcedure;
  guardClass.hInstance = GetModuleHandleA(nullptr);
  guardClass.lpszClassName = "SanguorSessionGuard";
  RegisterClassA(&guardClass);
  // A top-level window, never shown: the session messages reach hidden windows too, but not
  // message-only ones.
  if (CreateWindowExA(WS_EX_TOOLWINDOW, guardClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                      nullptr, guardClass.hInstance, nullptr) == nullptr) {
    return 0;
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace

void Win32SessionGuardStart() {
  if (mainThread != nullptr) {
    return;
  }
  mainThreadId = GetCurrentThreadId();
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &mainThread,
                       SYNCHRONIZE, FALSE, 0)) {
    mainThread = nullptr;
    return;
  }
  // The thread lives as long as the process; it is never waited for.
  HANDLE thread = CreateThread(nullptr, 0, GuardThread, nullptr, 0, nullptr);
  if (thread != nullptr) {
    CloseHandle(thread);
  }
}
