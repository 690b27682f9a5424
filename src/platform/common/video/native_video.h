// What a video backend supplies to the shared window bookkeeping (video_state.h,
// window_list.h, window_record.h, gl_contexts.h). Each backend (sdl/video/, win32/video/)
// defines these functions once, over its own system; the shared files are compiled into the
// backend's video library beside them.
// They are plain functions rather than a table the backend fills: exactly one backend is built
// into a program, so the linker binds them and a missing one is a link error, not a null
// pointer found at run time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/video/window_record.h"
#include "platform/platform_video.h"

// Starts the system's video (VideoStart calls it once, with the headless flag set) and counts
// the real monitors; false (with the last error recorded) when it cannot.
bool NativeVideoStart(bool headless, int32_t& realMonitors);
// Every window is destroyed: the backend lets its system's video go and forgets its state.
void NativeVideoStop();
// Hands the event to the window's handler now.
void NativeSendWindowEvent(platformWindow window, const platformWindowEvent& event);
// Hands the event to the window's handler as the system's own events reach it (now, or queued
// for the pump where the system may call in while a handler runs).
void NativePostWindowEvent(platformWindow window, const platformWindowEvent& event);
// A window the shared part has recorded: the system's caption, and its place at the record's
// position (a fullscreen one fills the monitor there). Real windows only for the move.
void NativeWindowSetCaption(platformWindow window, const std::string& caption);
// The window shown (as its record says: minimised or not) or hidden.
void NativeWindowShow(platformWindow window);
void NativeWindowHide(platformWindow window);
// The window takes the border style now in its record (a fullscreen one fills its monitor).
void NativeWindowApplyBorder(platformWindow window);
// The cursor shown or hidden at once if it is over the window (the record already says which).
void NativeWindowShowCursor(platformWindow window, bool visible);
void NativeWindowMove(platformWindow window);
// Its contexts are gone and its record is already out of the list (messages the destruction
// sends find no window to report to): the system's window goes.
void NativeWindowDestroy(platformWindow window, windowRecord& record);
// A real window minimised or restored by the system; false when the system has nothing to do
// (the state change then travels as an injected event). The foreground for a real window.
bool NativeWindowMinimize(platformWindow window);
bool NativeWindowRestore(platformWindow window);
void NativeWindowSetForeground(platformWindow window);
// The cursor in screen coordinates; false when the system cannot tell.
bool NativeCursorPosition(int32_t& x, int32_t& y);
bool NativeLeftButtonDown();
// Whether the window has what its context draws on (Win32: its device context, once asked for).
bool NativeWindowHasSurface(platformWindow window);
// The window has a context: borrows it, reads what the window last presented at the client size
// given in width and height (see GLWindowReadPresented) and puts the current context back.
// False when the context cannot be made current.
bool NativeWindowReadPresented(platformWindow window, int32_t& width, int32_t& height,
                               std::vector<uint32_t>& pixels);
// Records the last failure of the video part (VideoState().lastError) and the system's own
// error code for it.
void NativeSetError(const std::string& text);
// The window whose device context this is; 0 for none (or before the video part started).
platformWindow NativeWindowOfDC(platformDC dc);
// The context current on this thread (0 for none), and whether it draws into the window.
platformGLContext NativeCurrentContext();
bool NativeCurrentOnWindow(platformWindow window);
// Makes the context current on the window, or nothing current for context 0; false (with the
// last error, when a context was given) when the system refuses.
bool NativeMakeCurrent(platformWindow window, platformGLContext context);
// The size of what the window's context draws into, in pixels (real windows only).
void NativeDrawableSize(platformWindow window, int32_t& width, int32_t& height);
// Presents the back buffer of a real window; false (with the last error) when the system fails.
bool NativeSwapWindow(platformWindow window);
// Frees the context's framebuffers (borrowing the context) and deletes it; false when the
// system refused. Called only for a context that has a record; the record goes afterwards.
bool NativeDeleteContext(platformGLContext context);
// Real monitors (virtual ones are answered by the shared part), called with a monitor number
// already checked. The switches give a PLATFORM_DISP_CHANGE_ code.
bool NativeMonitorName(int32_t monitor, std::string& name);
bool NativeMonitorMode(int32_t monitor, int32_t modeNumber, platformDisplayMode& mode);
platformRect NativeMonitorRect(int32_t monitor);
bool NativeMonitorIsPrimary(int32_t monitor);
int32_t NativeMonitorSwitch(int32_t monitor, int32_t modeNumber);
int32_t NativeMonitorsRestore(bool anyApplied);
// Fullscreen windows take their monitor's new mode (real windows only).
void NativePlaceFullscreenWindows();
