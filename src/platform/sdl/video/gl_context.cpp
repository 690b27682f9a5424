#include "platform/common/video/native_video.h"
#include "platform/sdl/video/sdl_video_state.h"

namespace {

// Which context and window are current, to put them back after the backend borrows a context.
struct currentBinding {
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  SDL_GLContext context = SDL_GL_GetCurrentContext();

  void Restore(SDL_Window* fallbackWindow) const {
    if (context != nullptr) {
      SDL_GL_MakeCurrent(window, context);
    } else {
      SDL_GL_MakeCurrent(fallbackWindow, nullptr);
    }
  }
};

sdlContextRecord* CurrentContextRecord() {
  SDL_GLContext current = SDL_GL_GetCurrentContext();
  return current != nullptr ? SdlContextRecord(reinterpret_cast<platformGLContext>(current))
                            : nullptr;
}

void NoteRenderer() {
  std::string renderer = GLRendererName();
  if (!renderer.empty()) {
    SdlVideo().rendererAccelerated = GLRendererIsSoftware(renderer) ? 0 : 1;
  }
}

// Without a context yet, a short-lived one on the application window tells what the
// renderer is.
bool RendererAccelerated() {
  sdlVideoState& state = SdlVideo();
  if (GLAcceleratedOverride() >= 0) {
    return GLAcceleratedOverride() == 1;
  }
  if (state.rendererAccelerated < 0) {
    platformWindow probe = PlatformAppWindow();
    sdlWindowRecord* record = SdlWindowRecord(probe);
    if (record != nullptr && PlatformGLLoadLibrary(PlatformGLLibraryName())) {
      currentBinding previous;
      if (SDL_GLContext context = SDL_GL_CreateContext(record->sdl)) {
        NoteRenderer();
        SDL_GL_DeleteContext(context);
      }
      previous.Restore(record->sdl);
    }
  }
  return state.rendererAccelerated == 1;
}

// The kept context made current on the window, as a new one would be; nothing when none is
// kept or it cannot draw there.
SDL_GLContext TakeSpare(SDL_Window* window) {
  sdlVideoState& state = SdlVideo();
  SDL_GLContext spare = state.spare;
  state.spare = nullptr;
  if (spare != nullptr && SDL_GL_MakeCurrent(window, spare) != 0) {
    SDL_GL_DeleteContext(spare);
    return nullptr;
  }
  return spare;
}

}  // namespace

platformDC PlatformGetDC(platformWindow window) {
  if (!VideoState().started || SdlWindowRecord(window) == nullptr) {
    SdlSetError("Invalid window handle");
    return 0;
  }
  return window;
}

int32_t PlatformReleaseDC(platformWindow window, platformDC dc) {
  return VideoState().started && dc == window && SdlWindowRecord(window) != nullptr ? 1 : 0;
}

int32_t PlatformDescribePixelFormat(platformDC dc, int32_t format, platformPixelFormat* out) {
  sdlWindowRecord* record = VideoState().started ? SdlWindowRecord(dc) : nullptr;
  if (record == nullptr || !record->opengl) {
    SdlSetError("Invalid device context");
    return 0;
  }
  if (out != nullptr && format == 1) {
    out->flags = PLATFORM_PF_DOUBLEBUFFER | PLATFORM_PF_DRAW_TO_WINDOW | PLATFORM_PF_SUPPORT_OPENGL;
    if (!RendererAccelerated()) {
      out->flags |= PLATFORM_PF_GENERIC_FORMAT;
    }
    out->colorBits = 32;
    out->depthBits = 24;
    out->stencilBits = 8;
  }
  return 1;
}

int32_t PlatformChoosePixelFormat(platformDC dc, const platformPixelFormat& wanted) {
  if (PlatformDescribePixelFormat(dc, 0, nullptr) == 0 ||
      (wanted.flags & PLATFORM_PF_SUPPORT_OPENGL) == 0) {
    return 0;
  }
  return 1;
}

bool PlatformSetPixelFormat(platformDC dc, int32_t format, const platformPixelFormat& wanted) {
  (void)wanted;
  if (PlatformDescribePixelFormat(dc, 0, nullptr) == 0 || format != 1) {
    SdlSetError("The pixel format is invalid");
    return false;
  }
  return true;
}

platformGLContext PlatformGLCreateContext(platformDC dc) {
  sdlWindowRecord* record = VideoState().started ? SdlWindowRecord(dc) : nullptr;
  if (record == nullptr || !PlatformGLLoadLibrary(PlatformGLLibraryName())) {
    SdlSetError(record == nullptr ? "Invalid device context" : VideoState().lastError);
    return 0;
  }
  currentBinding previous;
  SDL_GLContext created = TakeSpare(record->sdl);
  if (created == nullptr) {
    created = SDL_GL_CreateContext(record->sdl);
  }
  if (created == nullptr) {
    SdlSetError(SDL_GetError());
    return 0;
  }
  auto handle = reinterpret_cast<platformGLContext>(created);
  sdlContextRecord& context = AddRecord<sdlContextRecord>(VideoState().contexts, handle);
  context.sdl = created;
  context.window = dc;
  NoteRenderer();
  if (VideoState().headless && !GLOffscreenCreate(context.buffers, record->width, record->height)) {
    SdlSetError("OpenGL framebuffer objects are not available");
    VideoState().contexts.erase(handle);
    SDL_GL_DeleteContext(created);
    previous.Restore(record->sdl);
    return 0;
  }
  record->context = handle;
  // Creating a context does not make it current on the system the framework was written for.
  previous.Restore(record->sdl);
  return handle;
}

