#include "platform/common/video/monitor_modes.h"
#include "platform/common/video/native_video.h"
#include "platform/win32/video/win32_video_state.h"

namespace {

win32WindowRecord* Started(platformWindow window) {
  return VideoState().started ? Win32WindowRecord(window) : nullptr;
}

// The frame around a client rectangle. The program is aware of each monitor's scale, so the
// frame is drawn at the scale of the window's monitor, which AdjustWindowRectEx (the scale at
// logon) does not know; the call that does exists from Windows 10 1607 on.
void AddFrame(const win32WindowRecord& record, RECT& rect) {
  using adjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  using dpiForWindow = UINT(WINAPI*)(HWND);
  static const HMODULE user32 = GetModuleHandleA("user32.dll");
  static const auto adjust = reinterpret_cast<adjustForDpi>(
      reinterpret_cast<void*>(GetProcAddress(user32, "AdjustWindowRectExForDpi")));
  static const auto dpiOf = reinterpret_cast<dpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
  const DWORD style = Win32WindowStyle(record.border);
  const UINT dpi = dpiOf != nullptr && record.hwnd != nullptr ? dpiOf(record.hwnd) : 0;
  if (adjust == nullptr || dpi == 0 || !adjust(&rect, style, FALSE, 0, dpi)) {
    AdjustWindowRectEx(&rect, style, FALSE, 0);
  }
}

// The window rectangle that gives the record's client size at the record's position.
RECT OuterRect(const win32WindowRecord& record) {
  RECT rect{record.x, record.y, record.x + record.width, record.y + record.height};
  AddFrame(record, rect);
  return {record.x, record.y, record.x + (rect.right - rect.left),
          record.y + (rect.bottom - rect.top)};
}

// Reads the real window's position and client size into the record.
void Refresh(win32WindowRecord& record) {
  if (VideoState().headless || record.minimized) {
    return;
  }
  RECT window;
  RECT client;
  if (GetWindowRect(record.hwnd, &window) && GetClientRect(record.hwnd, &client)) {
    record.x = window.left;
    record.y = window.top;
    record.width = client.right - client.left;
    record.height = client.bottom - client.top;
  }
}

}  // namespace

DWORD Win32WindowStyle(platformBorderStyle border) {
  DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (border == PLATFORM_BORDER_DIALOG) {
    return style | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  }
  return style | WS_POPUP;
}

