// What every backend keeps about a window, and the contract calls that only read or set it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform_video.h"

struct windowRecord {
  // Backends keep their own kind of record, derived from this one, in the shared list.
  virtual ~windowRecord() = default;

  bool visible = false;
  bool minimized = false;
  bool focused = false;
  bool cursorVisible = true;
  platformBorderStyle border = PLATFORM_BORDER_DIALOG;
  std::string caption;
  // Geometry as last set: the window's top-left corner and its client size. Headless runs
  // answer from it since no window system moves their windows.
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

// The record of the window while the video part runs (the backend's type); nullptr otherwise.
windowRecord* BackendWindowRecord(platformWindow window);
// Hands the event to the window's handler, if it has one.
void WindowRecordSend(platformWindow window, const platformWindowEvent& event);
