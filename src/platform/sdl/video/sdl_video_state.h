// State shared by the parts of the SDL video backend: its window and context records (kept in
// the shared list, video_state.h) and what SDL alone needs.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/video/video_state.h"
#include "platform/platform_video.h"

struct sdlWindowRecord : windowRecord {
  SDL_Window* sdl = nullptr;
  bool opengl = false;
};

struct sdlContextRecord : contextRecord {
  SDL_GLContext sdl = nullptr;
};

struct sdlVideoState {
  bool glLoaded = false;
  uint32_t injectEventType = 0;
  // Renderer answer: -1 not known yet, 0 software, 1 accelerated.
  int32_t rendererAccelerated = -1;
  // A deleted context kept for the next one created (PlatformGLKeepNextDeletedContext).
  bool keepNextDeleted = false;
  SDL_GLContext spare = nullptr;
};

sdlVideoState& SdlVideo();
// A window's or context's record as this backend made it; nullptr for none.
inline sdlWindowRecord* SdlWindowRecord(platformWindow window) {
  return RecordAs<sdlWindowRecord>(VideoState().windows, window);
}
inline sdlContextRecord* SdlContextRecord(platformGLContext context) {
  return RecordAs<sdlContextRecord>(VideoState().contexts, context);
}
void SdlSetError(const std::string& text);
// Applies the mode the window's monitor is in to a fullscreen window (real windows only).
void SdlPlaceFullscreen(sdlWindowRecord& record);
// Deletes the context kept for the next one created, if any.
void SdlDeleteSpareContext();
