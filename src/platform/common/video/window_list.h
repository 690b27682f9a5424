// What every backend did alike over all its windows: the application window, a window being
// dragged, events for every window, injected window events and the application's state. The
// records are the shared list's (video_state.h).
#pragma once

#include <cstdint>

#include "platform/platform_video.h"

struct windowList {
  platformWindow appWindow = 0;
  // The pump follows the mouse until the button goes up, instead of the system's modal move
  // loop, so the main loop keeps running while the window moves.
  platformWindow dragWindow = 0;
  int32_t dragOffsetX = 0;
  int32_t dragOffsetY = 0;
};

windowList& WindowList();
// The window is being destroyed: it is no longer dragged nor the application window.
void WindowListForget(platformWindow window);
// Tells every window's handler now (display-change notices).
void WindowsSendToAll(const platformWindowEvent& event);
// Asks every window to close, as the system's close command would (a quit request, the
// session ending), so the game ends through its normal clean-up and keeps the player's settings.
void WindowsAskAllToClose();
// A window event that changes the window's flags (activation, minimising; injected ones carry
// the same meaning as real ones): the change, then the handler. A display change goes to every
// window.
void WindowStateEvent(platformWindow window, platformWindowEventKind kind);
// Moves the dragged window after the cursor; the drag ends when the left button is up.
void WindowListFollowDrag();
// The application's state as its windows give it (see app_state.h).
bool WindowsAppActive();
bool WindowsAppMinimized();
