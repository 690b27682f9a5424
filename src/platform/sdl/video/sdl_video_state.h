// State shared by the parts of the SDL video backend: window and context records.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/common/gl_offscreen.h"
#include "platform/platform_video.h"

struct sdlWindowRecord {
  SDL_Window* sdl = nullptr;
  bool opengl = false;
  bool visible = false;
  bool minimized = false;
  bool focused = false;
  bool cursorVisible = true;
  platformBorderStyle border = PLATFORM_BORDER_DIALOG;
  std::string caption;
  // Geometry as last set; headless runs answer from it since no window system moves windows.
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<platformPoint> outline;
  platformWindowHandler handler = nullptr;
  void* handlerContext = nullptr;
  platformGLContext context = 0;  // the context created on the window last
  // Window systems do not reliably give back a presented frame, so once someone reads a
  // window's pixels its frames are copied as they are presented.
  bool keepPresented = false;
  int32_t presentedWidth = 0;
  int32_t presentedHeight = 0;
  std::vector<uint32_t> presented;
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
