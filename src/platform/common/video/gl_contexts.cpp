#include "platform/common/video/gl_contexts.h"

#include <vector>

#include "platform/common/video/native_video.h"

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
  return NativeDeleteContext(context);
}

void GLContextsDestroyOf(platformWindow window) {
  std::vector<platformGLContext> owned;
  for (platformGLContext context : NativeContextHandles()) {
    if (BackendContextRecord(context)->window == window) {
      owned.push_back(context);
    }
  }
  for (platformGLContext context : owned) {
    GLContextDestroy(context);
  }
}

bool PlatformGLDeleteContext(platformGLContext context) {
  if (!NativeVideoStarted() || BackendContextRecord(context) == nullptr) {
    NativeSetError("Invalid rendering context");
    return false;
  }
  return GLContextDestroy(context);
}

bool GLContextSwapOffscreen(windowRecord& window, platformGLContext current, bool currentOnWindow) {
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

int32_t GLAcceleratedOverride() { return acceleratedOverride; }

void PlatformHeadlessSetAccelerated(int32_t accelerated) {
  acceleratedOverride = accelerated < 0 ? -1 : (accelerated != 0 ? 1 : 0);
}
