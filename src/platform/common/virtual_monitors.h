// The virtual monitors of headless runs and the record of mode changes, kept across restarts
// of the video part so that a test can set them up before the part starts.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform_video.h"

std::vector<platformVirtualMonitor>& VirtualMonitors();
// The virtual monitors, set to the default ones when none were given.
const std::vector<platformVirtualMonitor>& VirtualMonitorsInUse();
const platformVirtualMonitor* VirtualMonitor(int32_t monitor);
// Appends a mode change (or a restore, monitor -1) with the result it gave.
void ModeChangeRecord(int32_t monitor, int32_t modeNumber, const platformDisplayMode& mode,
                      int32_t result);
// The result headless mode changes give.
int32_t ModeChangeResult();
