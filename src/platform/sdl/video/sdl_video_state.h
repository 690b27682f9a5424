// State shared by the parts of the SDL video backend: window and context records, the virtual
// monitors of headless runs and the OpenGL functions the backend itself needs.
#pragma once

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

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

// Headless runs draw into framebuffer objects instead of the offscreen driver's single
// surface: two colour buffers give real double buffering (the front one is what the window
// shows) and they follow the window's size.
struct sdlContextRecord {
  SDL_GLContext sdl = nullptr;
  platformWindow window = 0;
  GLuint framebuffers[2] = {0, 0};
  GLuint colour[2] = {0, 0};
  GLuint depth[2] = {0, 0};
  int32_t width = 0;
  int32_t height = 0;
  int32_t back = 0;
  bool viewportSet = false;
};

struct sdlGLFunctions {
  PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
  PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
  PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
  void(APIENTRY* ReadPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*) = nullptr;
  void(APIENTRY* ReadBuffer)(GLenum) = nullptr;
  void(APIENTRY* PixelStorei)(GLenum, GLint) = nullptr;
  void(APIENTRY* Viewport)(GLint, GLint, GLsizei, GLsizei) = nullptr;
  void(APIENTRY* Flush)() = nullptr;
  void(APIENTRY* Finish)() = nullptr;
  void(APIENTRY* Clear)(GLbitfield) = nullptr;
  void(APIENTRY* GetIntegerv)(GLenum, GLint*) = nullptr;
  const GLubyte*(APIENTRY* GetString)(GLenum) = nullptr;
};

struct sdlVideoState {
  bool started = false;
  bool headless = false;
  bool glLoaded = false;
  std::string lastError;
  std::map<platformWindow, sdlWindowRecord> windows;
  std::map<platformGLContext, sdlContextRecord> contexts;
  platformWindow appWindow = 0;
  platformAppHandler appHandler = nullptr;
  void* appHandlerContext = nullptr;
  bool appActive = false;
  bool appMinimized = false;
  bool headlessActive = true;
  platformWindow dragWindow = 0;
  int32_t dragOffsetX = 0;
  int32_t dragOffsetY = 0;
  uint32_t injectEventType = 0;
  sdlGLFunctions gl;
  // Renderer answer: -1 not known yet, 0 software, 1 accelerated.
  int32_t rendererAccelerated = -1;
  int32_t acceleratedOverride = -1;
  // Monitors as counted at start; applied[m] is the mode number in use, -1 for the desktop.
  int32_t monitorCount = 0;
  std::vector<int32_t> applied;
  std::vector<platformModeChange> modeChanges;
  int32_t modeChangeResult = PLATFORM_DISP_CHANGE_SUCCESSFUL;
};

sdlVideoState& SdlVideo();
// Starts SDL video on first use (offscreen driver when headless). False when it cannot start.
bool SdlVideoStart();
sdlWindowRecord* SdlWindowRecord(platformWindow window);
void SdlSetError(const std::string& text);
void SdlLoadGLFunctions();

// The virtual monitors of headless runs (kept across restarts of the video part).
std::vector<platformVirtualMonitor>& SdlVirtualMonitors();
// Applies the mode the window's monitor is in to a fullscreen window (real windows only).
void SdlPlaceFullscreen(sdlWindowRecord& record);
// The monitor holding a screen point; the primary monitor when none does.
int32_t SdlMonitorAt(int32_t x, int32_t y);
void SdlSendToWindow(platformWindow window, const platformWindowEvent& event);
void SdlSendToAllWindows(const platformWindowEvent& event);
// Deletes the context's framebuffers and the context (a window being destroyed takes its
// contexts with it).
void SdlDestroyContext(platformGLContext context);
bool SdlPolygonContains(const std::vector<platformPoint>& outline, double x, double y);
