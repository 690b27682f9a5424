#include "platform/common/virtual_monitors.h"
#include "platform/win32/video/win32_video_state.h"

namespace {

bool ValidMonitor(int32_t monitor) {
  return Win32VideoStart() && monitor >= 0 && monitor < Win32Video().monitorCount;
}

const std::string& Device(int32_t monitor) { return Win32Video().monitors[static_cast<size_t>(monitor)].device; }

bool CurrentSettings(int32_t monitor, DEVMODEA& settings) {
  settings = DEVMODEA{};
  settings.dmSize = sizeof(settings);
  return EnumDisplaySettingsA(Device(monitor).c_str(), ENUM_CURRENT_SETTINGS, &settings) != 0;
}

// Our own changes tell every window at once, before the change call returns, as the system
// does; its own notice of the same change is not passed on twice.
void NotifyDisplayChange() {
  platformWindowEvent event;
  event.kind = PLATFORM_EVENT_DISPLAY_CHANGE;
  Win32SendToAllWindows(event);
}

void PlaceFullscreenWindows() {
  for (auto& [handle, record] : Win32Video().windows) {
    if (record.border == PLATFORM_BORDER_FULLSCREEN) {
      Win32PlaceWindow(record);
    }
  }
}

int32_t ChangeSettings(const char* device, DEVMODEA* settings, DWORD flags) {
  win32VideoState& state = Win32Video();
  state.changingMode = true;
  LONG result = ChangeDisplaySettingsExA(device, settings, nullptr, flags, nullptr);
  state.changingMode = false;
  return static_cast<int32_t>(result);
}

}  // namespace

void PlatformHeadlessSetMonitors(const std::vector<platformVirtualMonitor>& monitors) {
  win32VideoState& state = Win32Video();
  VirtualMonitors() = monitors;
  PlatformHeadlessClearModeChanges();
  if (state.started && state.headless) {
    state.monitorCount = static_cast<int32_t>(monitors.size());
    state.applied.assign(monitors.size(), -1);
  }
}

int32_t PlatformMonitorCount() { return Win32VideoStart() ? Win32Video().monitorCount : 0; }

bool PlatformMonitorDeviceName(int32_t monitor, std::string& name) {
  if (!ValidMonitor(monitor)) {
    return false;
  }
  if (Win32Video().headless) {
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
  if (Win32Video().headless) {
    const auto& modes = VirtualMonitor(monitor)->modes;
    if (static_cast<size_t>(modeNumber) >= modes.size()) {
      return false;
    }
    mode = modes[static_cast<size_t>(modeNumber)];
    return true;
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

platformRect PlatformMonitorRect(int32_t monitor) {
  if (!ValidMonitor(monitor)) {
    return {};
  }
  win32VideoState& state = Win32Video();
  if (!state.headless) {
    DEVMODEA settings;
    if (!CurrentSettings(monitor, settings)) {
      return {};
    }
    return {settings.dmPosition.x, settings.dmPosition.y, static_cast<int32_t>(settings.dmPelsWidth),
            static_cast<int32_t>(settings.dmPelsHeight)};
  }
  platformRect rect = VirtualMonitor(monitor)->rect;
  platformDisplayMode mode;
  int32_t applied = state.applied[static_cast<size_t>(monitor)];
  if (applied >= 0 && PlatformMonitorEnumMode(monitor, applied, mode)) {
    rect.width = mode.width;
    rect.height = mode.height;
  }
  return rect;
}

bool PlatformMonitorIsPrimary(int32_t monitor) {
  if (!ValidMonitor(monitor)) {
    return false;
  }
  if (Win32Video().headless) {
    return VirtualMonitor(monitor)->primary;
  }
  return Win32Video().monitors[static_cast<size_t>(monitor)].primary;
}

int32_t Win32MonitorAt(int32_t x, int32_t y) {
  int32_t primary = 0;
  for (int32_t m = 0; m < PlatformMonitorCount(); ++m) {
    platformRect rect = PlatformMonitorRect(m);
    if (x >= rect.left && x < rect.left + rect.width && y >= rect.top && y < rect.top + rect.height) {
      return m;
    }
    if (PlatformMonitorIsPrimary(m)) {
      primary = m;
    }
  }
  return primary;
}

int32_t PlatformMonitorApplyMode(int32_t monitor, int32_t modeNumber, const platformDisplayMode& mode) {
  if (!ValidMonitor(monitor)) {
    ModeChangeRecord(monitor, modeNumber, mode, PLATFORM_DISP_CHANGE_BADPARAM);
    return PLATFORM_DISP_CHANGE_BADPARAM;
  }
  win32VideoState& state = Win32Video();
  platformDisplayMode listed;
  int32_t result = state.headless ? ModeChangeResult() : PLATFORM_DISP_CHANGE_SUCCESSFUL;
  bool known = PlatformMonitorEnumMode(monitor, modeNumber, listed) && listed.width == mode.width &&
               listed.height == mode.height && listed.bitsPerPixel == mode.bitsPerPixel;
  if (!known) {
    result = PLATFORM_DISP_CHANGE_BADMODE;
  } else if (!state.headless) {
    DEVMODEA settings{};
    settings.dmSize = sizeof(settings);
    EnumDisplaySettingsA(Device(monitor).c_str(), static_cast<DWORD>(modeNumber), &settings);
    settings.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | DM_DISPLAYFREQUENCY;
    result = ChangeSettings(Device(monitor).c_str(), &settings, CDS_FULLSCREEN);
  }
  ModeChangeRecord(monitor, modeNumber, mode, result);
  if (result != PLATFORM_DISP_CHANGE_SUCCESSFUL) {
    return result;
  }
  int32_t& applied = state.applied[static_cast<size_t>(monitor)];
  bool changed = applied != modeNumber;
  applied = modeNumber;
  if (!state.headless) {
    PlaceFullscreenWindows();
  }
  if (changed) {
    NotifyDisplayChange();
  }
  return result;
}

int32_t PlatformMonitorsRestoreDesktop() {
  if (!Win32VideoStart()) {
    return PLATFORM_DISP_CHANGE_FAILED;
  }
  win32VideoState& state = Win32Video();
  bool anyApplied = false;
  for (int32_t applied : state.applied) {
    anyApplied = anyApplied || applied >= 0;
  }
  int32_t result = ModeChangeResult();
  if (!state.headless) {
    // Nothing to give back when no mode was applied: the desktop is as the user left it.
    result = anyApplied ? ChangeSettings(nullptr, nullptr, 0) : PLATFORM_DISP_CHANGE_SUCCESSFUL;
  }
  ModeChangeRecord(-1, -1, {}, result);
  if (result != PLATFORM_DISP_CHANGE_SUCCESSFUL) {
    return result;
  }
  state.applied.assign(state.applied.size(), -1);
  if (!state.headless) {
    PlaceFullscreenWindows();
  }
  if (anyApplied) {
    NotifyDisplayChange();
  }
  return result;
}
