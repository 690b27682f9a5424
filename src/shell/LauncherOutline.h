// The launcher window's outline: straight sides and bottom under an arched top. The picture
// generator and the window region both use it, so the region follows the picture's edge.
#pragma once

#include <cstdint>
#include <vector>

constexpr int32_t kLauncherWidth = 360;
constexpr int32_t kLauncherHeight = 405;

struct launcherPoint {
  int32_t x;
  int32_t y;
};

// Top edge of the arch at column x (0..359): rows above it lie outside the window.
int32_t LauncherArchTop(int32_t x);

// The closed outline in window coordinates, running down the left side, along the bottom, up
// the right side and back over the arch in steps of one pixel row.
std::vector<launcherPoint> LauncherOutline();
