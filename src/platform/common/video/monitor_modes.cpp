#include "platform/common/video/monitor_modes.h"

#include <vector>

#include "platform/common/video/native_video.h"
#include "platform/common/video/window_list.h"
#include "platform/common/virtual_monitors.h"

namespace {

bool started = false;
bool virtualInUse = false;
int32_t count = 0;
std::vector<int32_t> applied;

bool InRange(int32_t monitor) { return monitor >= 0 && monitor < count; }

// Every window's handler hears at once that the desktop changed.
void NotifyDisplayChange() {
  platformWindowEvent event;
  event.kind = PLATFORM_EVENT_DISPLAY_CHANGE;
  WindowsSendToAll(event);
}

}  // namespace

void MonitorModesStart(bool virtualMonitors, int32_t realCount) {
  started = true;
  virtualInUse = virtualMonitors;
  count = virtualMonitors ? static_cast<int32_t>(VirtualMonitorsInUse().size())
                          : (realCount > 0 ? realCount : 0);
  applied.assign(static_cast<size_t>(count), -1);
}

void MonitorModesStop() {
  started = false;
  count = 0;
  applied.clear();
}

int32_t MonitorModesCount() { return count; }

bool MonitorModesVirtual() { return virtualInUse; }

int32_t MonitorApplied(int32_t monitor) {
  return InRange(monitor) ? applied[static_cast<size_t>(monitor)] : -1;
}

void PlatformHeadlessSetMonitors(const std::vector<platformVirtualMonitor>& monitors) {
  VirtualMonitors() = monitors;
  PlatformHeadlessClearModeChanges();
  if (started && virtualInUse) {
    count = static_cast<int32_t>(monitors.size());
    applied.assign(monitors.size(), -1);
  }
}

int32_t MonitorModeApply(int32_t monitor, int32_t modeNumber, const platformDisplayMode& mode) {
  if (!InRange(monitor)) {
    ModeChangeRecord(monitor, modeNumber, mode, PLATFORM_DISP_CHANGE_BADPARAM);
    return PLATFORM_DISP_CHANGE_BADPARAM;
  }
  platformDisplayMode listed;
  int32_t result = PLATFORM_DISP_CHANGE_BADMODE;
  if (PlatformMonitorEnumMode(monitor, modeNumber, listed) && listed.width == mode.width &&
      listed.height == mode.height && listed.bitsPerPixel == mode.bitsPerPixel) {
    result = virtualInUse ? ModeChangeResult() : NativeMonitorSwitch(monitor, modeNumber);
  }
  ModeChangeRecord(monitor, modeNumber, mode, result);
  if (result != PLATFORM_DISP_CHANGE_SUCCESSFUL) {
    return result;
  }
  int32_t& current = applied[static_cast<size_t>(monitor)];
  bool changed = current != modeNumber;
  current = modeNumber;
  if (!virtualInUse) {
    NativePlaceFullscreenWindows();
  }
  if (changed) {
    NotifyDisplayChange();
  }
  return result;
}

int32_t MonitorModesRestore() {
  bool anyApplied = false;
  for (int32_t number : applied) {
    anyApplied = anyApplied || number >= 0;
  }
  int32_t result = virtualInUse ? ModeChangeResult() : NativeMonitorsRestore(anyApplied);
  ModeChangeRecord(-1, -1, {}, result);
  if (result != PLATFORM_DISP_CHANGE_SUCCESSFUL) {
    return result;
  }
  applied.assign(applied.size(), -1);
  if (!virtualInUse) {
    NativePlaceFullscreenWindows();
  }
  if (anyApplied) {
    NotifyDisplayChange();
  }
  return result;
}

platformRect VirtualMonitorRect(int32_t monitor) {
  const platformVirtualMonitor* virtualMonitor = VirtualMonitor(monitor);
  if (virtualMonitor == nullptr) {
    return {};
  }
  platformRect rect = virtualMonitor->rect;
  platformDisplayMode mode;
  if (VirtualMonitorMode(monitor, MonitorApplied(monitor), mode)) {
    rect.width = mode.width;
    rect.height = mode.height;
  }
  return rect;
}

bool VirtualMonitorMode(int32_t monitor, int32_t modeNumber, platformDisplayMode& mode) {
  const platformVirtualMonitor* virtualMonitor = VirtualMonitor(monitor);
  if (virtualMonitor == nullptr || modeNumber < 0 ||
      static_cast<size_t>(modeNumber) >= virtualMonitor->modes.size()) {
    return false;
  }
  mode = virtualMonitor->modes[static_cast<size_t>(modeNumber)];
  return true;
}

int32_t MonitorAtPoint(int32_t x, int32_t y) {
  int32_t primary = 0;
  for (int32_t m = 0; m < PlatformMonitorCount(); ++m) {
    platformRect rect = PlatformMonitorRect(m);
    if (x >= rect.left && x < rect.left + rect.width && y >= rect.top &&
        y < rect.top + rect.height) {
      return m;
    }
    if (PlatformMonitorIsPrimary(m)) {
      primary = m;
    }
  }
  return primary;
}

void CentreOnPrimaryMonitor(int32_t& x, int32_t& y, int32_t width, int32_t height) {
  int32_t primary = 0;
  for (int32_t m = 0; m < PlatformMonitorCount(); ++m) {
    if (PlatformMonitorIsPrimary(m)) {
      primary = m;
      break;
    }
  }
  platformRect screen = PlatformMonitorRect(primary);
  if (x == PLATFORM_POSITION_CENTRED) {
    x = screen.left + (screen.width - width) / 2;
  }
  if (y == PLATFORM_POSITION_CENTRED) {
    y = screen.top + (screen.height - height) / 2;
  }
}
