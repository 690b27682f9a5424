#include "platform/common/virtual_monitors.h"
#include "platform/sdl/video/sdl_video_state.h"

namespace {

bool ValidMonitor(int32_t monitor) {
  return SdlVideoStart() && monitor >= 0 && monitor < SdlVideo().monitorCount;
}

bool RealMode(int32_t monitor, int32_t modeNumber, SDL_DisplayMode& mode) {
  return modeNumber >= 0 && SDL_GetDisplayMode(monitor, modeNumber, &mode) == 0;
}

platformDisplayMode FromSdl(const SDL_DisplayMode& mode) {
  // Windows counts the padding byte of 24-bit colour: RGB888 is a 32-bit mode there too.
  return {mode.w, mode.h, static_cast<int32_t>(SDL_BYTESPERPIXEL(mode.format)) * 8, mode.refresh_rate};
}

// The system tells every top-level window at once when the desktop mode changes, before the
// change call returns; so do we, so that callers that ignore notices during a switch see it.
void NotifyDisplayChange() {
  platformWindowEvent event;
  event.kind = PLATFORM_EVENT_DISPLAY_CHANGE;
  SdlSendToAllWindows(event);
}

void PlaceFullscreenWindows() {
  if (SdlVideo().headless) {
    return;
  }
  for (auto& [handle, record] : SdlVideo().windows) {
    if (record.border == PLATFORM_BORDER_FULLSCREEN) {
      SdlPlaceFullscreen(record);
    }
  }
}

}  // namespace

void PlatformHeadlessSetMonitors(const std::vector<platformVirtualMonitor>& monitors) {
  sdlVideoState& state = SdlVideo();
  VirtualMonitors() = monitors;
  PlatformHeadlessClearModeChanges();
  if (state.started && state.headless) {
    state.monitorCount = static_cast<int32_t>(monitors.size());
    state.applied.assign(monitors.size(), -1);
  }
}

int32_t PlatformMonitorCount() { return SdlVideoStart() ? SdlVideo().monitorCount : 0; }

bool PlatformMonitorDeviceName(int32_t monitor, std::string& name) {
  if (!ValidMonitor(monitor)) {
    return false;
  }
  if (SdlVideo().headless) {
    name = VirtualMonitor(monitor)->deviceName;
  } else {
    const char* displayName = SDL_GetDisplayName(monitor);
    name = displayName != nullptr ? displayName : "";
  }
  return true;
}

bool PlatformMonitorEnumMode(int32_t monitor, int32_t modeNumber, platformDisplayMode& mode) {
  if (!ValidMonitor(monitor) || modeNumber < 0) {
    return false;
  }
  if (SdlVideo().headless) {
    const auto& modes = VirtualMonitor(monitor)->modes;
    if (static_cast<size_t>(modeNumber) >= modes.size()) {
      return false;
    }
    mode = modes[static_cast<size_t>(modeNumber)];
    return true;
  }
  SDL_DisplayMode sdlMode;
  if (!RealMode(monitor, modeNumber, sdlMode)) {
    return false;
  }
  mode = FromSdl(sdlMode);
  return true;
}

platformRect PlatformMonitorRect(int32_t monitor) {
  if (!ValidMonitor(monitor)) {
    return {};
  }
  sdlVideoState& state = SdlVideo();
  platformRect rect;
  if (state.headless) {
    rect = VirtualMonitor(monitor)->rect;
  } else {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(monitor, &bounds) != 0) {
      return {};
    }
    rect = {bounds.x, bounds.y, bounds.w, bounds.h};
  }
  platformDisplayMode mode;
  int32_t applied = state.applied[static_cast<size_t>(monitor)];
  if (applied >= 0 && PlatformMonitorEnumMode(monitor, applied, mode)) {
    rect.width = mode.width;
    rect.height = mode.height;
  }
  return rect;
}

