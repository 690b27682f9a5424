#include "platform/common/monitor_modes.h"
#include "platform/common/video/window_list.h"
#include "platform/common/virtual_monitors.h"
#include "platform/sdl/video/sdl_video_state.h"

namespace {

bool ValidMonitor(int32_t monitor) {
  return SdlVideoStart() && monitor >= 0 && monitor < MonitorModesCount();
}

bool RealMode(int32_t monitor, int32_t modeNumber, SDL_DisplayMode& mode) {
  return modeNumber >= 0 && SDL_GetDisplayMode(monitor, modeNumber, &mode) == 0;
}

platformDisplayMode FromSdl(const SDL_DisplayMode& mode) {
  // Windows counts the padding byte of 24-bit colour: RGB888 is a 32-bit mode there too.
  return {mode.w, mode.h, static_cast<int32_t>(SDL_BYTESPERPIXEL(mode.format)) * 8, mode.refresh_rate};
}

// SDL switches modes only for fullscreen windows: the switch itself is placing them.
int32_t Switch(int32_t, int32_t) { return ModeChangeResult(); }

int32_t Restore(bool) { return ModeChangeResult(); }

void PlaceFullscreenWindows() {
  for (auto& [handle, record] : SdlVideo().windows) {
    if (record.border == PLATFORM_BORDER_FULLSCREEN) {
      SdlPlaceFullscreen(record);
    }
  }
}

void NotifyDisplayChange() {
  platformWindowEvent event;
  event.kind = PLATFORM_EVENT_DISPLAY_CHANGE;
  WindowsSendToAll(event);
}

const monitorBackend backend{Switch, Restore, PlaceFullscreenWindows, NotifyDisplayChange};

}  // namespace

int32_t PlatformMonitorCount() { return SdlVideoStart() ? MonitorModesCount() : 0; }

bool PlatformMonitorDeviceName(int32_t monitor, std::string& name) {
  if (!ValidMonitor(monitor)) {
    return false;
  }
  if (MonitorModesVirtual()) {
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
  if (MonitorModesVirtual()) {
    return VirtualMonitorMode(monitor, modeNumber, mode);
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
  if (MonitorModesVirtual()) {
    return VirtualMonitorRect(monitor);
  }
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(monitor, &bounds) != 0) {
    return {};
  }
  platformRect rect{bounds.x, bounds.y, bounds.w, bounds.h};
  platformDisplayMode mode;
  if (PlatformMonitorEnumMode(monitor, MonitorApplied(monitor), mode)) {
    rect.width = mode.width;
    rect.height = mode.height;
  }
  return rect;
}

bool PlatformMonitorIsPrimary(int32_t monitor) {
  if (!ValidMonitor(monitor)) {
    return false;
  }
  if (MonitorModesVirtual()) {
    return VirtualMonitor(monitor)->primary;
  }
  SDL_Rect bounds;
  return SDL_GetDisplayBounds(monitor, &bounds) == 0 && bounds.x == 0 && bounds.y == 0;
}

void SdlPlaceFullscreen(sdlWindowRecord& record) {
  int32_t monitor = MonitorAtPoint(record.x, record.y);
  int32_t applied = MonitorApplied(monitor);
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
  if (!SdlVideoStart()) {
    ModeChangeRecord(monitor, modeNumber, mode, PLATFORM_DISP_CHANGE_BADPARAM);
    return PLATFORM_DISP_CHANGE_BADPARAM;
  }
  return MonitorModeApply(monitor, modeNumber, mode, backend);
}

int32_t PlatformMonitorsRestoreDesktop() {
  return SdlVideoStart() ? MonitorModesRestore(backend) : PLATFORM_DISP_CHANGE_FAILED;
}
