// State shared by the parts of the SDL video backend: window and context records.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/common/video/gl_contexts.h"
#include "platform/common/video/window_record.h"
#include "platform/platform_video.h"

struct sdlWindowRecord : windowRecord {
  SDL_Window* sdl = nullptr;
  bool opengl = false;
};

struct sdlContextRecord : contextRecord {
  SDL_GLContext sdl = nullptr;
};

struct sdlVideoState {
  bool started = false;
  bool headless = false;
  bool glLoaded = false;
  std::string lastError;
  std::map<platformWindow, sdlWindowRecord> windows;
  std::map<platformGLContext, sdlContextRecord> contexts;
  uint32_t injectEventType = 0;
  // Renderer answer: -1 not known yet, 0 software, 1 accelerated.
  int32_t rendererAccelerated = -1;
  // A deleted context kept for the next one created (PlatformGLKeepNextDeletedContext).
  bool keepNextDeleted = false;
  SDL_GLContext spare = nullptr;
};

sdlVideoState& SdlVideo();
// Starts SDL video on first use (offscreen driver when headless). False when it cannot start.
bool SdlVideoStart();
sdlWindowRecord* SdlWindowRecord(platformWindow window);
void SdlSetError(const std::string& text);
// Applies the mode the window's monitor is in to a fullscreen window (real windows only).
void SdlPlaceFullscreen(sdlWindowRecord& record);
// Deletes the context kept for the next one created, if any.
void SdlDeleteSpareContext();
