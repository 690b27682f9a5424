#include "platform/common/virtual_monitors.h"

namespace {

std::vector<platformModeChange> changes;
int32_t changeResult = PLATFORM_DISP_CHANGE_SUCCESSFUL;

}  // namespace

std::vector<platformVirtualMonitor>& VirtualMonitors() {
  static std::vector<platformVirtualMonitor> monitors;
  return monitors;
}

const std::vector<platformVirtualMonitor>& VirtualMonitorsInUse() {
  if (VirtualMonitors().empty()) {
    VirtualMonitors() = PlatformHeadlessDefaultMonitors();
  }
  return VirtualMonitors();
}

const platformVirtualMonitor* VirtualMonitor(int32_t monitor) {
  const auto& monitors = VirtualMonitors();
  if (monitor < 0 || static_cast<size_t>(monitor) >= monitors.size()) {
    return nullptr;
  }
  return &monitors[static_cast<size_t>(monitor)];
}

std::vector<platformVirtualMonitor> PlatformHeadlessDefaultMonitors() {
  platformVirtualMonitor monitor;
  monitor.rect = {0, 0, 1920, 1080};
  monitor.primary = true;
  monitor.deviceName = "\\\\.\\DISPLAY1";
  const int32_t sizes[][2] = {{640, 480},  {800, 600},   {1024, 768},
                              {1280, 720}, {1280, 1024}, {1920, 1080}};
  for (const auto& size : sizes) {
    for (int32_t bits : {16, 32}) {
      for (int32_t refresh : {60, 75}) {
        monitor.modes.push_back({size[0], size[1], bits, refresh});
      }
    }
  }
  return {monitor};
}

void ModeChangeRecord(int32_t monitor, int32_t modeNumber, const platformDisplayMode& mode,
                      int32_t result) {
  platformModeChange change;
  change.monitor = monitor;
  change.modeNumber = modeNumber;
  change.mode = mode;
  change.result = result;
  changes.push_back(change);
}

int32_t ModeChangeResult() { return changeResult; }

const std::vector<platformModeChange>& PlatformHeadlessModeChanges() { return changes; }

void PlatformHeadlessClearModeChanges() { changes.clear(); }

void PlatformHeadlessSetModeChangeResult(int32_t result) { changeResult = result; }