bool NativeMakeCurrent(platformWindow window, platformGLContext context) {
  SDL_Window* sdl = SdlWindowRecord(window)->sdl;
  if (context == 0) {
    return SDL_GL_MakeCurrent(sdl, nullptr) == 0;
  }
  if (SDL_GL_MakeCurrent(sdl, SdlContextRecord(context)->sdl) != 0) {
    SdlSetError(SDL_GetError());
    return false;
  }
  return true;
}

bool NativeDeleteContext(platformGLContext handle) {
  sdlVideoState& state = SdlVideo();
  sdlContextRecord* context = SdlContextRecord(handle);
  sdlWindowRecord* window = SdlWindowRecord(context->window);
  if (context->buffers.framebuffers[0] != 0 && window != nullptr) {
    currentBinding previous;
    if (SDL_GL_MakeCurrent(window->sdl, context->sdl) == 0) {
      GLOffscreenDelete(context->buffers);
    }
    if (previous.context != context->sdl) {
      previous.Restore(window->sdl);
    }
  }
  if (state.keepNextDeleted && VideoState().headless && state.spare == nullptr) {
    if (SDL_GL_GetCurrentContext() == context->sdl) {
      SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
    }
    state.spare = context->sdl;
  } else {
    SDL_GL_DeleteContext(context->sdl);
  }
  state.keepNextDeleted = false;
  return true;
}

void PlatformGLKeepNextDeletedContext() { SdlVideo().keepNextDeleted = true; }

void SdlDeleteSpareContext() {
  sdlVideoState& state = SdlVideo();
  if (state.spare != nullptr) {
    SDL_GL_DeleteContext(state.spare);
    state.spare = nullptr;
  }
}

// A device context is the window's own handle.
platformWindow NativeWindowOfDC(platformDC dc) {
  return VideoState().started && SdlWindowRecord(dc) != nullptr ? dc : 0;
}

platformGLContext NativeCurrentContext() {
  return reinterpret_cast<platformGLContext>(SDL_GL_GetCurrentContext());
}

bool NativeCurrentOnWindow(platformWindow window) {
  return SDL_GL_GetCurrentWindow() == SdlWindowRecord(window)->sdl;
}

void NativeDrawableSize(platformWindow window, int32_t& width, int32_t& height) {
  SDL_GL_GetDrawableSize(SdlWindowRecord(window)->sdl, &width, &height);
}

bool NativeSwapWindow(platformWindow window) {
  SDL_GL_SwapWindow(SdlWindowRecord(window)->sdl);
  return true;
}

bool PlatformGLReadBackBuffer(int32_t& width, int32_t& height, std::vector<uint32_t>& pixels) {
  width = 0;
  height = 0;
  pixels.clear();
  if (!VideoState().started || SDL_GL_GetCurrentContext() == nullptr) {
    return false;
  }
  if (VideoState().headless) {
    sdlContextRecord* context = CurrentContextRecord();
    if (context == nullptr) {
      return false;
    }
    width = context->buffers.width;
    height = context->buffers.height;
    GLReadPixelsTopDown(width, height, false, pixels);
  } else {
    SDL_GL_GetDrawableSize(SDL_GL_GetCurrentWindow(), &width, &height);
    GLReadPixelsTopDown(width, height, true, pixels);
  }
  return true;
}

// SDL draws through the window itself.
bool NativeWindowHasSurface(platformWindow) { return true; }

bool NativeWindowReadPresented(platformWindow window, int32_t& width, int32_t& height,
                               std::vector<uint32_t>& pixels) {
  sdlWindowRecord* record = SdlWindowRecord(window);
  sdlContextRecord* context = SdlContextRecord(record->context);
  currentBinding previous;
  if (SDL_GL_MakeCurrent(record->sdl, context->sdl) != 0) {
    previous.Restore(record->sdl);
    return false;
  }
  int32_t drawableWidth = width;
  int32_t drawableHeight = height;
  if (!VideoState().headless) {
    SDL_GL_GetDrawableSize(record->sdl, &drawableWidth, &drawableHeight);
  }
  GLWindowReadPresented(*record, VideoState().headless ? &context->buffers : nullptr, drawableWidth,
                        drawableHeight, width, height, pixels);
  previous.Restore(record->sdl);
  return true;
}
