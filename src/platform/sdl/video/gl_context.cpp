#include <cstring>

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

sdlContextRecord* ContextRecord(platformGLContext context) {
  auto& contexts = SdlVideo().contexts;
  auto found = contexts.find(context);
  return found == contexts.end() ? nullptr : &found->second;
}

sdlContextRecord* CurrentContextRecord() {
  SDL_GLContext current = SDL_GL_GetCurrentContext();
  return current != nullptr ? ContextRecord(reinterpret_cast<platformGLContext>(current)) : nullptr;
}

bool IsSoftwareRenderer(const GLubyte* renderer) {
  if (renderer == nullptr) {
    return false;
  }
  std::string name(reinterpret_cast<const char*>(renderer));
  for (const char* software : {"llvmpipe", "softpipe", "Software", "swrast", "GDI Generic"}) {
    if (name.find(software) != std::string::npos) {
      return true;
    }
  }
  return false;
}

void NoteRenderer() {
  sdlVideoState& state = SdlVideo();
  if (state.gl.GetString != nullptr) {
    state.rendererAccelerated = IsSoftwareRenderer(state.gl.GetString(GL_RENDERER)) ? 0 : 1;
  }
}

// Without a context yet, a short-lived one on the application window tells what the
// renderer is.
bool RendererAccelerated() {
  sdlVideoState& state = SdlVideo();
  if (state.acceleratedOverride >= 0) {
    return state.acceleratedOverride == 1;
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

void SizeFramebuffers(sdlContextRecord& context, int32_t width, int32_t height) {
  sdlGLFunctions& f = SdlVideo().gl;
  for (int i = 0; i < 2; ++i) {
    f.BindRenderbuffer(GL_RENDERBUFFER, context.colour[i]);
    f.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    f.BindRenderbuffer(GL_RENDERBUFFER, context.depth[i]);
    f.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  }
  f.BindRenderbuffer(GL_RENDERBUFFER, 0);
  context.width = width;
  context.height = height;
}

// The context is current. Creates its two framebuffers, cleared to black.
bool CreateFramebuffers(sdlContextRecord& context, int32_t width, int32_t height) {
  sdlGLFunctions& f = SdlVideo().gl;
  if (f.GenFramebuffers == nullptr || f.GenRenderbuffers == nullptr) {
    SdlSetError("OpenGL framebuffer objects are not available");
    return false;
  }
  f.GenFramebuffers(2, context.framebuffers);
  f.GenRenderbuffers(2, context.colour);
  f.GenRenderbuffers(2, context.depth);
  SizeFramebuffers(context, width, height);
  for (int i = 0; i < 2; ++i) {
    f.BindFramebuffer(GL_FRAMEBUFFER, context.framebuffers[i]);
    f.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, context.colour[i]);
    f.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              context.depth[i]);
    f.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  }
  context.back = 0;
  f.BindFramebuffer(GL_FRAMEBUFFER, context.framebuffers[context.back]);
  return true;
}

// The context has just been made current on the window: draw into its back framebuffer, of
// the window's size. The first time, the viewport covers the window, as a new context's does.
void BindBackBuffer(sdlContextRecord& context, const sdlWindowRecord& window) {
  sdlGLFunctions& f = SdlVideo().gl;
  if (context.framebuffers[0] == 0) {
    return;
  }
  if (context.width != window.width || context.height != window.height) {
    SizeFramebuffers(context, window.width, window.height);
  }
  f.BindFramebuffer(GL_FRAMEBUFFER, context.framebuffers[context.back]);
  if (!context.viewportSet) {
    f.Viewport(0, 0, window.width, window.height);
    context.viewportSet = true;
  }
}

// Reads the bound read buffer's pixels as 0xAARRGGBB, top row first.
void ReadPixels(int32_t width, int32_t height, std::vector<uint32_t>& pixels) {
  sdlGLFunctions& f = SdlVideo().gl;
  pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  if (width <= 0 || height <= 0) {
    return;
  }
  GLint alignment = 4;
  f.GetIntegerv(GL_PACK_ALIGNMENT, &alignment);
  f.PixelStorei(GL_PACK_ALIGNMENT, 4);
  std::vector<uint32_t> rows(pixels.size());
  f.ReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
  f.PixelStorei(GL_PACK_ALIGNMENT, alignment);
  for (int32_t y = 0; y < height; ++y) {
    std::memcpy(&pixels[static_cast<size_t>(y) * width], &rows[static_cast<size_t>(height - 1 - y) * width],
                static_cast<size_t>(width) * sizeof(uint32_t));
  }
}

}  // namespace

