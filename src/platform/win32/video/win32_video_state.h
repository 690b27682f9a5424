// State shared by the parts of the Win32 video backend: its window and context records (kept in
// the shared list, video_state.h), the monitors counted at start and the events waiting for
// the pump.
//
// A platformWindow is the HWND, a platformDC the window's own HDC (its class keeps one device
// context per window), a platformGLContext the HGLRC.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/common/video/video_state.h"
#include "platform/platform_video.h"

struct win32WindowRecord : windowRecord {
  HWND hwnd = nullptr;
  HDC dc = nullptr;
  // The client size the handler was last told of (or the window was created with).
  int32_t reportedWidth = 0;
  int32_t reportedHeight = 0;
};

struct win32ContextRecord : contextRecord {
  HGLRC glrc = nullptr;
};

struct win32Monitor {
  std::string device;  // the display device name, "\\.\DISPLAY1"
  bool primary = false;
};

struct win32VideoState {
  HMODULE glLibrary = nullptr;
  // Window events wait here until the pump hands them over, so handlers never run inside a
  // call that happens to send the window a message.
  std::vector<std::pair<platformWindow, platformWindowEvent>> pending;
  bool pumping = false;
  int32_t handlerDepth = 0;
  // Our own mode changes notify the windows themselves; the system's notice is then ignored.
  bool changingMode = false;
  // Real monitors as counted at start (headless runs use the virtual ones).
  std::vector<win32Monitor> monitors;
};

// Injected window events travel as thread messages (wParam the window, lParam the kind), so
// they keep their order with the system's messages and arrive only through the pump.
constexpr UINT kWin32InjectedWindowEvent = WM_APP + 0x20;
// The session ends: posted to the main thread by the session guard.
constexpr UINT kWin32SessionEnd = WM_APP + 0x21;

win32VideoState& Win32Video();
// A window's or context's record as this backend made it; nullptr for none.
inline win32WindowRecord* Win32WindowRecord(platformWindow window) {
  return RecordAs<win32WindowRecord>(VideoState().windows, window);
}
inline win32ContextRecord* Win32ContextRecord(platformGLContext context) {
  return RecordAs<win32ContextRecord>(VideoState().contexts, context);
}
// Records the text of the thread's last system error, or the given text, as the last failure.
void Win32SetSystemError(const std::string& what);
// A failure the backend finds itself: the text, and the system error code the framework's log
// line reads after a failed call.
void Win32SetError(const std::string& text, DWORD code = ERROR_INVALID_HANDLE);

LRESULT CALLBACK Win32WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
const char* Win32WindowClassName();
// The window styles of a border style.
DWORD Win32WindowStyle(platformBorderStyle border);
// Moves and sizes a real window to its record (fullscreen: the monitor it lies on).
void Win32PlaceWindow(win32WindowRecord& record);

// Hands the event to the window's handler now when the pump runs and no handler is running,
// else queues it for the pump.
void Win32PostWindowEvent(platformWindow window, const platformWindowEvent& event);
void Win32DeliverPending();

// Starts, once per process, the hidden window that holds the session's end until the main
// thread is done (real windows only).
void Win32SessionGuardStart();

// The shell part paints window pictures; the window procedure asks it on WM_PAINT. True when
// the window had a picture to paint.
using win32Painter = bool (*)(HWND hwnd, HDC dc);
void Win32SetPainter(win32Painter painter);
win32Painter Win32Painter();
