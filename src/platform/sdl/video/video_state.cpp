#include <cerrno>
#include <cfenv>
#include <cstdlib>

#include "platform/common/video/native_video.h"
#include "platform/sdl/video/sdl_video_state.h"

sdlVideoState& SdlVideo() {
  static sdlVideoState state;
  return state;
}

void SdlSetError(const std::string& text) {
  VideoState().lastError = text;
  // The framework reads the last system error after a failed call; give it one that fits.
  errno = EINVAL;
}

void NativeSetError(const std::string& text) { SdlSetError(text); }

bool NativeVideoStart(bool headless, int32_t& realMonitors) {
  sdlVideoState& state = SdlVideo();
  if (headless) {
    // Without a display SDL would try Wayland and X11 first and print noise.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    // Mesa's software rasteriser hands each frame to threads of its own and bins the next one
    // meanwhile: two frames of per-draw state alive at once, 45 MB more on the largest level.
    // Headless pictures are read back, never raced against a display, so they are drawn in
    // this thread. A value the user set is kept.
    setenv("LP_NUM_THREADS", "0", 0);
  }
  // SDL would hold the screen saver off for the whole run; the keep-awake pulse decides.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    SdlSetError(SDL_GetError());
    return false;
  }
  // The one pixel format the framework asks for: double buffer, 32-bit colour, 16-bit depth,
  // 1-bit stencil, on a compatibility context (immediate mode and display lists).
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 1);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  state.injectEventType = SDL_RegisterEvents(1);
  state.rendererAccelerated = -1;
  realMonitors = headless ? 0 : SDL_GetNumVideoDisplays();
  return true;
}

void NativeVideoStop() {
  sdlVideoState& state = SdlVideo();
  SdlDeleteSpareContext();
  if (state.glLoaded) {
    SDL_GL_UnloadLibrary();
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  state = sdlVideoState{};
}

std::string PlatformGLLibraryName() {
#if defined(_WIN32)
  return "opengl32.dll";
#else
  return "libGL.so.1";
#endif
}

bool PlatformGLLoadLibrary(const std::string& name) {
  sdlVideoState& state = SdlVideo();
  if (!VideoStart()) {
    return false;
  }
  if (state.glLoaded) {
    return true;
  }
  // SDL knows which library its driver needs (GLX or EGL underneath); the name only reports.
  (void)name;
  if (SDL_GL_LoadLibrary(nullptr) != 0) {
    SdlSetError(SDL_GetError());
    return false;
  }
  state.glLoaded = true;
  GLOffscreenLoadFunctions(SDL_GL_GetProcAddress);
  return true;
}

void* PlatformGLGetProcAddress(const std::string& name) {
  if (!PlatformGLLoadLibrary(PlatformGLLibraryName())) {
    return nullptr;
  }
  return SDL_GL_GetProcAddress(name.c_str());
}

void PlatformMaskFloatingPointExceptions() {
#if defined(__GLIBC__)
  fedisableexcept(FE_ALL_EXCEPT);
#endif
  fesetround(FE_TONEAREST);
#if defined(__i386__) || defined(__x86_64__)
  // The x87 control word the framework's drivers expect: every exception masked, 64-bit
  // extended precision, round to nearest.
  uint16_t controlWord = 0x133F;
  __asm__ volatile("fldcw %0" : : "m"(controlWord));
#endif
}
