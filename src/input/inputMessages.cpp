// Mouse messages from the shell's message hook become control changes of the active set.
#include "input/inputTables.h"

namespace {

// A wheel turn is forward (positive) when its signed high word, read unsigned, is small.
bool WheelPositive(uintptr_t wParam) { return PlatformHighWord(wParam) < 0x7D00; }

int32_t DisplayOfWindow(platformWindow window) {
  for (const pointerWindow& entry : InputState().pointerWindows) {
    if (entry.handle == window) return entry.display;
  }
  return 0;
}

void MouseMove(controlSet& set, platformWindow window, intptr_t lParam) {
  inputModuleState& state = InputState();
  const int32_t x = static_cast<int32_t>(PlatformLowWord(static_cast<uint64_t>(lParam)));
  const int32_t y = static_cast<int32_t>(PlatformHighWord(static_cast<uint64_t>(lParam)));
  const int32_t lastX = state.lastMouseX;
  const int32_t lastY = state.lastMouseY;
  if (x < lastX) InputControlPost(set.id, 120, (lastX - x) * 100);
  if (x > lastX) InputControlPost(set.id, 121, (x - lastX) * 100);
  if (y < lastY) InputControlPost(set.id, 126, (lastY - y) * 100);
  if (y > lastY) InputControlPost(set.id, 119, (y - lastY) * 100);
  if ((x != lastX || y != lastY) && set.pointer.mapMouse) {
    set.pointer.window = DisplayOfWindow(window);
    set.pointer.x = x;
    set.pointer.y = y;
  }
  state.lastMouseX = x;
  state.lastMouseY = y;
}

}  // namespace

void InputMessage(platformWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  controlSet* set = InputFindSet(InputState().activeSet);
  if (set == nullptr) return;
  const int32_t id = set->id;
  switch (message) {
    case PLATFORM_WM_MOUSEMOVE: MouseMove(*set, window, lParam); break;
    case PLATFORM_WM_LBUTTONDOWN: InputControlPost(id, 114, 100); break;
    case PLATFORM_WM_LBUTTONUP: InputControlPost(id, 114, 0); break;
    case PLATFORM_WM_RBUTTONDOWN: InputControlPost(id, 116, 100); break;
    case PLATFORM_WM_RBUTTONUP: InputControlPost(id, 116, 0); break;
    case PLATFORM_WM_MBUTTONDOWN: InputControlPost(id, 115, 100); break;
    case PLATFORM_WM_MBUTTONUP: InputControlPost(id, 115, 0); break;
    case PLATFORM_WM_XBUTTONDOWN:
    case PLATFORM_WM_XBUTTONUP: {
      const int32_t value = message == PLATFORM_WM_XBUTTONDOWN ? 100 : 0;
      if (PlatformHighWord(wParam) == PLATFORM_XBUTTON1) InputControlPost(id, 117, value);
      if (PlatformHighWord(wParam) == PLATFORM_XBUTTON2) InputControlPost(id, 118, value);
      break;
    }
    case PLATFORM_WM_MOUSEWHEEL:
      InputControlPost(id, WheelPositive(wParam) ? 125 : 124, 100);
      break;
    case PLATFORM_WM_MOUSEHWHEEL:
      InputControlPost(id, WheelPositive(wParam) ? 123 : 122, 100);
      break;
    default: break;
  }
}