platformDC PlatformGetDC(platformWindow window) {
  if (!SdlVideo().started || SdlWindowRecord(window) == nullptr) {
    SdlSetError("Invalid window handle");
    return 0;
  }
  return window;
}

int32_t PlatformReleaseDC(platformWindow window, platformDC dc) {
  return SdlVideo().started && dc == window && SdlWindowRecord(window) != nullptr ? 1 : 0;
}

int32_t PlatformDescribePixelFormat(platformDC dc, int32_t format, platformPixelFormat* out) {
  sdlWindowRecord* record = SdlVideo().started ? SdlWindowRecord(dc) : nullptr;
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
  if (PlatformDescribePixelFormat(dc, 0, nullptr) == 0 || (wanted.flags & PLATFORM_PF_SUPPORT_OPENGL) == 0) {
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
  sdlVideoState& state = SdlVideo();
  sdlWindowRecord* record = state.started ? SdlWindowRecord(dc) : nullptr;
  if (record == nullptr || !PlatformGLLoadLibrary(PlatformGLLibraryName())) {
    SdlSetError(record == nullptr ? "Invalid device context" : state.lastError);
    return 0;
  }
  currentBinding previous;
  SDL_GLContext created = SDL_GL_CreateContext(record->sdl);
  if (created == nullptr) {
    SdlSetError(SDL_GetError());
    return 0;
  }
  auto handle = reinterpret_cast<platformGLContext>(created);
  sdlContextRecord& context = state.contexts[handle];
  context.sdl = created;
  context.window = dc;
  NoteRenderer();
  if (state.headless && !CreateFramebuffers(context, record->width, record->height)) {
    state.contexts.erase(handle);
    SDL_GL_DeleteContext(created);
    previous.Restore(record->sdl);
    return 0;
  }
  record->context = handle;
  // Creating a context does not make it current on the system the framework was written for.
  previous.Restore(record->sdl);
  return handle;
}

bool PlatformGLMakeCurrent(platformDC dc, platformGLContext context) {
  sdlWindowRecord* window = SdlVideo().started ? SdlWindowRecord(dc) : nullptr;
  if (window == nullptr) {
    SdlSetError("Invalid device context");
    return false;
  }
  if (context == 0) {
    return SDL_GL_MakeCurrent(window->sdl, nullptr) == 0;
  }
  sdlContextRecord* record = ContextRecord(context);
  if (record == nullptr) {
    SdlSetError("Invalid rendering context");
    return false;
  }
  if (SDL_GL_MakeCurrent(window->sdl, record->sdl) != 0) {
    SdlSetError(SDL_GetError());
    return false;
  }
  BindBackBuffer(*record, *window);
  return true;
}

void SdlDestroyContext(platformGLContext handle) {
  sdlVideoState& state = SdlVideo();
  sdlContextRecord* context = ContextRecord(handle);
  if (context == nullptr) {
    return;
  }
  sdlWindowRecord* window = SdlWindowRecord(context->window);
  if (context->framebuffers[0] != 0 && window != nullptr) {
    currentBinding previous;
    if (SDL_GL_MakeCurrent(window->sdl, context->sdl) == 0) {
      state.gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
      state.gl.DeleteFramebuffers(2, context->framebuffers);
      state.gl.DeleteRenderbuffers(2, context->colour);
      state.gl.DeleteRenderbuffers(2, context->depth);
    }
    if (previous.context != context->sdl) {
      previous.Restore(window->sdl);
    }
  }
  SDL_GL_DeleteContext(context->sdl);
  if (window != nullptr && window->context == handle) {
    window->context = 0;
  }
  state.contexts.erase(handle);
}

bool PlatformGLDeleteContext(platformGLContext context) {
  if (!SdlVideo().started || ContextRecord(context) == nullptr) {
    SdlSetError("Invalid rendering context");
    return false;
  }
  SdlDestroyContext(context);
  return true;
}

bool PlatformGLSwapBuffers(platformDC dc) {
  sdlVideoState& state = SdlVideo();
  sdlWindowRecord* window = state.started ? SdlWindowRecord(dc) : nullptr;
  if (window == nullptr) {
    SdlSetError("Invalid device context");
    return false;
  }
  if (!state.headless) {
    if (window->keepPresented && SDL_GL_GetCurrentWindow() == window->sdl) {
      SDL_GL_GetDrawableSize(window->sdl, &window->presentedWidth, &window->presentedHeight);
      state.gl.ReadBuffer(GL_BACK);
      ReadPixels(window->presentedWidth, window->presentedHeight, window->presented);
    }
    SDL_GL_SwapWindow(window->sdl);
    return true;
  }
  sdlContextRecord* context = CurrentContextRecord();
  if (context == nullptr || SDL_GL_GetCurrentWindow() != window->sdl) {
    context = ContextRecord(window->context);
  }
  if (context == nullptr) {
    SdlSetError("The window has no rendering context");
    return false;
  }
  bool current = SDL_GL_GetCurrentContext() == context->sdl;
  if (current) {
    // A window's swap waits until its picture is drawn; a flush alone would let a software
    // renderer queue frame after frame, each holding its own copy of the scene (over 1 GB).
    state.gl.Finish();
  }
  context->back = 1 - context->back;
  if (current) {
    state.gl.BindFramebuffer(GL_FRAMEBUFFER, context->framebuffers[context->back]);
  }
  return true;
}

bool PlatformGLReadBackBuffer(int32_t& width, int32_t& height, std::vector<uint32_t>& pixels) {
  sdlVideoState& state = SdlVideo();
  width = 0;
  height = 0;
  pixels.clear();
  if (!state.started || SDL_GL_GetCurrentContext() == nullptr) {
    return false;
  }
  if (state.headless) {
    sdlContextRecord* context = CurrentContextRecord();
    if (context == nullptr) {
      return false;
    }
    width = context->width;
    height = context->height;
  } else {
    SDL_GL_GetDrawableSize(SDL_GL_GetCurrentWindow(), &width, &height);
    state.gl.ReadBuffer(GL_BACK);
  }
  ReadPixels(width, height, pixels);
  return true;
}

bool PlatformWindowReadPixels(platformWindow window, int32_t& width, int32_t& height,
                              std::vector<uint32_t>& pixels) {
  sdlVideoState& state = SdlVideo();
  sdlWindowRecord* record = state.started ? SdlWindowRecord(window) : nullptr;
  if (record == nullptr) {
    return false;
  }
  platformRect client = PlatformWindowClientRect(window);
  width = client.width;
  height = client.height;
  sdlContextRecord* context = ContextRecord(record->context);
  if (context == nullptr) {
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
    return true;
  }
  currentBinding previous;
  if (SDL_GL_MakeCurrent(record->sdl, context->sdl) != 0) {
    previous.Restore(record->sdl);
    return false;
  }
  if (state.headless) {
    width = context->width;
    height = context->height;
    state.gl.BindFramebuffer(GL_FRAMEBUFFER, context->framebuffers[1 - context->back]);
    ReadPixels(width, height, pixels);
    state.gl.BindFramebuffer(GL_FRAMEBUFFER, context->framebuffers[context->back]);
  } else if (record->keepPresented && record->presentedWidth == width && record->presentedHeight == height) {
    pixels = record->presented;
  } else {
    // Before the first copy, the back buffer still holds the last frame on swap-by-copy
    // systems (Mesa on X11); it is the best guess there is.
    record->keepPresented = true;
    SDL_GL_GetDrawableSize(record->sdl, &width, &height);
    state.gl.ReadBuffer(GL_BACK);
    ReadPixels(width, height, pixels);
  }
  previous.Restore(record->sdl);
  return true;
}

void PlatformHeadlessSetAccelerated(int32_t accelerated) {
  SdlVideo().acceleratedOverride = accelerated < 0 ? -1 : (accelerated != 0 ? 1 : 0);
}
