#include "platform/win32/video/win32_video_state.h"

void PlatformWindowSetShape(platformWindow window, const std::vector<platformPoint>& outline) {
  win32WindowRecord* record = Win32WindowRecord(window);
  if (record == nullptr) {
    return;
  }
  record->outline = outline.size() >= 3 ? outline : std::vector<platformPoint>{};
  if (record->outline.empty()) {
    SetWindowRgn(record->hwnd, nullptr, TRUE);
    return;
  }
  std::vector<POINT> points;
  points.reserve(record->outline.size());
  for (const platformPoint& point : record->outline) {
    points.push_back({point.x, point.y});
  }
  HRGN region = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
  if (region == nullptr) {
    Win32SetSystemError("CreatePolygonRgn");
    return;
  }
  // The window owns the region from here on.
  if (!SetWindowRgn(record->hwnd, region, TRUE)) {
    Win32SetSystemError("SetWindowRgn");
    DeleteObject(region);
  }
}
