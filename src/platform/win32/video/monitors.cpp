#include "platform/common/monitor_modes.h"
#include "platform/common/video/window_list.h"
#include "platform/common/virtual_monitors.h"
#include "platform/win32/video/win32_video_state.h"

namespace {

bool ValidMonitor(int32_t monitor) {
  return Win32VideoStart() && monitor >= 0 && monitor < MonitorModesCount();
}

const std::string& Device(int32_t monitor) { return Win32Video().monitors[static_cast<size_t>(monitor)].device; }

// Our own changes notify the windows themselves; the system's notice of the same change is
// not passed on twice.
int32_t ChangeSettings(const char* device, DEVMODEA* settings, DWORD flags) {
  win32VideoState& state = Win32Video();
  state.changingMode = true;
  LONG result = ChangeDisplaySettingsExA(device, settings, nullptr, flags, nullptr);
  state.changingMode = false;
  return static_cast<int32_t>(result);
}

int32_t Switch(int32_t monitor, int32_t modeNumber) {
  DEVMODEA settings{};
  settings.dmSize = sizeof(settings);
  if (!EnumDisplaySettingsA(Device(monitor).c_str(), static_cast<DWORD>(modeNumber), &settings)) {
    return PLATFORM_DISP_CHANGE_BADMODE;
  }
  settings.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | DM_DISPLAYFREQUENCY;
  return ChangeSettings(Device(monitor).c_str(), &settings, CDS_FULLSCREEN);
}

// Every device back to its registry settings; nothing to give back when no mode was applied.
int32_t Restore(bool anyApplied) {
  return anyApplied ? ChangeSettings(nullptr, nullptr, 0) : PLATFORM_DISP_CHANGE_SUCCESSFUL;
}

void PlaceFullscreenWindows() {
  for (auto& [handle, record] : Win32Video().windows) {
    if (record.border == PLATFORM_BORDER_FULLSCREEN) {
      Win32PlaceWindow(record);
    }
  }
}

void NotifyDisplayChange() {
  platformWindowEvent event;
  event.kind = PLATFORM_EVENT_DISPLAY_CHANGE;
  WindowsSendToAll(event);
}

platformRect PrimaryMonitorRect() {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoA(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info)) {
    return {};
  }
  const RECT& area = info.rcMonitor;
  return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

const monitorBackend backend{Switch, Restore, PlaceFullscreenWindows, NotifyDisplayChange};

}  // namespace

int32_t PlatformMonitorCount() { return Win32VideoStart() ? MonitorModesCount() : 0; }

bool PlatformMonitorDeviceName(int32_t monitor, std::string& name) {
  if (!ValidMonitor(monitor)) {
    return false;
  }
  if (MonitorModesVirtual()) {
    name = VirtualMonitor(monitor)->deviceName;
    return true;
  }
  DISPLAY_DEVICEA device{};
  device.cb = sizeof(device);
  for (DWORD index = 0; EnumDisplayDevicesA(nullptr, index, &device, 0); ++index) {
    if (Device(monitor) == device.DeviceName) {
      name = device.DeviceName;
      return true;
    }
  }
  return false;
}

bool PlatformMonitorEnumMode(int32_t monitor, int32_t modeNumber, platformDisplayMode& mode) {
  if (!ValidMonitor(monitor) || modeNumber < 0) {
    return false;
  }
  if (MonitorModesVirtual()) {
    return VirtualMonitorMode(monitor, modeNumber, mode);
  }
  DEVMODEA settings{};
  settings.dmSize = sizeof(settings);
  if (!EnumDisplaySettingsA(Device(monitor).c_str(), static_cast<DWORD>(modeNumber), &settings)) {
    return false;
  }
  mode = {static_cast<int32_t>(settings.dmPelsWidth), static_cast<int32_t>(settings.dmPelsHeight),
          static_cast<int32_t>(settings.dmBitsPerPel), static_cast<int32_t>(settings.dmDisplayFrequency)};
  return true;
}

// The system's current settings give a real monitor's place and size in whatever mode it is.
platformRect PlatformMonitorRect(int32_t monitor) {
  if (!ValidMonitor(monitor)) {
    return {};
  }
  if (MonitorModesVirtual()) {
    return VirtualMonitorRect(monitor);
  }
  DEVMODEA settings{};
  settings.dmSize = sizeof(settings);
  if (!EnumDisplaySettingsA(Device(monitor).c_str(), ENUM_CURRENT_SETTINGS, &settings) || settings.dmPelsWidth == 0 ||
      settings.dmPelsHeight == 0) {
    // The monitor is gone (unplugged, a laptop undocked): what was on it belongs on the primary
    // one, where Windows moves the other windows too.
    return PrimaryMonitorRect();
  }
  return {settings.dmPosition.x, settings.dmPosition.y, static_cast<int32_t>(settings.dmPelsWidth),
          static_cast<int32_t>(settings.dmPelsHeight)};
}

bool PlatformMonitorIsPrimary(int32_t monitor) {
  if (!ValidMonitor(monitor)) {
    return false;
  }
  if (MonitorModesVirtual()) {
    return VirtualMonitor(monitor)->primary;
  }
  return Win32Video().monitors[static_cast<size_t>(monitor)].primary;
}

int32_t PlatformMonitorApplyMode(int32_t monitor, int32_t modeNumber, const platformDisplayMode& mode) {
  if (!Win32VideoStart()) {
    ModeChangeRecord(monitor, modeNumber, mode, PLATFORM_DISP_CHANGE_BADPARAM);
    return PLATFORM_DISP_CHANGE_BADPARAM;
  }
  return MonitorModeApply(monitor, modeNumber, mode, backend);
}

int32_t PlatformMonitorsRestoreDesktop() {
  return Win32VideoStart() ? MonitorModesRestore(backend) : PLATFORM_DISP_CHANGE_FAILED;
}
