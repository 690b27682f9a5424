#include "graphics/fwkGraphicsState.h"
#include "services/fwkLog.h"

namespace {

constexpr int32_t minimumWidth = 640;
constexpr int32_t minimumHeight = 480;
constexpr int32_t minimumDepth = 16;

const graphicsMonitor noMonitor;

bool Same(const graphicsMode& a, const graphicsMode& b) {
  return a.width == b.width && a.height == b.height && a.bitsPerPixel == b.bitsPerPixel;
}

// The callers' limit is an existing monitor; one out of range finds nothing rather than
// reading past the list.
const graphicsMonitor& Monitor(int32_t monitor) {
  const auto& monitors = GraphicsState().monitors;
  return monitor >= 0 && monitor < static_cast<int32_t>(monitors.size())
             ? monitors[static_cast<size_t>(monitor)]
             : noMonitor;
}

void EnumerateMonitor(int32_t index, graphicsMonitor& monitor) {
  monitor.allModes.clear();
  std::string device;
  if (PlatformMonitorDeviceName(index, device)) {
    platformDisplayMode mode;
    for (int32_t n = 0; PlatformMonitorEnumMode(index, n, mode); ++n) {
      if ((minimumWidth >= 0 && mode.width < minimumWidth) ||
          (minimumHeight >= 0 && mode.height < minimumHeight) ||
          (minimumDepth >= 0 && mode.bitsPerPixel < minimumDepth)) {
        continue;
      }
      GraphicsModeInsert(monitor.allModes, {mode.width, mode.height, mode.bitsPerPixel, n});
    }
  }
  monitor.distinctModes = GraphicsModesDistinct(monitor.allModes);
}

}  // namespace

void GraphicsModeInsert(std::vector<graphicsMode>& modes, const graphicsMode& mode) {
  size_t position = 0;
  while (position < modes.size() && modes[position].width < mode.width) {
    ++position;
  }
  while (position < modes.size() && modes[position].height < mode.height) {
    ++position;
  }
  while (position < modes.size() && modes[position].bitsPerPixel < mode.bitsPerPixel) {
    ++position;
  }
  modes.insert(modes.begin() + static_cast<std::ptrdiff_t>(position), mode);
}

std::vector<graphicsMode> GraphicsModesDistinct(const std::vector<graphicsMode>& modes) {
  std::vector<graphicsMode> distinct;
  for (const graphicsMode& mode : modes) {
    if (distinct.empty() || !Same(distinct.back(), mode)) {
      distinct.push_back(mode);
    }
  }
  return distinct;
}

void GraphicsMonitorsEnumerate() {
  auto& monitors = GraphicsState().monitors;
  int32_t count = PlatformMonitorCount();
  monitors.assign(static_cast<size_t>(count > 0 ? count : 0), graphicsMonitor{});
  for (int32_t i = 0; i < count; ++i) {
    EnumerateMonitor(i, monitors[static_cast<size_t>(i)]);
  }
}

int32_t GraphicsMonitorCount() { return static_cast<int32_t>(GraphicsState().monitors.size()); }

const graphicsMonitor& GraphicsMonitorLists(int32_t monitor) { return Monitor(monitor); }

graphicsMode GraphicsMonitorFindMode(int32_t monitor, int32_t width, int32_t height,
                                     int32_t bitsPerPixel) {
  for (const graphicsMode& mode : Monitor(monitor).distinctModes) {
    if (mode.width == width && mode.height == height && mode.bitsPerPixel == bitsPerPixel) {
      return mode;
    }
  }
  return {};
}

graphicsMode GraphicsMonitorMode(int32_t monitor, int32_t index) {
  const auto& modes = Monitor(monitor).distinctModes;
  if (index < 0 || index >= static_cast<int32_t>(modes.size())) {
    return {};
  }
  return modes[static_cast<size_t>(index)];
}

int32_t GraphicsMonitorModeIndex(int32_t monitor, int32_t width, int32_t height,
                                 int32_t bitsPerPixel) {
  const auto& modes = Monitor(monitor).distinctModes;
  for (size_t i = 0; i < modes.size(); ++i) {
    if (modes[i].width == width && modes[i].height == height &&
        modes[i].bitsPerPixel == bitsPerPixel) {
      return static_cast<int32_t>(i);
    }
  }
  return -1;
}

std::string GraphicsMonitorModeText(int32_t monitor, int32_t index) {
  graphicsMode mode = GraphicsMonitorMode(monitor, index);
  if (mode.width == 0 || mode.height == 0 || mode.bitsPerPixel == 0) {
    return "";
  }
  return std::to_string(mode.width) + "x" + std::to_string(mode.height) + " " +
         std::to_string(mode.bitsPerPixel) + "-bit color";
}

bool GraphicsMonitorSetResolution(int32_t monitor, int32_t modeNumber) {
  const std::string where = "GraphicsMonitorSetResolution - ";
  const std::string number = std::to_string(monitor) + ".";
  std::string device;
  if (!PlatformMonitorDeviceName(monitor, device)) {
    LogError(where + "Unable to enumerate device name for monitor " + number);
    return false;
  }
  platformDisplayMode mode;
  if (!PlatformMonitorEnumMode(monitor, modeNumber, mode)) {
    LogError(where + "Unable to enumerate display settings for monitor " + number);
    return false;
  }
  switch (PlatformMonitorApplyMode(monitor, modeNumber, mode)) {
    case PLATFORM_DISP_CHANGE_SUCCESSFUL: return true;
    case PLATFORM_DISP_CHANGE_RESTART:
      LogError(where + "Restart needed to set resolution on monitor " + number);
      return false;
    case PLATFORM_DISP_CHANGE_FAILED:
      LogError(where + "Resolution change failed on monitor " + number);
      return false;
    case PLATFORM_DISP_CHANGE_BADMODE:
      LogError(where + "Invalid resolution specified for monitor " + number);
      return false;
    case PLATFORM_DISP_CHANGE_BADFLAGS:
      LogError(where + "Bad flags encountered setting resolution on monitor " + number);
      return false;
    case PLATFORM_DISP_CHANGE_BADPARAM:
      LogError(where + "Bad parameter encountered setting resolution on monitor " + number);
      return false;
    default: return false;
  }
}

bool GraphicsMonitorsRestoreDesktop() {
  const std::string where = "GraphicsMonitorsRestoreDesktop - ";
  switch (PlatformMonitorsRestoreDesktop()) {
    case PLATFORM_DISP_CHANGE_SUCCESSFUL: return true;
    case PLATFORM_DISP_CHANGE_RESTART:
      LogError(where + "Restart needed to set resolution.");
      return false;
    case PLATFORM_DISP_CHANGE_FAILED: LogError(where + "Resolution change failed."); return false;
    case PLATFORM_DISP_CHANGE_BADMODE:
      LogError(where + "Invalid resolution specified.");
      return false;
    case PLATFORM_DISP_CHANGE_BADFLAGS:
      LogError(where + "Bad flags encountered setting resolution.");
      return false;
    default: return false;
  }
}

void GraphicsSetFullscreen(bool fullscreen) {
  graphicsState& state = GraphicsState();
  if (fullscreen) {
    for (const graphicsDisplay& display : state.displays) {
      GraphicsMonitorSetResolution(display.monitor, display.mode.modeNumber);
    }
  } else {
    GraphicsMonitorsRestoreDesktop();
  }
  state.fullscreen = fullscreen;
}

bool GraphicsIsFullscreen() { return GraphicsState().fullscreen; }
