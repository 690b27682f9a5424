// What a video backend supplies to the shared window bookkeeping (window_list.h,
// window_record.h). Each backend (sdl/video/, win32/video/) defines these functions once, over
// its own system; the shared files are compiled into the backend's video library beside them.
// They are plain functions rather than a table the backend fills: exactly one backend is built
// into a program, so the linker binds them and a missing one is a link error, not a null
// pointer found at run time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform_video.h"

// Starts the video part on first use; false (with the last error recorded) when it cannot.
bool NativeVideoStart();
bool NativeVideoStarted();
// Every window is destroyed: the backend lets its system's video go and forgets its state.
void NativeVideoStop();
bool NativeVideoHeadless();
// Every window the backend keeps, in the order of their handles.
std::vector<platformWindow> NativeWindowHandles();
// Hands the event to the window's handler now.
void NativeSendWindowEvent(platformWindow window, const platformWindowEvent& event);
// Hands the event to the window's handler as the system's own events reach it (now, or queued
// for the pump where the system may call in while a handler runs).
void NativePostWindowEvent(platformWindow window, const platformWindowEvent& event);
// A window the shared part has recorded: the system's caption, and its place at the record's
// position (a fullscreen one fills the monitor there). Real windows only for the move.
void NativeWindowSetCaption(platformWindow window, const std::string& caption);
void NativeWindowMove(platformWindow window);
// Its contexts are gone: the system's window and the backend's record go too.
void NativeWindowDestroy(platformWindow window);
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
bool NativeWindowReadPresented(platformWindow window, int32_t& width, int32_t& height, std::vector<uint32_t>& pixels);
// The last failure of the video part, as the backend records its own.
void NativeSetError(const std::string& text);
// Every context the backend keeps, in the order of their handles.
std::vector<platformGLContext> NativeContextHandles();
// Frees the context's framebuffers (borrowing the context), deletes it and drops its record;
// false when the system refused. Called only for a context the backend has.
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

// The record of a handle in a backend's record map; nullptr when it has none.
template <typename Records>
typename Records::mapped_type* FindRecord(Records& records, typename Records::key_type handle) {
  auto found = records.find(handle);
  return found == records.end() ? nullptr : &found->second;
}

// The keys of a backend's record map, in order: what the Native...Handles lists return.
template <typename Records>
std::vector<typename Records::key_type> RecordHandles(const Records& records) {
  std::vector<typename Records::key_type> handles;
  handles.reserve(records.size());
  for (const auto& [handle, record] : records) {
    handles.push_back(handle);
  }
  return handles;
}
