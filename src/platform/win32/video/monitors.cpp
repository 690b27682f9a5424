#include "platform/common/video/monitor_modes.h"
#include "platform/common/video/native_video.h"
#include "platform/win32/video/win32_video_state.h"

namespace {

const std::string& Device(int32_t monitor) {
  return Win32Video().monitors[static_cast<size_t>(monitor)].device;
}

// Our own changes notify the windows themselves; the system's notice of the same change is
// not passed on twice.
int32_t ChangeSettings(const char* device, DEVMODEA* settings, DWORD flags) {
  win32VideoState& state = Win32Video();
  state.changingMode = true;
  LONG result = ChangeDisplaySettingsExA(device, settings, nullptr, flags, nullptr);
  state.changingMode = false;
  return static_cast<int32_t>(result);
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

}  // namespace

int32_t NativeMonitorSwitch(int32_t monitor, int32_t modeNumber) {
  DEVMODEA settings{};
  settings.dmSize = sizeof(settings);
  if (!EnumDisplaySettingsA(Device(monitor).c_str(), static_cast<DWORD>(modeNumber), &settings)) {
    return PLATFORM_DISP_CHANGE_BADMODE;
  }
  settings.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | DM_DISPLAYFREQUENCY;
  return ChangeSettings(Device(monitor).c_str(), &settings, CDS_FULLSCREEN);
}

// Every device back to its registry settings; nothing to give back when no mode was applied.
int32_t NativeMonitorsRestore(bool anyApplied) {
  return anyApplied ? ChangeSettings(nullptr, nullptr, 0) : PLATFORM_DISP_CHANGE_SUCCESSFUL;
}

void NativePlaceFullscreenWindows() {
  for (auto& [handle, stored] : VideoState().windows) {
    auto& record = static_cast<win32WindowRecord&>(*stored);
    if (record.border == PLATFORM_BORDER_FULLSCREEN) {
      Win32PlaceWindow(record);
    }
  }
}

bool NativeMonitorName(int32_t monitor, std::string& name) {
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

bool NativeMonitorMode(int32_t monitor, int32_t modeNumber, platformDisplayMode& mode) {
  DEVMODEA settings{};
  settings.dmSize = sizeof(settings);
  if (!EnumDisplaySettingsA(Device(monitor).c_str(), static_cast<DWORD>(modeNumber), &settings)) {
    return false;
  }
  mode = {static_cast<int32_t>(settings.dmPelsWidth), static_cast<int32_t>(settings.dmPelsHeight),
          static_cast<int32_t>(settings.dmBitsPerPel),
          static_cast<int32_t>(settings.dmDisplayFrequency)};
  return true;
}

// The system's current settings give a real monitor's place and size in whatever mode it is.
platformRect NativeMonitorRect(int32_t monitor) {
  DEVMODEA settings{};
  settings.dmSize = sizeof(settings);
  if (!EnumDisplaySettingsA(Device(monitor).c_str(), ENUM_CURRENT_SETTINGS, &settings) ||
      settings.dmPelsWidth == 0 || settings.dmPelsHeight == 0) {
    // The monitor is gone (unplugged, a laptop undocked): what was on it belongs on the primary
    // one, where Windows moves the other windows too.
    return PrimaryMonitorRect();
  }
  return {settings.dmPosition.x, settings.dmPosition.y, static_cast<int32_t>(settings.dmPelsWidth),
          static_cast<int32_t>(settings.dmPelsHeight)};
}

bool NativeMonitorIsPrimary(int32_t monitor) {
  return Win32Video().monitors[static_cast<size_t>(monitor)].primary;
}
