// The video mode of the game's display: the one the settings name when the monitor lists it;
// otherwise a window of the settings' size, and the desktop's own mode for fullscreen, where
// the picture is letterboxed like in any window whose shape differs from the game's.
#include <algorithm>

#include "game/gameInternal.h"
#include "graphics/fwkGraphics.h"
#include "platform/platform_video.h"
#include "services/fwkIni.h"

namespace {

constexpr int32_t kDefaultWidth = 1280;
constexpr int32_t kDefaultHeight = 720;
constexpr int32_t kDefaultDepth = 32;
// The smallest mode the monitors list; a window below it is a typo in the settings.
constexpr int32_t kSmallestWidth = 640;
constexpr int32_t kSmallestHeight = 480;

// The listed mode of the monitor's current size, in the wanted depth when there is one, else
// the deepest.
graphicsMode DesktopMode(int32_t monitor, int32_t depth) {
  const platformRect desktop = PlatformMonitorRect(monitor);
  const graphicsMode same = GraphicsMonitorFindMode(monitor, desktop.width, desktop.height, depth);
  if (same.width != 0) return same;
  graphicsMode best;
  for (const graphicsMode& mode : GraphicsMonitorLists(monitor).distinctModes) {
    if (mode.width == desktop.width && mode.height == desktop.height &&
        mode.bitsPerPixel > best.bitsPerPixel)
      best = mode;
  }
  return best;
}

}  // namespace

gameVideo GameChooseVideo(int32_t monitor) {
  gameVideo video;
  video.width = IniReadInteger("Video", "Width", kDefaultWidth);
  video.height = IniReadInteger("Video", "Height", kDefaultHeight);
  video.bitsPerPixel = IniReadInteger("Video", "BPP", kDefaultDepth);
  video.mode = GraphicsMonitorFindMode(monitor, video.width, video.height, video.bitsPerPixel);
  if (video.mode.width != 0) {
    video.listed = true;
    video.windowWidth = video.mode.width;
    video.windowHeight = video.mode.height;
    return video;
  }
  if (video.width < kSmallestWidth || video.height < kSmallestHeight) {
    video.width = kDefaultWidth;
    video.height = kDefaultHeight;
  }
  video.windowWidth = video.width;
  video.windowHeight = video.height;
  video.mode = DesktopMode(monitor, video.bitsPerPixel);
  if (video.mode.width == 0) video.mode = GraphicsMonitorFindMode(monitor, 800, 600, 32);
  return video;
}

graphicsMode GameSavedVideoMode() {
  const gameData& game = Game();
  // A mode the monitor did not list stays in the settings as the player wrote it.
  if (game.video.listed)
    return GraphicsDisplayMode(game.display, GraphicsDisplayModeIndex(game.display));
  return {game.video.width, game.video.height, game.video.bitsPerPixel, -1};
}
