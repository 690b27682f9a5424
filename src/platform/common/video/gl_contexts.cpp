#include "platform/common/video/gl_contexts.h"

#include <vector>

#include "platform/common/video/native_video.h"
#include "platform/common/video/video_state.h"

namespace {

int32_t acceleratedOverride = -1;

}  // namespace

bool GLContextDestroy(platformGLContext context) {
  contextRecord* record = BackendContextRecord(context);
  if (record == nullptr) {
    return false;
  }
  windowRecord* window = BackendWindowRecord(record->window);
  if (window != nullptr && window->context == context) {
    window->context = 0;
  }
  bool deleted = NativeDeleteContext(context);
  VideoState().contexts.erase(context);
  return deleted;
}

void GLContextsDestroyOf(platformWindow window) {
  std::vector<platformGLContext> owned;
  for (platformGLContext context : RecordHandles(VideoState().contexts)) {
    if (BackendContextRecord(context)->window == window) {
      owned.push_back(context);
    }
  }
  for (platformGLContext context : owned) {
    GLContextDestroy(context);
  }
}

bool PlatformGLDeleteContext(platformGLContext context) {
  if (!VideoState().started || BackendContextRecord(context) == nullptr) {
    NativeSetError("Invalid rendering context");
    return false;
  }
  return GLContextDestroy(context);
}

namespace {

// A headless window presents its back framebuffer: through the context current on it, else its
// own.
bool SwapOffscreen(windowRecord& window, platformGLContext current, bool currentOnWindow) {
  platformGLContext used = current;
  contextRecord* record = current != 0 ? BackendContextRecord(current) : nullptr;
  if (record == nullptr || !currentOnWindow) {
    used = window.context;
    record = BackendContextRecord(used);
  }
  if (record == nullptr) {
    NativeSetError("The window has no rendering context");
    return false;
  }
  GLOffscreenSwap(record->buffers, current == used);
  return true;
}

}  // namespace

bool PlatformGLMakeCurrent(platformDC dc, platformGLContext context) {
  const platformWindow handle = NativeWindowOfDC(dc);
  windowRecord* window = BackendWindowRecord(handle);
  if (window == nullptr) {
    NativeSetError("Invalid device context");
    return false;
  }
  if (context == 0) {
    return NativeMakeCurrent(handle, 0);
  }
  contextRecord* record = BackendContextRecord(context);
  if (record == nullptr) {
    NativeSetError("Invalid rendering context");
    return false;
  }
  if (!NativeMakeCurrent(handle, context)) {
    return false;
  }
  GLOffscreenBindBack(record->buffers, window->width, window->height);
  return true;
}

// Once someone reads a real window's pixels, each frame is copied as it is presented.
bool PlatformGLSwapBuffers(platformDC dc) {
  const platformWindow handle = NativeWindowOfDC(dc);
  windowRecord* window = BackendWindowRecord(handle);
  if (window == nullptr) {
    NativeSetError("Invalid device context");
    return false;
  }
  const bool currentOnWindow = NativeCurrentOnWindow(handle);
  if (VideoState().headless) {
    return SwapOffscreen(*window, NativeCurrentContext(), currentOnWindow);
  }
  if (window->keepPresented && currentOnWindow) {
    NativeDrawableSize(handle, window->presentedWidth, window->presentedHeight);
    GLReadPixelsTopDown(window->presentedWidth, window->presentedHeight, true, window->presented);
  }
  return NativeSwapWindow(handle);
}

bool PlatformWindowReadPixels(platformWindow window, int32_t& width, int32_t& height,
                              std::vector<uint32_t>& pixels) {
  windowRecord* record = BackendWindowRecord(window);
  if (record == nullptr) {
    return false;
  }
  platformRect client = PlatformWindowClientRect(window);
  width = client.width;
  height = client.height;
  // A window that never had a context shows black.
  if (BackendContextRecord(record->context) == nullptr || !NativeWindowHasSurface(window)) {
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
    return true;
  }
  return NativeWindowReadPresented(window, width, height, pixels);
}

int32_t GLAcceleratedOverride() { return acceleratedOverride; }

void PlatformHeadlessSetAccelerated(int32_t accelerated) {
  acceleratedOverride = accelerated < 0 ? -1 : (accelerated != 0 ? 1 : 0);
}
