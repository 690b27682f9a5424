// State shared by the parts of the SDL video backend: window and context records.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/common/gl_offscreen.h"
#include "platform/common/window_record.h"
#include "platform/platform_video.h"

struct sdlWindowRecord : windowRecord {
  SDL_Window* sdl = nullptr;
  bool opengl = false;
};

// A context, and in headless runs the framebuffer pair it draws into.
struct sdlContextRecord {
  SDL_GLContext sdl = nullptr;
  platformWindow window = 0;
  glOffscreenBuffers buffers;
};

struct sdlVideoState {
  bool started = false;
  bool headless = false;
  bool glLoaded = false;
  std::string lastError;
  std::map<platformWindow, sdlWindowRecord> windows;
  std::map<platformGLContext, sdlContextRecord> contexts;
  platformWindow appWindow = 0;
  platformWindow dragWindow = 0;
  int32_t dragOffsetX = 0;
  int32_t dragOffsetY = 0;
  uint32_t injectEventType = 0;
  // Renderer answer: -1 not known yet, 0 software, 1 accelerated.
  int32_t rendererAccelerated = -1;
  int32_t acceleratedOverride = -1;
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
void SdlSendToWindow(platformWindow window, const platformWindowEvent& event);
void SdlSendToAllWindows(const platformWindowEvent& event);
// Deletes the context's framebuffers and the context (a window being destroyed takes its
// contexts with it).
void SdlDestroyContext(platformGLContext context);
// Deletes the context kept for the next one created, if any.
void SdlDeleteSpareContext();
