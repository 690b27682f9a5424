#include "shell/LauncherOutline.h"

#include <algorithm>
#include <cmath>

namespace {
// The arch is half an ellipse spanning the width, rising from y = 48 at the sides to y = 0.
constexpr double kShoulder = 48.0;
}  // namespace

int32_t LauncherArchTop(int32_t x) {
  const double half = kLauncherWidth / 2.0;
  const double u = (x + 0.5 - half) / half;
  const double rise = kShoulder * std::sqrt(std::max(0.0, 1.0 - u * u));
  return static_cast<int32_t>(std::lround(kShoulder - rise));
}

std::vector<launcherPoint> LauncherOutline() {
  std::vector<launcherPoint> points;
  points.push_back({0, LauncherArchTop(0)});
  points.push_back({0, kLauncherHeight});
  points.push_back({kLauncherWidth, kLauncherHeight});
  int32_t current = LauncherArchTop(kLauncherWidth - 1);
  points.push_back({kLauncherWidth, current});
  // Each run of columns with one top is a horizontal step; a vertical edge joins two steps.
  for (int32_t x = kLauncherWidth - 2; x >= 0; --x) {
    const int32_t top = LauncherArchTop(x);
    if (top == current) continue;
    points.push_back({x + 1, current});
    points.push_back({x + 1, top});
    current = top;
  }
  return points;
}
