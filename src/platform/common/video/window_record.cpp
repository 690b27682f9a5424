#include "platform/common/video/window_record.h"

#include "platform/common/app_state.h"
#include "platform/common/polygon_winding.h"
#include "platform/common/video/native_video.h"
#include "platform/common/video/video_state.h"

void WindowRecordSend(platformWindow window, const platformWindowEvent& event) {
  windowRecord* record = BackendWindowRecord(window);
  if (record == nullptr || record->handler == nullptr) {
    return;
  }
  // The handler may change the window table; call through copies.
  platformWindowHandler handler = record->handler;
  void* context = record->handlerContext;
  handler(window, event, context);
}

bool PlatformWindowExists(platformWindow window) { return BackendWindowRecord(window) != nullptr; }

bool PlatformWindowIsVisible(platformWindow window) {
  windowRecord* record = BackendWindowRecord(window);
  return record != nullptr && record->visible;
}

std::string PlatformWindowCaption(platformWindow window) {
  windowRecord* record = BackendWindowRecord(window);
  return record != nullptr ? record->caption : std::string();
}

platformBorderStyle PlatformWindowBorder(platformWindow window) {
  windowRecord* record = BackendWindowRecord(window);
  return record != nullptr ? record->border : PLATFORM_BORDER_NONE;
}

bool PlatformWindowCursorVisible(platformWindow window) {
  windowRecord* record = BackendWindowRecord(window);
  return record == nullptr || record->cursorVisible;
}

bool PlatformWindowIsMinimized(platformWindow window) {
  windowRecord* record = BackendWindowRecord(window);
  return record != nullptr && record->minimized;
}

void PlatformWindowSetCaption(platformWindow window, const std::string& caption) {
  if (windowRecord* record = BackendWindowRecord(window)) {
    record->caption = caption;
    NativeWindowSetCaption(window, caption);
  }
}

void PlatformWindowShow(platformWindow window) {
  if (windowRecord* record = BackendWindowRecord(window)) {
    record->visible = true;
    NativeWindowShow(window);
  }
}

void PlatformWindowHide(platformWindow window) {
  if (windowRecord* record = BackendWindowRecord(window)) {
    record->visible = false;
    NativeWindowHide(window);
  }
}

void PlatformWindowSetBorder(platformWindow window, platformBorderStyle border) {
  if (windowRecord* record = BackendWindowRecord(window)) {
    record->border = border;
    NativeWindowApplyBorder(window);
  }
}

void PlatformWindowSetCursorVisible(platformWindow window, bool visible) {
  if (windowRecord* record = BackendWindowRecord(window)) {
    record->cursorVisible = visible;
    NativeWindowShowCursor(window, visible);
  }
}

void PlatformWindowSetPosition(platformWindow window, int32_t x, int32_t y) {
  windowRecord* record = BackendWindowRecord(window);
  if (record == nullptr) {
    return;
  }
  record->x = x;
  record->y = y;
  if (!VideoState().headless) {
    NativeWindowMove(window);
  }
}

void PlatformWindowMinimize(platformWindow window) {
  windowRecord* record = BackendWindowRecord(window);
  if (record == nullptr || record->minimized) {
    return;
  }
  if (VideoState().headless || !NativeWindowMinimize(window)) {
    PlatformHeadlessInjectWindowEvent(window, PLATFORM_EVENT_MINIMIZE);
  }
  record->minimized = true;
}

void PlatformWindowRestore(platformWindow window) {
  windowRecord* record = BackendWindowRecord(window);
  if (record == nullptr || !record->minimized) {
    return;
  }
  if (VideoState().headless || !NativeWindowRestore(window)) {
    PlatformHeadlessInjectWindowEvent(window, PLATFORM_EVENT_RESTORE);
  }
  record->minimized = false;
}

void PlatformWindowSetForeground(platformWindow window) {
  if (BackendWindowRecord(window) == nullptr) {
    return;
  }
  if (VideoState().headless) {
    AppState().headlessActive = true;
    return;
  }
  NativeWindowSetForeground(window);
}

void PlatformWindowSetHandler(platformWindow window, platformWindowHandler handler, void* context) {
  if (windowRecord* record = BackendWindowRecord(window)) {
    record->handler = handler;
    record->handlerContext = handler != nullptr ? context : nullptr;
  }
}

bool PlatformWindowShapeContains(platformWindow window, int32_t x, int32_t y) {
  windowRecord* record = BackendWindowRecord(window);
  if (record == nullptr) {
    return false;
  }
  return record->outline.empty() || PolygonWindingContains(record->outline, x + 0.5, y + 0.5);
}
