// SDL keyboard and mouse events in the Windows shapes: first through the hooks, then, unless a
// hook swallowed them, to the application's message handler.
#include "platform/sdl/sdl_input.h"

#include "platform/common/hook_chains.h"
#include "platform/common/key_strokes.h"
#include "platform/platform_system.h"
#include "platform/sdl/input/sdl_joystick_events.h"
#include "platform/sdl/input/sdl_keys.h"

namespace {

platformInputMessageProc messageHandler = nullptr;
// The buttons held, as the wParam key state bits; SDL events pushed by tests carry no state.
uint32_t buttonsHeld = 0;

void Deliver(platformWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (messageHandler != nullptr) messageHandler(window, message, wParam, lParam);
}

void HandleKey(const SDL_KeyboardEvent& key) {
  const sdlWindowsKey windowsKey =
      SdlKeyToWindows(key.keysym.scancode, (key.keysym.mod & KMOD_NUM) != 0);
  if (windowsKey.virtualKey == 0) return;
  keyStroke stroke;
  stroke.virtualKey = windowsKey.virtualKey;
  stroke.scanCode = windowsKey.scanCode;
  stroke.extended = windowsKey.extended;
  stroke.down = key.type == SDL_KEYDOWN;
  stroke.repeat = key.repeat != 0;
  // The Alt key's own event may carry its own modifier bit: only the other Alt counts.
  Uint16 alt = KMOD_ALT;
  if (key.keysym.scancode == SDL_SCANCODE_LALT) alt = KMOD_RALT;
  if (key.keysym.scancode == SDL_SCANCODE_RALT) alt = KMOD_LALT;
  stroke.otherAltHeld = (key.keysym.mod & alt) != 0;
  stroke.controlHeld = (key.keysym.mod & KMOD_CTRL) != 0;
  const keyStrokeShapes shapes = KeyStrokeShape(stroke, PlatformTickCount());
  if (HookChainRunKeyboard(shapes.message, shapes.hook) != 0) return;
  if (HookChainRunKeyboardLegacy(shapes.virtualKey, shapes.flags) != 0) return;
  Deliver(key.windowID, shapes.message, shapes.virtualKey, static_cast<intptr_t>(shapes.flags));
}

uint32_t KeyState() {
  const SDL_Keymod mod = SDL_GetModState();
  return buttonsHeld | ((mod & KMOD_SHIFT) != 0 ? PLATFORM_MK_SHIFT : 0) |
         ((mod & KMOD_CTRL) != 0 ? PLATFORM_MK_CONTROL : 0);
}

platformPoint ScreenPoint(uint32_t windowId, int32_t x, int32_t y) {
  platformPoint point{x, y};
  SDL_Window* window = SDL_GetWindowFromID(windowId);
  if (window != nullptr) {
    int left = 0;
    int top = 0;
    SDL_GetWindowPosition(window, &left, &top);
    point.x += left;
    point.y += top;
  }
  return point;
}

// Windows sends a window mouse moves only while the cursor is over its client area; X keeps
// reporting moves outside it while a button is held, with coordinates the message would
// read as huge unsigned distances.
bool InsideClientArea(uint32_t windowId, int32_t x, int32_t y) {
  SDL_Window* window = SDL_GetWindowFromID(windowId);
  if (window == nullptr) return true;
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window, &width, &height);
  return x >= 0 && y >= 0 && x < width && y < height;
}

// Runs the mouse hooks, then hands the message on. lParam holds the client point, or the
// screen point for wheel messages.
void SendMouse(uint32_t windowId, uint32_t message, uintptr_t wParam, int32_t x, int32_t y,
               uint32_t mouseData) {
  const platformPoint screen = ScreenPoint(windowId, x, y);
  platformMouseHookEvent event;
  event.x = screen.x;
  event.y = screen.y;
  event.mouseData = mouseData;
  event.time = PlatformTickCount();
  if (HookChainRunMouse(message, event) != 0) return;
  if (message == PLATFORM_WM_MOUSEMOVE && !InsideClientArea(windowId, x, y)) return;
  const bool wheel = message == PLATFORM_WM_MOUSEWHEEL || message == PLATFORM_WM_MOUSEHWHEEL;
  const uint32_t lParam = wheel ? PlatformMakeLong(screen.x, screen.y) : PlatformMakeLong(x, y);
  Deliver(windowId, message, wParam, static_cast<intptr_t>(lParam));
}