void Win32PlaceWindow(win32WindowRecord& record) {
  if (VideoState().headless) {
    return;
  }
  DWORD style = Win32WindowStyle(record.border);
  if (record.visible) {
    style |= WS_VISIBLE;
  }
  if (record.minimized) {
    style |= WS_MINIMIZE;
  }
  SetWindowLongPtrA(record.hwnd, GWL_STYLE, static_cast<LONG_PTR>(style));
  if (record.minimized) {
    return;
  }
  RECT outer = OuterRect(record);
  if (record.border == PLATFORM_BORDER_FULLSCREEN) {
    platformRect screen = PlatformMonitorRect(MonitorAtPoint(record.x, record.y));
    outer = {screen.left, screen.top, screen.left + screen.width, screen.top + screen.height};
  }
  SetWindowPos(record.hwnd, nullptr, outer.left, outer.top, outer.right - outer.left,
               outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Refresh(record);
}

platformWindow PlatformWindowCreate(const platformWindowParams& params) {
  if (!VideoStart()) {
    return 0;
  }
  win32WindowRecord record;
  record.caption = params.caption;
  record.border = params.border;
  record.width = params.width > 0 ? params.width : 1;
  record.height = params.height > 0 ? params.height : 1;
  record.x = params.x;
  record.y = params.y;
  CentreOnPrimaryMonitor(record.x, record.y, record.width, record.height);
  RECT outer = OuterRect(record);
  HWND hwnd = CreateWindowExA(0, Win32WindowClassName(), params.caption.c_str(),
                              Win32WindowStyle(params.border), outer.left, outer.top,
                              outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  if (hwnd == nullptr) {
    Win32SetSystemError("CreateWindowExA");
    return 0;
  }
  auto handle = reinterpret_cast<platformWindow>(hwnd);
  record.hwnd = hwnd;
  win32WindowRecord& stored = AddRecord(VideoState().windows, handle, std::move(record));
  if (params.border == PLATFORM_BORDER_FULLSCREEN) {
    Win32PlaceWindow(stored);
  }
  Refresh(stored);
  stored.reportedWidth = stored.width;
  stored.reportedHeight = stored.height;
  return handle;
}

void NativeWindowDestroy(platformWindow window, windowRecord& record) {
  std::erase_if(Win32Video().pending,
                [window](const auto& entry) { return entry.first == window; });
  DestroyWindow(static_cast<win32WindowRecord&>(record).hwnd);
}

void NativeWindowShow(platformWindow window) {
  // Headless windows never reach the desktop.
  if (!VideoState().headless) {
    win32WindowRecord& record = *Win32WindowRecord(window);
    ShowWindow(record.hwnd, record.minimized ? SW_SHOWMINNOACTIVE : SW_SHOW);
  }
}

void NativeWindowHide(platformWindow window) {
  ShowWindow(Win32WindowRecord(window)->hwnd, SW_HIDE);
}

void NativeWindowSetCaption(platformWindow window, const std::string& caption) {
  SetWindowTextA(Win32WindowRecord(window)->hwnd, caption.c_str());
}

void NativeWindowMove(platformWindow window) {
  win32WindowRecord& record = *Win32WindowRecord(window);
  if (record.border == PLATFORM_BORDER_FULLSCREEN) {
    Win32PlaceWindow(record);
  } else {
    SetWindowPos(record.hwnd, nullptr, record.x, record.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

platformPoint PlatformWindowPosition(platformWindow window) {
  win32WindowRecord* record = Started(window);
  if (record == nullptr) {
    return {};
  }
  if (record->border != PLATFORM_BORDER_FULLSCREEN) {
    Refresh(*record);
  }
  return {record->x, record->y};
}

void PlatformWindowSetClientSize(platformWindow window, int32_t width, int32_t height) {
  win32WindowRecord* record = Started(window);
  if (record == nullptr || width <= 0 || height <= 0) {
    return;
  }
  Refresh(*record);
  record->width = width;
  record->height = height;
  if (VideoState().headless) {
    if (record->reportedWidth != width || record->reportedHeight != height) {
      record->reportedWidth = width;
      record->reportedHeight = height;
      platformWindowEvent event;
      event.kind = PLATFORM_EVENT_RESIZE;
      event.width = width;
      event.height = height;
      Win32PostWindowEvent(window, event);
    }
    return;
  }
  if (record->border == PLATFORM_BORDER_FULLSCREEN) {
    Win32PlaceWindow(*record);
    return;
  }
  RECT outer = OuterRect(*record);
  SetWindowPos(record->hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Refresh(*record);
}

platformRect PlatformWindowClientRect(platformWindow window) {
  win32WindowRecord* record = Started(window);
  if (record == nullptr) {
    return {};
  }
  Refresh(*record);
  return {0, 0, record->width, record->height};
}

// The position and size the window has now are kept under the new frame.
void NativeWindowApplyBorder(platformWindow window) {
  win32WindowRecord& record = *Win32WindowRecord(window);
  Refresh(record);
  Win32PlaceWindow(record);
}

void NativeWindowShowCursor(platformWindow window, bool visible) {
  POINT cursor;
  if (!VideoState().headless && GetCursorPos(&cursor) &&
      WindowFromPoint(cursor) == Win32WindowRecord(window)->hwnd) {
    SetCursor(visible ? LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)) : nullptr);
  }
}

// A hidden window stays hidden: it is shown minimised when it is shown.
bool NativeWindowMinimize(platformWindow window) {
  win32WindowRecord* record = Win32WindowRecord(window);
  if (!record->visible) {
    return false;
  }
  ShowWindow(record->hwnd, SW_MINIMIZE);
  return true;
}

bool NativeWindowRestore(platformWindow window) {
  win32WindowRecord* record = Win32WindowRecord(window);
  if (!IsIconic(record->hwnd)) {
    return false;
  }
  ShowWindow(record->hwnd, SW_RESTORE);
  return true;
}

void NativeWindowSetForeground(platformWindow window) {
  win32WindowRecord* record = Win32WindowRecord(window);
  SetForegroundWindow(record->hwnd);
  SetFocus(record->hwnd);
}
