// What every backend keeps about an OpenGL context, and the context bookkeeping both did alike:
// a window's contexts going with it, deleting one, the headless swap and read-back, and the
// renderer answer a test may set.
#pragma once

#include <cstdint>
#include <string>

#include "platform/common/gl_offscreen.h"
#include "platform/common/video/window_record.h"
#include "platform/platform_video.h"

struct contextRecord {
  virtual ~contextRecord() = default;

  platformWindow window = 0;   // the window it was created on
  glOffscreenBuffers buffers;  // headless runs only
};

// The record of the context (the backend's type); nullptr when there is none.
contextRecord* BackendContextRecord(platformGLContext context);

// Deletes the context and drops its record; false when there was none or the system refused (the
// record goes either way).
bool GLContextDestroy(platformGLContext context);
// The window is being destroyed: its contexts go first.
void GLContextsDestroyOf(platformWindow window);
// -1 when the renderer decides whether pixel formats are accelerated, else 0 or 1 as a test set
// it (kept across video restarts).
int32_t GLAcceleratedOverride();
