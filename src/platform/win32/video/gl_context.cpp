#include "platform/common/video/native_video.h"
#include "platform/win32/video/win32_video_state.h"

namespace {

// Which context and device context are current, to put them back after the backend borrows
// a context.
struct currentBinding {
  HDC dc = wglGetCurrentDC();
  HGLRC context = wglGetCurrentContext();

  void Restore() const { wglMakeCurrent(context != nullptr ? dc : nullptr, context); }
};

win32ContextRecord* CurrentContextRecord() {
  HGLRC current = wglGetCurrentContext();
  return current != nullptr ? Win32ContextRecord(reinterpret_cast<platformGLContext>(current))
                            : nullptr;
}

// The window whose own device context this is.
win32WindowRecord* WindowOfDC(platformDC dc) {
  if (!VideoState().started || dc == 0) {
    return nullptr;
  }
  for (auto& [handle, record] : VideoState().windows) {
    auto& window = static_cast<win32WindowRecord&>(*record);
    if (reinterpret_cast<platformDC>(window.dc) == dc) {
      return &window;
    }
  }
  return nullptr;
}

HDC Hdc(platformDC dc) { return reinterpret_cast<HDC>(dc); }

void* LoadEntryPoint(const char* name) { return PlatformGLGetProcAddress(name); }

// The backend's own OpenGL functions, looked up once a context is current (wglGetProcAddress
// answers only then).
void LoadFunctions() {
  if (!GLOffscreenFunctionsLoaded()) {
    GLOffscreenLoadFunctions(LoadEntryPoint);
  }
}

PIXELFORMATDESCRIPTOR Descriptor(const platformPixelFormat& wanted) {
  PIXELFORMATDESCRIPTOR descriptor{};
  descriptor.nSize = sizeof(descriptor);
  descriptor.nVersion = 1;
  descriptor.dwFlags = wanted.flags;
  descriptor.iPixelType = PFD_TYPE_RGBA;
  descriptor.cColorBits = static_cast<BYTE>(wanted.colorBits);
  descriptor.cDepthBits = static_cast<BYTE>(wanted.depthBits);
  descriptor.cStencilBits = static_cast<BYTE>(wanted.stencilBits);
  descriptor.iLayerType = PFD_MAIN_PLANE;
  return descriptor;
}

}  // namespace

