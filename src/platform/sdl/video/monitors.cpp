#include "platform/common/video/monitor_modes.h"
#include "platform/common/video/native_video.h"
#include "platform/common/virtual_monitors.h"
#include "platform/sdl/video/sdl_video_state.h"

namespace {

bool RealMode(int32_t monitor, int32_t modeNumber, SDL_DisplayMode& mode) {
  return modeNumber >= 0 && SDL_GetDisplayMode(monitor, modeNumber, &mode) == 0;
}

platformDisplayMode FromSdl(const SDL_DisplayMode& mode) {
  // Windows counts the padding byte of 24-bit colour: RGB888 is a 32-bit mode there too.
  return {mode.w, mode.h, static_cast<int32_t>(SDL_BYTESPERPIXEL(mode.format)) * 8,
          mode.refresh_rate};
}

}  // namespace

// SDL switches modes only for fullscreen windows: the switch itself is placing them.
int32_t NativeMonitorSwitch(int32_t, int32_t) { return ModeChangeResult(); }

int32_t NativeMonitorsRestore(bool) { return ModeChangeResult(); }

void NativePlaceFullscreenWindows() {
  for (auto& [handle, record] : VideoState().windows) {
    if (record->border == PLATFORM_BORDER_FULLSCREEN) {
      SdlPlaceFullscreen(static_cast<sdlWindowRecord&>(*record));
    }
  }
}

bool NativeMonitorName(int32_t monitor, std::string& name) {
  const char* displayName = SDL_GetDisplayName(monitor);
  name = displayName != nullptr ? displayName : "";
  return true;
}

bool NativeMonitorMode(int32_t monitor, int32_t modeNumber, platformDisplayMode& mode) {
  SDL_DisplayMode sdlMode;
  if (!RealMode(monitor, modeNumber, sdlMode)) {
    return false;
  }
  mode = FromSdl(sdlMode);
  return true;
}

platformRect NativeMonitorRect(int32_t monitor) {
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

bool NativeMonitorIsPrimary(int32_t monitor) {
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
                      RealMode(monitor, applied, mode) && mode.w == desktop.w &&
                      mode.h == desktop.h;
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
