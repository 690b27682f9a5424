// Input queued by the program itself (headless runs, replays, tests): each event waits in a
// queue and a message of the input part's own is posted to the application window for it, so
// injected input takes the message pump's road and arrives in order with everything else.
// System hooks never see posted messages: the program's hook chain runs where the event
// arrives, and an injected mouse message goes on to its window as a real one.
#include <windows.h>

#include <deque>
#include <map>
#include <set>

#include "platform/common/app_window_source.h"
#include "platform/common/hook_chains.h"
#include "platform/common/key_strokes.h"
#include "platform/common/key_table.h"
#include "platform/platform_system.h"
#include "platform/win32/input/win32_input_parts.h"

namespace {

// Well below the system's limit of posted messages per queue.
constexpr size_t kMaxPending = 4096;

struct injectedEvent {
  bool key = false;
  keyStroke stroke;
  platformWindow window = 0;
  UINT message = 0;
  WPARAM wParam = 0;
  POINT client{};
};

std::deque<injectedEvent> pending;
std::set<uint32_t> keysDown;                   // left/right-distinguishing virtual keys
uint32_t buttonsHeld = 0;                      // MK_ bits
std::map<platformWindow, POINT> lastPosition;  // client coordinates, per window

bool Held(uint32_t virtualKey) { return keysDown.count(virtualKey) != 0; }

bool Queue(const injectedEvent& event) {
  const platformWindow app = AppWindowFromSource();
  if (app == 0 || pending.size() >= kMaxPending) return false;
  if (!PostMessageA(reinterpret_cast<HWND>(app), kWin32InjectedInput, 0, 0)) return false;
  pending.push_back(event);
  return true;
}

uint32_t KeyState() {
  return buttonsHeld | (Held(VK_LSHIFT) || Held(VK_RSHIFT) ? MK_SHIFT : 0) |
         (Held(VK_LCONTROL) || Held(VK_RCONTROL) ? MK_CONTROL : 0);
}

bool QueueMouse(platformWindow window, UINT message, int32_t highWord, POINT client) {
  injectedEvent event;
  event.window = window;
  event.message = message;
  event.wParam = PlatformMakeLong(static_cast<int32_t>(KeyState()), highWord);
  event.client = client;
  return Queue(event);
}

void RunKey(const keyStroke& stroke) {
  const keyStrokeShapes shapes = KeyStrokeShape(stroke, PlatformTickCount());
  if (HookChainRunKeyboard(shapes.message, shapes.hook) != 0) return;
  if (HookChainRunKeyboardLegacy(shapes.virtualKey, shapes.flags) != 0) return;
  // Keys go to the window with the keyboard focus.
  Win32InputDeliver(PlatformForegroundWindow(), shapes.message, shapes.virtualKey,
                    static_cast<intptr_t>(shapes.flags));
}

void RunMouse(const injectedEvent& event) {
  HWND window = reinterpret_cast<HWND>(event.window);
  const bool live = window != nullptr && IsWindow(window);
  const bool wheel = event.message == WM_MOUSEWHEEL || event.message == WM_MOUSEHWHEEL;
  POINT screen = event.client;
  if (live) ClientToScreen(window, &screen);
  const POINT shown = wheel ? screen : event.client;
  const LPARAM lParam = static_cast<LPARAM>(PlatformMakeLong(shown.x, shown.y));
  if (!live) {
    Win32InputMouseMessage(nullptr, event.message, event.wParam, lParam, false);
    return;
  }
  platformMouseHookEvent hook;
  hook.x = screen.x;
  hook.y = screen.y;
  if (wheel || event.message == WM_XBUTTONDOWN || event.message == WM_XBUTTONUP) {
    hook.mouseData = static_cast<uint32_t>(HIWORD(event.wParam)) << 16;
  }
  hook.time = PlatformTickCount();
  if (HookChainRunMouse(event.message, hook) != 0) return;
  Win32InputReplay(window, event.message, event.wParam, lParam);
}

}  // namespace

void Win32InputInjectedArrived() {
  if (pending.empty()) return;
  const injectedEvent event = pending.front();
  pending.pop_front();
  if (event.key) {
    RunKey(event.stroke);
  } else {
    RunMouse(event);
  }
}

bool PlatformInputInjectKey(uint32_t virtualKey, bool extended, bool down) {
  bool numLock = false;
  const keyTableEntry key = KeyTableFind(virtualKey, extended, numLock);
  if (key.virtualKey == 0) return false;
  injectedEvent event;
  event.key = true;
  event.stroke.virtualKey = key.virtualKey;
  event.stroke.scanCode = key.scanCode;
  event.stroke.extended = key.extended;
  event.stroke.down = down;
  event.stroke.repeat = down && Held(virtualKey);
  const bool isLeftAlt = virtualKey == VK_LMENU;
  const bool isRightAlt = virtualKey == VK_RMENU;
  event.stroke.otherAltHeld = (!isLeftAlt && Held(VK_LMENU)) || (!isRightAlt && Held(VK_RMENU));
  event.stroke.controlHeld = Held(VK_LCONTROL) || Held(VK_RCONTROL);
  if (!Queue(event)) return false;
  if (down) {
    keysDown.insert(virtualKey);
  } else {
    keysDown.erase(virtualKey);
  }
  return true;
}

bool PlatformInputInjectMouseMove(platformWindow window, int32_t x, int32_t y) {
  lastPosition[window] = POINT{x, y};
  return QueueMouse(window, WM_MOUSEMOVE, 0, POINT{x, y});
}

bool PlatformInputInjectMouseButton(platformWindow window, int32_t button, bool down, int32_t x,
                                    int32_t y) {
  struct buttonRow {
    UINT down;
    UINT up;
    uint32_t bit;
    int32_t xButton;
  };
  static constexpr buttonRow kButtons[] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, 0},
                                           {WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON, 0},
                                           {WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 0},
                                           {WM_XBUTTONDOWN, WM_XBUTTONUP, MK_XBUTTON1, XBUTTON1},
                                           {WM_XBUTTONDOWN, WM_XBUTTONUP, MK_XBUTTON2, XBUTTON2}};
  if (button < 1 || button > 5) return false;
  const buttonRow& row = kButtons[button - 1];
  // The key state is the state after the change, as Windows reports it.
  const uint32_t before = buttonsHeld;
  buttonsHeld = down ? (buttonsHeld | row.bit) : (buttonsHeld & ~row.bit);
  lastPosition[window] = POINT{x, y};
  if (QueueMouse(window, down ? row.down : row.up, row.xButton, POINT{x, y})) return true;
  buttonsHeld = before;
  return false;
}

bool PlatformInputInjectMouseWheel(platformWindow window, int32_t notchesRight, int32_t notchesUp) {
  const POINT at = lastPosition[window];
  if (notchesUp != 0 && !QueueMouse(window, WM_MOUSEWHEEL, notchesUp * WHEEL_DELTA, at))
    return false;
  if (notchesRight != 0 && !QueueMouse(window, WM_MOUSEHWHEEL, notchesRight * WHEEL_DELTA, at))
    return false;
  return true;
}