platformDC PlatformGetDC(platformWindow window) {
  win32WindowRecord* record = VideoState().started ? Win32WindowRecord(window) : nullptr;
  if (record == nullptr) {
    Win32SetError("Invalid window handle", ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (record->dc == nullptr) {
    record->dc = GetDC(record->hwnd);
    if (record->dc == nullptr) {
      Win32SetSystemError("GetDC");
      return 0;
    }
  }
  return reinterpret_cast<platformDC>(record->dc);
}

int32_t PlatformReleaseDC(platformWindow window, platformDC dc) {
  win32WindowRecord* record = VideoState().started ? Win32WindowRecord(window) : nullptr;
  if (record == nullptr || reinterpret_cast<platformDC>(record->dc) != dc) {
    return 0;
  }
  // The window's own device context stays with the window; releasing it changes nothing.
  return ReleaseDC(record->hwnd, Hdc(dc));
}

int32_t PlatformDescribePixelFormat(platformDC dc, int32_t format, platformPixelFormat* out) {
  if (WindowOfDC(dc) == nullptr) {
    Win32SetError("Invalid device context");
    return 0;
  }
  PIXELFORMATDESCRIPTOR descriptor{};
  int count =
      DescribePixelFormat(Hdc(dc), format > 0 ? format : 1, sizeof(descriptor), &descriptor);
  if (count == 0) {
    Win32SetSystemError("DescribePixelFormat");
    return 0;
  }
  if (out != nullptr && format >= 1 && format <= count) {
    out->flags = descriptor.dwFlags & (PLATFORM_PF_DOUBLEBUFFER | PLATFORM_PF_DRAW_TO_WINDOW |
                                       PLATFORM_PF_SUPPORT_OPENGL | PLATFORM_PF_GENERIC_FORMAT);
    int32_t accelerated = GLAcceleratedOverride();
    if (accelerated == 1) {
      out->flags &= ~PLATFORM_PF_GENERIC_FORMAT;
    } else if (accelerated == 0) {
      out->flags |= PLATFORM_PF_GENERIC_FORMAT;
    }
    out->colorBits = descriptor.cColorBits;
    out->depthBits = descriptor.cDepthBits;
    out->stencilBits = descriptor.cStencilBits;
  }
  return count;
}

int32_t PlatformChoosePixelFormat(platformDC dc, const platformPixelFormat& wanted) {
  if (WindowOfDC(dc) == nullptr) {
    Win32SetError("Invalid device context");
    return 0;
  }
  PIXELFORMATDESCRIPTOR descriptor = Descriptor(wanted);
  int format = ChoosePixelFormat(Hdc(dc), &descriptor);
  if (format == 0) {
    Win32SetSystemError("ChoosePixelFormat");
  }
  return format;
}

bool PlatformSetPixelFormat(platformDC dc, int32_t format, const platformPixelFormat& wanted) {
  if (WindowOfDC(dc) == nullptr) {
    Win32SetError("Invalid device context");
    return false;
  }
  PIXELFORMATDESCRIPTOR descriptor = Descriptor(wanted);
  if (!SetPixelFormat(Hdc(dc), format, &descriptor)) {
    Win32SetSystemError("SetPixelFormat");
    return false;
  }
  return true;
}

platformGLContext PlatformGLCreateContext(platformDC dc) {
  win32WindowRecord* window = WindowOfDC(dc);
  if (window == nullptr || !PlatformGLLoadLibrary(PlatformGLLibraryName())) {
    if (window == nullptr) Win32SetError("Invalid device context");
    return 0;
  }
  HGLRC created = wglCreateContext(Hdc(dc));
  if (created == nullptr) {
    Win32SetSystemError("wglCreateContext");
    return 0;
  }
  auto handle = reinterpret_cast<platformGLContext>(created);
  win32ContextRecord& context = AddRecord<win32ContextRecord>(VideoState().contexts, handle);
  context.glrc = created;
  context.window = reinterpret_cast<platformWindow>(window->hwnd);
  if (VideoState().headless) {
    currentBinding previous;
    bool made = wglMakeCurrent(Hdc(dc), created) != 0;
    if (made) {
      LoadFunctions();
    }
    bool buffers = made && GLOffscreenCreate(context.buffers, window->width, window->height);
    previous.Restore();
    if (!buffers) {
      Win32SetError("OpenGL framebuffer objects are not available", ERROR_NOT_SUPPORTED);
      VideoState().contexts.erase(handle);
      wglDeleteContext(created);
      return 0;
    }
  }
  window->context = handle;
  return handle;
}

bool NativeMakeCurrent(platformWindow window, platformGLContext context) {
  if (context == 0) {
    // Nothing current is already what was asked for (Wine refuses to release nothing).
    return wglGetCurrentContext() == nullptr || wglMakeCurrent(nullptr, nullptr) != 0;
  }
  if (!wglMakeCurrent(Win32WindowRecord(window)->dc, Win32ContextRecord(context)->glrc)) {
    Win32SetSystemError("wglMakeCurrent");
    return false;
  }
  LoadFunctions();
  return true;
}

bool NativeDeleteContext(platformGLContext handle) {
  win32ContextRecord* context = Win32ContextRecord(handle);
  win32WindowRecord* window = Win32WindowRecord(context->window);
  if (context->buffers.framebuffers[0] != 0 && window != nullptr && window->dc != nullptr) {
    currentBinding previous;
    if (wglMakeCurrent(window->dc, context->glrc)) {
      GLOffscreenDelete(context->buffers);
    }
    if (previous.context != context->glrc) {
      previous.Restore();
    }
  }
  if (wglGetCurrentContext() == context->glrc) {
    wglMakeCurrent(nullptr, nullptr);
  }
  // The record goes either way: a context the system refuses to delete is no use to anyone.
  const bool deleted = wglDeleteContext(context->glrc) != FALSE;
  if (!deleted) {
    Win32SetSystemError("wglDeleteContext");
  }
  return deleted;
}

// Contexts are always made anew here.
void PlatformGLKeepNextDeletedContext() {}

platformWindow NativeWindowOfDC(platformDC dc) {
  win32WindowRecord* window = WindowOfDC(dc);
  return window != nullptr ? reinterpret_cast<platformWindow>(window->hwnd) : 0;
}

platformGLContext NativeCurrentContext() {
  return reinterpret_cast<platformGLContext>(wglGetCurrentContext());
}

bool NativeCurrentOnWindow(platformWindow window) {
  return wglGetCurrentDC() == Win32WindowRecord(window)->dc;
}

void NativeDrawableSize(platformWindow window, int32_t& width, int32_t& height) {
  RECT client{};
  GetClientRect(Win32WindowRecord(window)->hwnd, &client);
  width = client.right;
  height = client.bottom;
}

bool NativeSwapWindow(platformWindow window) {
  if (!SwapBuffers(Win32WindowRecord(window)->dc)) {
    Win32SetSystemError("SwapBuffers");
    return false;
  }
  return true;
}

bool PlatformGLReadBackBuffer(int32_t& width, int32_t& height, std::vector<uint32_t>& pixels) {
  width = 0;
  height = 0;
  pixels.clear();
  win32ContextRecord* context = VideoState().started ? CurrentContextRecord() : nullptr;
  if (context == nullptr) {
    return false;
  }
  if (VideoState().headless) {
    width = context->buffers.width;
    height = context->buffers.height;
    GLReadPixelsTopDown(width, height, false, pixels);
    return true;
  }
  RECT client{};
  GetClientRect(WindowFromDC(wglGetCurrentDC()), &client);
  width = client.right;
  height = client.bottom;
  GLReadPixelsTopDown(width, height, true, pixels);
  return true;
}

bool NativeWindowHasSurface(platformWindow window) {
  return Win32WindowRecord(window)->dc != nullptr;
}

bool NativeWindowReadPresented(platformWindow window, int32_t& width, int32_t& height,
                               std::vector<uint32_t>& pixels) {
  win32WindowRecord* record = Win32WindowRecord(window);
  win32ContextRecord* context = Win32ContextRecord(record->context);
  currentBinding previous;
  if (!wglMakeCurrent(record->dc, context->glrc)) {
    previous.Restore();
    return false;
  }
  GLWindowReadPresented(*record, VideoState().headless ? &context->buffers : nullptr, width, height,
                        width, height, pixels);
  previous.Restore();
  return true;
}
