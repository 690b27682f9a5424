// Backend-internal: how the window procedure and the message pump of the video part hand input
// to the input part.
#pragma once

#include <windows.h>

// The window procedure offers every keyboard and mouse message (WM_KEYFIRST..WM_KEYLAST,
// WM_MOUSEFIRST..WM_MOUSELAST) and every message from WM_APP + 0x100 to WM_APP + 0x1FF (the
// input part's own posted messages) to the input part, after it has given mouse messages to the
// window's handler. True when the input part consumed the message (the window procedure then
// returns 0).
bool Win32InputWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Called by PlatformPumpMessages once per call, after the message queue is empty: the input part
// takes or gives up the system mouse hook as the program is active or not, and polls the
// joysticks.
void Win32InputPumpPass(bool appActive);
