// The window procedure: system messages become platform window events, and keyboard and
// mouse messages also go to the input part.
#include <windowsx.h>

#include "platform/common/video/window_list.h"
#include "platform/win32/video/win32_video_state.h"
#include "platform/win32/win32_input.h"

namespace {

platformWindow Handle(HWND hwnd) { return reinterpret_cast<platformWindow>(hwnd); }

void Post(HWND hwnd, platformWindowEventKind kind) {
  platformWindowEvent event;
  event.kind = kind;
  Win32PostWindowEvent(Handle(hwnd), event);
}

uint32_t ButtonBits(WPARAM keys) {
  uint32_t bits = 0;
  if (keys & MK_LBUTTON) bits |= PlatformMouseBit(PLATFORM_MOUSE_LEFT);
  if (keys & MK_MBUTTON) bits |= PlatformMouseBit(PLATFORM_MOUSE_MIDDLE);
  if (keys & MK_RBUTTON) bits |= PlatformMouseBit(PLATFORM_MOUSE_RIGHT);
  return bits;
}

bool MouseEvent(UINT message, WPARAM wParam, LPARAM lParam, platformWindowEvent& event) {
  event.x = GET_X_LPARAM(lParam);
  event.y = GET_Y_LPARAM(lParam);
  event.buttons = ButtonBits(wParam);
  switch (message) {
    case WM_MOUSEMOVE: event.kind = PLATFORM_EVENT_MOUSE_MOVE; return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      event.kind = PLATFORM_EVENT_MOUSE_DOWN;
      event.button = PLATFORM_MOUSE_LEFT;
      return true;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      event.kind = PLATFORM_EVENT_MOUSE_DOWN;
      event.button = PLATFORM_MOUSE_MIDDLE;
      return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      event.kind = PLATFORM_EVENT_MOUSE_DOWN;
      event.button = PLATFORM_MOUSE_RIGHT;
      return true;
    case WM_LBUTTONUP:
      event.kind = PLATFORM_EVENT_MOUSE_UP;
      event.button = PLATFORM_MOUSE_LEFT;
      return true;
    case WM_MBUTTONUP:
      event.kind = PLATFORM_EVENT_MOUSE_UP;
      event.button = PLATFORM_MOUSE_MIDDLE;
      return true;
    case WM_RBUTTONUP:
      event.kind = PLATFORM_EVENT_MOUSE_UP;
      event.button = PLATFORM_MOUSE_RIGHT;
      return true;
    default: return false;
  }
}

void Resized(win32WindowRecord& record, WPARAM kind, LPARAM lParam) {
  if (kind == SIZE_MINIMIZED) {
    if (!record.minimized) {
      record.minimized = true;
      Post(record.hwnd, PLATFORM_EVENT_MINIMIZE);
    }
    return;
  }
  if (record.minimized) {
    record.minimized = false;
    Post(record.hwnd, PLATFORM_EVENT_RESTORE);
  }
  int32_t width = LOWORD(lParam);
  int32_t height = HIWORD(lParam);
  if (VideoState().headless || (width == record.reportedWidth && height == record.reportedHeight)) {
    return;
  }
  record.width = width;
  record.height = height;
  record.reportedWidth = width;
  record.reportedHeight = height;
  platformWindowEvent event;
  event.kind = PLATFORM_EVENT_RESIZE;
  event.width = width;
  event.height = height;
  Win32PostWindowEvent(Handle(record.hwnd), event);
}

bool IsInputMessage(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_APP + 0x100 && message <= WM_APP + 0x1FF);
}

}  // namespace

LRESULT CALLBACK Win32WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  win32VideoState& state = Win32Video();
  win32WindowRecord* record = Win32WindowRecord(Handle(hwnd));
  if (record == nullptr) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  switch (message) {
    case WM_CLOSE:
      // Closing is the handler's decision.
      Post(hwnd, PLATFORM_EVENT_CLOSE);
      return 0;
    case WM_QUERYENDSESSION:
      // Nothing here needs the player's answer; the settings are written at the end anyway.
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) {
        WindowsAskAllToClose();
      }
      return 0;
    case WM_ACTIVATE: {
      bool focused = LOWORD(wParam) != WA_INACTIVE;
      if (focused != record->focused) {
        record->focused = focused;
        Post(hwnd, focused ? PLATFORM_EVENT_ACTIVATE : PLATFORM_EVENT_DEACTIVATE);
      }
      break;
    }
    case WM_ACTIVATEAPP:
      if (!wParam && record->focused) {
        record->focused = false;
        Post(hwnd, PLATFORM_EVENT_DEACTIVATE);
      }
      break;
    case WM_SIZE: Resized(*record, wParam, lParam); break;
    case WM_DISPLAYCHANGE:
      if (!state.changingMode) {
        Post(hwnd, PLATFORM_EVENT_DISPLAY_CHANGE);
      }
      break;
    case WM_SETCURSOR:
      if (!record->cursorVisible && LOWORD(lParam) == HTCLIENT) {
        SetCursor(nullptr);
        return TRUE;
      }
      break;
    case WM_PAINT:
      if (Win32Painter() != nullptr) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        Win32Painter()(hwnd, dc);
        EndPaint(hwnd, &paint);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      // OpenGL and the pictures cover the whole client area; erasing first would flicker.
      return 1;
    default: break;
  }
  if (IsInputMessage(message)) {
    platformWindowEvent event;
    if (MouseEvent(message, wParam, lParam, event)) {
      if (!PlatformWindowShapeContains(Handle(hwnd), event.x, event.y)) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
      }
      Win32PostWindowEvent(Handle(hwnd), event);
    }
    if (Win32InputWindowMessage(hwnd, message, wParam, lParam)) {
      return 0;
    }
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}
