// The monitor queries and mode changes of the contract: virtual monitors are answered here,
// real ones by the backend.
#include "platform/common/video/monitor_modes.h"
#include "platform/common/video/native_video.h"
#include "platform/common/video/video_state.h"
#include "platform/common/virtual_monitors.h"

namespace {

bool ValidMonitor(int32_t monitor) {
  return VideoStart() && monitor >= 0 && monitor < MonitorModesCount();
}

}  // namespace

int32_t PlatformMonitorCount() { return VideoStart() ? MonitorModesCount() : 0; }

bool PlatformMonitorDeviceName(int32_t monitor, std::string& name) {
  if (!ValidMonitor(monitor)) {
    return false;
  }
  if (MonitorModesVirtual()) {
    name = VirtualMonitor(monitor)->deviceName;
    return true;
  }
  return NativeMonitorName(monitor, name);
}

bool PlatformMonitorEnumMode(int32_t monitor, int32_t modeNumber, platformDisplayMode& mode) {
  if (!ValidMonitor(monitor) || modeNumber < 0) {
    return false;
  }
  if (MonitorModesVirtual()) {
    return VirtualMonitorMode(monitor, modeNumber, mode);
  }
  return NativeMonitorMode(monitor, modeNumber, mode);
}

platformRect PlatformMonitorRect(int32_t monitor) {
  if (!ValidMonitor(monitor)) {
    return {};
  }
  if (MonitorModesVirtual()) {
    return VirtualMonitorRect(monitor);
  }
  return NativeMonitorRect(monitor);
}

bool PlatformMonitorIsPrimary(int32_t monitor) {
  if (!ValidMonitor(monitor)) {
    return false;
  }
  if (MonitorModesVirtual()) {
    return VirtualMonitor(monitor)->primary;
  }
  return NativeMonitorIsPrimary(monitor);
}

int32_t PlatformMonitorApplyMode(int32_t monitor, int32_t modeNumber,
                                 const platformDisplayMode& mode) {
  if (!VideoStart()) {
    ModeChangeRecord(monitor, modeNumber, mode, PLATFORM_DISP_CHANGE_BADPARAM);
    return PLATFORM_DISP_CHANGE_BADPARAM;
  }
  return MonitorModeApply(monitor, modeNumber, mode);
}

int32_t PlatformMonitorsRestoreDesktop() {
  return VideoStart() ? MonitorModesRestore() : PLATFORM_DISP_CHANGE_FAILED;
}
