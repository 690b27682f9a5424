// The display module's tables, shared by its displays part and its monitors part.
#pragma once

#include <vector>

#include "graphics/fwkGraphics.h"

struct graphicsState {
  std::vector<graphicsDisplay> displays;
  int32_t nextId = 1;
  int32_t current = -1;
  std::vector<graphicsMonitor> monitors;
  bool fullscreen = false;
  bool changing = false;
  bool displayLost = false;
  bool flush = false;
  bool finish = false;
};

graphicsState& GraphicsState();
// Enumerates every monitor's modes (at least 640 x 480 at 16 bits) and builds its lists.
void GraphicsMonitorsEnumerate();
