// Pictures in windows without OpenGL, drawn with GDI whenever the window is painted.
#include "platform/common/shell/native_shell.h"
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
  SetDIBitsToDevice(
      dc, 0, 0, static_cast<DWORD>(picture->width), static_cast<DWORD>(picture->height), 0, 0, 0,
      static_cast<UINT>(picture->height), picture->pixels.data(), &info, DIB_RGB_COLORS);
  return true;
}

}  // namespace

void NativePaintPicture(platformWindow window, const windowPicture&) {
  Win32SetPainter(PaintPicture);
  win32WindowRecord* record = Win32WindowRecord(window);
  if (PlatformHeadless() || record == nullptr) {
    return;
  }
  InvalidateRect(record->hwnd, nullptr, FALSE);
  UpdateWindow(record->hwnd);
}
