// Pictures in windows without OpenGL, drawn with GDI whenever the window is painted.
#include "platform/common/window_picture_store.h"
#include "platform/platform_shell.h"
#include "platform/platform_system.h"
#include "platform/win32/video/win32_video_state.h"

namespace {

bool PaintPicture(HWND hwnd, HDC dc) {
  const windowPicture* picture = WindowPictureFind(reinterpret_cast<platformWindow>(hwnd));
  if (picture == nullptr) {
    return false;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture->width;
  info.bmiHeader.biHeight = -picture->height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(picture->width), static_cast<DWORD>(picture->height), 0, 0, 0,
                    static_cast<UINT>(picture->height), picture->pixels.data(), &info, DIB_RGB_COLORS);
  return true;
}

void Repaint(platformWindow window) {
  Win32SetPainter(PaintPicture);
  win32WindowRecord* record = Win32WindowRecord(window);
  if (PlatformHeadless() || record == nullptr) {
    return;
  }
  InvalidateRect(record->hwnd, nullptr, FALSE);
  UpdateWindow(record->hwnd);
}

}  // namespace

void PlatformWindowSetPicture(platformWindow window, int32_t width, int32_t height,
                              const std::vector<uint32_t>& pixels) {
  if (WindowPictureKeep(window, width, height, pixels) != nullptr) Repaint(window);
}

void PlatformWindowPaintPicture(platformWindow window) {
  if (WindowPictureFind(window) != nullptr) Repaint(window);
}