bool PlatformMonitorIsPrimary(int32_t monitor) {
  if (!ValidMonitor(monitor)) {
    return false;
  }
  if (SdlVideo().headless) {
    return VirtualMonitor(monitor)->primary;
  }
  SDL_Rect bounds;
  return SDL_GetDisplayBounds(monitor, &bounds) == 0 && bounds.x == 0 && bounds.y == 0;
}

int32_t SdlMonitorAt(int32_t x, int32_t y) {
  int32_t primary = 0;
  for (int32_t m = 0; m < PlatformMonitorCount(); ++m) {
    platformRect rect = PlatformMonitorRect(m);
    if (x >= rect.left && x < rect.left + rect.width && y >= rect.top && y < rect.top + rect.height) {
      return m;
    }
    if (PlatformMonitorIsPrimary(m)) {
      primary = m;
    }
  }
  return primary;
}

void SdlPlaceFullscreen(sdlWindowRecord& record) {
  int32_t monitor = SdlMonitorAt(record.x, record.y);
  int32_t applied = monitor < static_cast<int32_t>(SdlVideo().applied.size())
                        ? SdlVideo().applied[static_cast<size_t>(monitor)]
                        : -1;
  SDL_DisplayMode mode;
  SDL_DisplayMode desktop;
  // A mode of the desktop's size needs no mode switch, and window systems without a window
  // manager (Xvfb) only honour the desktop kind of fullscreen.
  bool desktopSized = SDL_GetDesktopDisplayMode(monitor, &desktop) == 0 && applied >= 0 &&
                      RealMode(monitor, applied, mode) && mode.w == desktop.w && mode.h == desktop.h;
  if (applied >= 0 && !desktopSized && RealMode(monitor, applied, mode)) {
    SDL_Rect bounds;
    SDL_GetDisplayBounds(monitor, &bounds);
    SDL_SetWindowPosition(record.sdl, bounds.x, bounds.y);
    SDL_SetWindowDisplayMode(record.sdl, &mode);
    SDL_SetWindowFullscreen(record.sdl, SDL_WINDOW_FULLSCREEN);
  } else {
    SDL_SetWindowFullscreen(record.sdl, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
}

int32_t PlatformMonitorApplyMode(int32_t monitor, int32_t modeNumber, const platformDisplayMode& mode) {
  if (!ValidMonitor(monitor)) {
    ModeChangeRecord(monitor, modeNumber, mode, PLATFORM_DISP_CHANGE_BADPARAM);
    return PLATFORM_DISP_CHANGE_BADPARAM;
  }
  sdlVideoState& state = SdlVideo();
  platformDisplayMode listed;
  int32_t result = ModeChangeResult();
  if (!PlatformMonitorEnumMode(monitor, modeNumber, listed) || listed.width != mode.width ||
      listed.height != mode.height || listed.bitsPerPixel != mode.bitsPerPixel) {
    result = PLATFORM_DISP_CHANGE_BADMODE;
  }
  ModeChangeRecord(monitor, modeNumber, mode, result);
  if (result != PLATFORM_DISP_CHANGE_SUCCESSFUL) {
    return result;
  }
  int32_t& applied = state.applied[static_cast<size_t>(monitor)];
  bool changed = applied != modeNumber;
  applied = modeNumber;
  PlaceFullscreenWindows();
  if (changed) {
    NotifyDisplayChange();
  }
  return result;
}

int32_t PlatformMonitorsRestoreDesktop() {
  if (!SdlVideoStart()) {
    return PLATFORM_DISP_CHANGE_FAILED;
  }
  sdlVideoState& state = SdlVideo();
  int32_t result = ModeChangeResult();
  ModeChangeRecord(-1, -1, {}, result);
  if (result != PLATFORM_DISP_CHANGE_SUCCESSFUL) {
    return result;
  }
  bool changed = false;
  for (int32_t& applied : state.applied) {
    changed = changed || applied >= 0;
    applied = -1;
  }
  PlaceFullscreenWindows();
  if (changed) {
    NotifyDisplayChange();
  }
  return result;
}
