#include "platform/common/video/monitor_modes.h"
#include "platform/common/video/native_video.h"
#include "platform/sdl/video/sdl_video_state.h"

namespace {

sdlWindowRecord* Started(platformWindow window) {
  return VideoState().started ? SdlWindowRecord(window) : nullptr;
}

// A fullscreen window follows the mode of the monitor it lies on; other windows carry their
// border style as SDL's bordered flag.
void ApplyBorder(sdlWindowRecord& record) {
  if (VideoState().headless) {
    return;
  }
  if (record.border == PLATFORM_BORDER_FULLSCREEN) {
    SDL_SetWindowBordered(record.sdl, SDL_FALSE);
    SdlPlaceFullscreen(record);
    return;
  }
  SDL_SetWindowFullscreen(record.sdl, 0);
  SDL_SetWindowBordered(record.sdl, record.border == PLATFORM_BORDER_DIALOG ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowPosition(record.sdl, record.x, record.y);
  SDL_SetWindowSize(record.sdl, record.width, record.height);
}

}  // namespace

platformWindow PlatformWindowCreate(const platformWindowParams& params) {
  if (!VideoStart()) {
    return 0;
  }
  int32_t width = params.width > 0 ? params.width : 1;
  int32_t height = params.height > 0 ? params.height : 1;
  int32_t x = params.x;
  int32_t y = params.y;
  CentreOnPrimaryMonitor(x, y, width, height);
  uint32_t flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL;
  if (params.border != PLATFORM_BORDER_DIALOG) {
    flags |= SDL_WINDOW_BORDERLESS;
  }
  SDL_Window* window = nullptr;
  if (params.shaped && !VideoState().headless) {
    window = SDL_CreateShapedWindow(params.caption.c_str(), static_cast<unsigned>(x),
                                    static_cast<unsigned>(y), static_cast<unsigned>(width),
                                    static_cast<unsigned>(height), flags);
  }
  if (window == nullptr) {
    window = SDL_CreateWindow(params.caption.c_str(), x, y, width, height, flags);
  }
  if (window == nullptr) {
    SdlSetError(SDL_GetError());
    return 0;
  }
  platformWindow handle = SDL_GetWindowID(window);
  sdlWindowRecord& record = AddRecord<sdlWindowRecord>(VideoState().windows, handle);
  record.sdl = window;
  record.opengl = true;
  record.caption = params.caption;
  record.border = params.border;
  record.x = x;
  record.y = y;
  record.width = width;
  record.height = height;
  if (params.border == PLATFORM_BORDER_FULLSCREEN) {
    ApplyBorder(record);
  }
  return handle;
}

void NativeWindowDestroy(platformWindow, windowRecord& record) {
  SDL_DestroyWindow(static_cast<sdlWindowRecord&>(record).sdl);
}

void NativeWindowShow(platformWindow window) { SDL_ShowWindow(SdlWindowRecord(window)->sdl); }

void NativeWindowHide(platformWindow window) { SDL_HideWindow(SdlWindowRecord(window)->sdl); }

void NativeWindowSetCaption(platformWindow window, const std::string& caption) {
  SDL_SetWindowTitle(SdlWindowRecord(window)->sdl, caption.c_str());
}

void NativeWindowMove(platformWindow window) {
  sdlWindowRecord& record = *SdlWindowRecord(window);
  if (record.border == PLATFORM_BORDER_FULLSCREEN) {
    SdlPlaceFullscreen(record);
  } else {
    SDL_SetWindowPosition(record.sdl, record.x, record.y);
  }
}

platformPoint PlatformWindowPosition(platformWindow window) {
  sdlWindowRecord* record = Started(window);
  if (record == nullptr) {
    return {};
  }
  if (!VideoState().headless && record->border != PLATFORM_BORDER_FULLSCREEN) {
    SDL_GetWindowPosition(record->sdl, &record->x, &record->y);
  }
  return {record->x, record->y};
}

void PlatformWindowSetClientSize(platformWindow window, int32_t width, int32_t height) {
  sdlWindowRecord* record = Started(window);
  if (record == nullptr || width <= 0 || height <= 0) {
    return;
  }
  record->width = width;
  record->height = height;
  if (VideoState().headless) {
    SDL_SetWindowSize(record->sdl, width, height);
    return;
  }
  if (record->border == PLATFORM_BORDER_FULLSCREEN) {
    SdlPlaceFullscreen(*record);
  } else {
    SDL_SetWindowSize(record->sdl, width, height);
  }
}

platformRect PlatformWindowClientRect(platformWindow window) {
  sdlWindowRecord* record = Started(window);
  if (record == nullptr) {
    return {};
  }
  if (!VideoState().headless) {
    SDL_GetWindowSize(record->sdl, &record->width, &record->height);
  }
  return {0, 0, record->width, record->height};
}

void NativeWindowApplyBorder(platformWindow window) { ApplyBorder(*SdlWindowRecord(window)); }

void NativeWindowShowCursor(platformWindow window, bool visible) {
  if (SDL_GetMouseFocus() == SdlWindowRecord(window)->sdl) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
  }
}

bool NativeWindowMinimize(platformWindow window) {
  SDL_MinimizeWindow(SdlWindowRecord(window)->sdl);
  return true;
}

bool NativeWindowRestore(platformWindow window) {
  SDL_RestoreWindow(SdlWindowRecord(window)->sdl);
  return true;
}

void NativeWindowSetForeground(platformWindow window) {
  sdlWindowRecord* record = SdlWindowRecord(window);
  SDL_RaiseWindow(record->sdl);
  SDL_SetWindowInputFocus(record->sdl);
}
