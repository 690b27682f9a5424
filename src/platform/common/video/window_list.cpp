#include "platform/common/video/window_list.h"

#include <memory>
#include <vector>

#include "platform/common/app_state.h"
#include "platform/common/video/gl_contexts.h"
#include "platform/common/video/monitor_modes.h"
#include "platform/common/video/native_video.h"
#include "platform/common/video/video_state.h"
#include "platform/common/video/window_record.h"

namespace {

std::vector<platformWindow> WindowsWhere(bool (*test)(const windowRecord& record)) {
  std::vector<platformWindow> found;
  for (platformWindow window : RecordHandles(VideoState().windows)) {
    const windowRecord* record = BackendWindowRecord(window);
    if (record != nullptr && test(*record)) found.push_back(window);
  }
  return found;
}

}  // namespace

windowList& WindowList() {
  static windowList list;
  return list;
}

void PlatformWindowDestroy(platformWindow window) {
  if (BackendWindowRecord(window) == nullptr) {
    return;
  }
  GLContextsDestroyOf(window);
  WindowListForget(window);
  auto& windows = VideoState().windows;
  std::unique_ptr<windowRecord> record = std::move(windows[window]);
  windows.erase(window);
  NativeWindowDestroy(window, *record);
}

void WindowListForget(platformWindow window) {
  windowList& list = WindowList();
  if (list.dragWindow == window) {
    list.dragWindow = 0;
  }
  if (list.appWindow == window) {
    list.appWindow = 0;
  }
}

void PlatformVideoShutdown() {
  if (!VideoState().started) {
    return;
  }
  const auto& windows = VideoState().windows;
  while (!windows.empty()) {
    PlatformWindowDestroy(windows.begin()->first);
  }
  NativeVideoStop();
  VideoState() = videoState{};
  AppStateReset();
  WindowList() = windowList{};
  MonitorModesStop();
}

void WindowsSendToAll(const platformWindowEvent& event) {
  // A handler may destroy windows: the handles are taken first.
  for (platformWindow window : RecordHandles(VideoState().windows)) {
    NativeSendWindowEvent(window, event);
  }
}

void WindowsAskAllToClose() {
  platformWindowEvent close;
  close.kind = PLATFORM_EVENT_CLOSE;
  for (platformWindow window : RecordHandles(VideoState().windows)) {
    NativePostWindowEvent(window, close);
  }
}

void WindowStateEvent(platformWindow window, platformWindowEventKind kind) {
  platformWindowEvent event;
  event.kind = kind;
  if (kind == PLATFORM_EVENT_DISPLAY_CHANGE) {
    WindowsSendToAll(event);
    return;
  }
  windowRecord* record = BackendWindowRecord(window);
  if (record == nullptr) {
    return;
  }
  WindowApplyStateEvent(*record, kind);
  NativePostWindowEvent(window, event);
}

void WindowListFollowDrag() {
  windowList& list = WindowList();
  int32_t x = 0;
  int32_t y = 0;
  if (list.dragWindow == 0 || !NativeCursorPosition(x, y)) {
    return;
  }
  if (!NativeLeftButtonDown()) {
    list.dragWindow = 0;
    return;
  }
  PlatformWindowSetPosition(list.dragWindow, x - list.dragOffsetX, y - list.dragOffsetY);
}

bool WindowsAppActive() {
  if (AppState().headless) return AppState().headlessActive;
  return !WindowsWhere([](const windowRecord& record) { return record.focused; }).empty();
}

// Minimised while every shown window is minimised (and one is shown).
bool WindowsAppMinimized() {
  bool anyShown = false;
  for (platformWindow window : RecordHandles(VideoState().windows)) {
    const windowRecord* record = BackendWindowRecord(window);
    if (record != nullptr && record->visible) {
      anyShown = true;
      if (!record->minimized) return false;
    }
  }
  return anyShown;
}

void PlatformWindowBeginDrag(platformWindow window) {
  windowList& list = WindowList();
  int32_t x = 0;
  int32_t y = 0;
  if (BackendWindowRecord(window) == nullptr || VideoState().headless ||
      !NativeCursorPosition(x, y)) {
    return;
  }
  platformPoint position = PlatformWindowPosition(window);
  list.dragWindow = window;
  list.dragOffsetX = x - position.x;
  list.dragOffsetY = y - position.y;
}

platformWindow PlatformAppWindow() {
  windowList& list = WindowList();
  if (list.appWindow == 0 && VideoStart()) {
    platformWindowParams params;
    params.caption = "application";
    params.x = 0;
    params.y = 0;
    params.width = 64;
    params.height = 64;
    params.border = PLATFORM_BORDER_NONE;
    list.appWindow = PlatformWindowCreate(params);
  }
  return list.appWindow;
}

bool PlatformAppIsActive() { return VideoState().started && WindowsAppActive(); }

bool PlatformAppIsMinimized() { return VideoState().started && WindowsAppMinimized(); }

void PlatformAppMinimize() {
  for (platformWindow window :
       WindowsWhere([](const windowRecord& record) { return record.visible; })) {
    PlatformWindowMinimize(window);
  }
}

void PlatformAppRestore() {
  for (platformWindow window :
       WindowsWhere([](const windowRecord& record) { return record.minimized; })) {
    PlatformWindowRestore(window);
  }
}
