#include "platform/common/polygon_winding.h"

bool PolygonWindingContains(const std::vector<platformPoint>& outline, double x, double y) {
  int32_t winding = 0;
  size_t count = outline.size();
  for (size_t i = 0; i < count; ++i) {
    const platformPoint& a = outline[i];
    const platformPoint& b = outline[(i + 1) % count];
    double cross = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
    if (a.y <= y) {
      if (b.y > y && cross > 0) {
        ++winding;
      }
    } else if (b.y <= y && cross < 0) {
      --winding;
    }
  }
  return winding != 0;
}
