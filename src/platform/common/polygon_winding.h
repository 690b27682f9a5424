// Whether a point lies inside a window outline, filled with the non-zero winding rule as the
// system fills window regions.
#pragma once

#include <vector>

#include "platform/platform_video.h"

bool PolygonWindingContains(const std::vector<platformPoint>& outline, double x, double y);
