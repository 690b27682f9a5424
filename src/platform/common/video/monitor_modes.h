// The monitors in use and the mode applied to each, and the steps of a mode change every
// backend takes the same way: the mode is checked against the monitor's list, switched,
// recorded and kept, fullscreen windows follow, and every window hears of it before the call
// returns (the system sends its notice during the change, not through the pump). The real
// switches are the backend's NativeMonitorSwitch and NativeMonitorsRestore (native_video.h);
// virtual monitors give the result tests chose instead.
#pragma once

#include <cstdint>

#include "platform/platform_video.h"

// The video part starts with the virtual monitors (headless) or `realCount` real ones.
void MonitorModesStart(bool virtualMonitors, int32_t realCount);
void MonitorModesStop();
int32_t MonitorModesCount();
bool MonitorModesVirtual();
// The mode number applied to the monitor; -1 for the desktop's.
int32_t MonitorApplied(int32_t monitor);
int32_t MonitorModeApply(int32_t monitor, int32_t modeNumber, const platformDisplayMode& mode);
int32_t MonitorModesRestore();

// A virtual monitor's rectangle in its applied mode.
platformRect VirtualMonitorRect(int32_t monitor);
bool VirtualMonitorMode(int32_t monitor, int32_t modeNumber, platformDisplayMode& mode);

// The monitor holding a screen point; the primary monitor when none does.
int32_t MonitorAtPoint(int32_t x, int32_t y);
// Replaces PLATFORM_POSITION_CENTRED in x or y by the position that centres a window of the
// size on the primary monitor.
void CentreOnPrimaryMonitor(int32_t& x, int32_t& y, int32_t width, int32_t height);
