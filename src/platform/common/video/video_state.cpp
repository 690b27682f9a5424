#include "platform/common/video/video_state.h"

#include "platform/common/app_state.h"
#include "platform/common/app_window_source.h"
#include "platform/common/video/monitor_modes.h"
#include "platform/common/video/native_video.h"
#include "platform/platform_system.h"

videoState& VideoState() {
  static videoState state;
  return state;
}

bool VideoStart() {
  videoState& state = VideoState();
  if (state.started) {
    return true;
  }
  state.headless = PlatformHeadless();
  int32_t realMonitors = 0;
  if (!NativeVideoStart(state.headless, realMonitors)) {
    return false;
  }
  state.started = true;
  AppWindowSourceSet(PlatformAppWindow);
  AppStateStart(state.headless);
  MonitorModesStart(state.headless, realMonitors);
  return true;
}

std::string PlatformLastVideoError() { return VideoState().lastError; }

windowRecord* BackendWindowRecord(platformWindow window) {
  videoState& state = VideoState();
  return state.started ? RecordAs<windowRecord>(state.windows, window) : nullptr;
}

contextRecord* BackendContextRecord(platformGLContext context) {
  return RecordAs<contextRecord>(VideoState().contexts, context);
}
