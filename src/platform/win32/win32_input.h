// How the video part's window procedure and pump hand keyboard, mouse and joystick work to
// the input part of the Win32 backend.
#pragma once

#include <windows.h>

// The window procedure offers every keyboard and mouse message (WM_KEYFIRST..WM_KEYLAST,
// WM_MOUSEFIRST..WM_MOUSELAST) and every message from WM_APP + 0x100 to WM_APP + 0x1FF
// (reserved for the input part's own posted messages) to the input part, after it has given
// mouse messages to the window's handler (PLATFORM_EVENT_MOUSE_* when inside the window's
// outline, as the SDL pump does). True when the input part consumed the message (the window
// procedure returns 0).
bool Win32InputWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Called by PlatformPumpMessages once per call, after the message queue is empty: the input
// part polls joysticks and lapses what needs lapsing.
void Win32InputPumpPass();
// The application's hidden window (the video part's PlatformAppWindow), to which the input
// part may post its own messages.