void HandleButton(const SDL_MouseButtonEvent& button) {
  const bool down = button.type == SDL_MOUSEBUTTONDOWN;
  uint32_t bit = 0;
  uint32_t message = 0;
  uint32_t xButton = 0;
  switch (button.button) {
    case SDL_BUTTON_LEFT:
      bit = PLATFORM_MK_LBUTTON;
      message = down ? PLATFORM_WM_LBUTTONDOWN : PLATFORM_WM_LBUTTONUP;
      break;
    case SDL_BUTTON_MIDDLE:
      bit = PLATFORM_MK_MBUTTON;
      message = down ? PLATFORM_WM_MBUTTONDOWN : PLATFORM_WM_MBUTTONUP;
      break;
    case SDL_BUTTON_RIGHT:
      bit = PLATFORM_MK_RBUTTON;
      message = down ? PLATFORM_WM_RBUTTONDOWN : PLATFORM_WM_RBUTTONUP;
      break;
    case SDL_BUTTON_X1:
    case SDL_BUTTON_X2:
      xButton = button.button == SDL_BUTTON_X1 ? PLATFORM_XBUTTON1 : PLATFORM_XBUTTON2;
      bit = button.button == SDL_BUTTON_X1 ? PLATFORM_MK_XBUTTON1 : PLATFORM_MK_XBUTTON2;
      message = down ? PLATFORM_WM_XBUTTONDOWN : PLATFORM_WM_XBUTTONUP;
      break;
    default: return;
  }
  // The key state in wParam is the state after the change, as Windows reports it.
  buttonsHeld = down ? (buttonsHeld | bit) : (buttonsHeld & ~bit);
  const uintptr_t wParam =
      PlatformMakeLong(static_cast<int32_t>(KeyState()), static_cast<int32_t>(xButton));
  SendMouse(button.windowID, message, wParam, button.x, button.y, xButton << 16);
}

void HandleWheel(const SDL_MouseWheelEvent& wheel) {
  const int32_t sign = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
  const int32_t vertical = wheel.y * sign * PLATFORM_WHEEL_DELTA;
  const int32_t horizontal = wheel.x * sign * PLATFORM_WHEEL_DELTA;
  if (vertical != 0) {
    const uintptr_t wParam = PlatformMakeLong(static_cast<int32_t>(KeyState()), vertical);
    SendMouse(wheel.windowID, PLATFORM_WM_MOUSEWHEEL, wParam, wheel.mouseX, wheel.mouseY,
              static_cast<uint32_t>(vertical) << 16);
  }
  if (horizontal != 0) {
    const uintptr_t wParam = PlatformMakeLong(static_cast<int32_t>(KeyState()), horizontal);
    SendMouse(wheel.windowID, PLATFORM_WM_MOUSEHWHEEL, wParam, wheel.mouseX, wheel.mouseY,
              static_cast<uint32_t>(horizontal) << 16);
  }
}

}  // namespace

bool SdlInputHandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: HandleKey(event.key); return true;
    case SDL_MOUSEMOTION:
      SendMouse(event.motion.windowID, PLATFORM_WM_MOUSEMOVE, KeyState(), event.motion.x,
                event.motion.y, 0);
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: HandleButton(event.button); return true;
    case SDL_MOUSEWHEEL: HandleWheel(event.wheel); return true;
    default: return SdlJoystickHandleEvent(event);
  }
}

void PlatformInputSetMessageHandler(platformInputMessageProc proc) { messageHandler = proc; }
