// The keyboard and mouse hooks: keys become control changes of the active set, and in full
// screen the cursor is kept inside the program's window.
#include "input/inputTables.h"
#include "services/fwkLog.h"

namespace {

bool IsKeyDown(uint32_t message) {
  return message == PLATFORM_WM_KEYDOWN || message == PLATFORM_WM_SYSKEYDOWN;
}

bool IsKeyUp(uint32_t message) {
  return message == PLATFORM_WM_KEYUP || message == PLATFORM_WM_SYSKEYUP;
}

// Posts a key to the active set: a press only while the control reads 0, so a key held down
// and repeating by itself gives one press and one release.
void PostKey(ControlCode code, bool down) {
  const int32_t active = InputState().activeSet;
  if (down) {
    if (InputControlValue(active, code) == 0) InputControlPost(active, code, 100);
  } else {
    InputControlPost(active, code, 0);
  }
}

intptr_t PassOn() { return PlatformHookCallNext(InputState().keyboardHook); }

// Alt+Tab leaves the program: let the switch happen, then stop listening until the shell
// puts the hook back when the program is active again.
intptr_t PassOnAndUnhook() {
  const intptr_t result = PassOn();
  InputKeyboardHookOff();
  return result;
}

int32_t Clamp(int32_t value, int32_t low, int32_t high) {
  if (value < low) return low;
  if (value > high) return high;
  return value;
}

}  // namespace

intptr_t InputKeyboardHookProc(int32_t code, uint32_t message,
                               const platformKeyboardHookEvent& event) {
  if (code != PLATFORM_HC_ACTION) return PassOn();
  const bool down = IsKeyDown(message);
  if (!down && !IsKeyUp(message)) return PassOn();
  const uint32_t vk = event.virtualKey;
  if (vk == PLATFORM_VK_SNAPSHOT) return PassOn();
  if (message == PLATFORM_WM_SYSKEYDOWN && vk == PLATFORM_VK_TAB &&
      (event.flags & PLATFORM_LLKHF_ALTDOWN) != 0) {
    return PassOnAndUnhook();
  }
  if (vk == PLATFORM_VK_LWIN || vk == PLATFORM_VK_RWIN) {
    return InputProgramIsFullscreen() ? 1 : PassOn();
  }
  if (InputState().activeSet > 0) {
    const uint32_t flags = (event.flags & PLATFORM_LLKHF_EXTENDED) != 0 ? PLATFORM_KF_EXTENDED : 0;
    const uint32_t keyFlags = flags | ((event.scanCode & 0xFF) << 16);
    PostKey(InputKeyToControl(message, vk, keyFlags), down);
  }
  return PassOn();
}

intptr_t InputKeyboardLegacyHookProc(int32_t code, uint32_t virtualKey, uint32_t flags) {
  if (code != PLATFORM_HC_ACTION) return PassOn();
  if (virtualKey == PLATFORM_VK_SNAPSHOT || InputState().activeSet <= 0) return PassOn();
  const bool down = (flags & PLATFORM_KF_UP) == 0;
  // Alt+Tab is told by the Alt context bit; the key's own repeat bit would also unhook on a
  // Tab that is merely held down, leaving the program deaf to the keyboard.
  if (down && virtualKey == PLATFORM_VK_TAB && (flags & PLATFORM_KF_ALTDOWN) != 0)
    return PassOnAndUnhook();
  PostKey(InputKeyToControl(down ? PLATFORM_WM_KEYDOWN : PLATFORM_WM_KEYUP, virtualKey, flags),
          down);
  return PassOn();
}

intptr_t InputMouseHookProc(int32_t code, uint32_t message, const platformMouseHookEvent& event) {
  const platformHook hook = InputState().mouseHook;
  if (code != PLATFORM_HC_ACTION || message != PLATFORM_WM_MOUSEMOVE ||
      !InputProgramIsFullscreen()) {
    return PlatformHookCallNext(hook);
  }
  const platformWindow window = InputProgramCurrentWindow();
  if (window == 0 || !PlatformWindowExists(window) || PlatformForegroundWindow() != window ||
      PlatformWindowIsMinimized(window)) {
    return PlatformHookCallNext(hook);
  }
  const platformPoint corner = PlatformWindowPosition(window);
  const platformRect client = PlatformWindowClientRect(window);
  const int32_t right = corner.x + client.width;
  const int32_t bottom = corner.y + client.height;
  const int32_t x = Clamp(event.x, corner.x, right - 1);
  const int32_t y = Clamp(event.y, corner.y, bottom - 1);
  if (x == event.x && y == event.y) return PlatformHookCallNext(hook);
  PlatformCursorSetPosition(x, y);
  return 1;
}

void InputKeyboardHookOn() {
  inputModuleState& state = InputState();
  if (state.keyboardHookInstalled) return;
  state.keyboardHook = PlatformKeyboardHookInstall(InputKeyboardHookProc);
  if (state.keyboardHook == 0)
    state.keyboardHook = PlatformKeyboardLegacyHookInstall(InputKeyboardLegacyHookProc);
  if (state.keyboardHook == 0) {
    LogError("InputKeyboardHookOn - Unable to hook keyboard.  " + LogWindowsError());
    return;
  }
  state.keyboardHookInstalled = true;
}

void InputKeyboardHookOff() {
  inputModuleState& state = InputState();
  if (!state.keyboardHookInstalled) return;
  PlatformHookRemove(state.keyboardHook);
  state.keyboardHook = 0;
  state.keyboardHookInstalled = false;
}

void InputMouseHookOn() {
  inputModuleState& state = InputState();
  if (state.mouseHookInstalled) return;
  state.mouseHook = PlatformMouseHookInstall(InputMouseHookProc);
  if (state.mouseHook == 0) {
    LogError("InputMouseHookOn - Unable to hook mouse.  " + LogWindowsError());
    return;
  }
  state.mouseHookInstalled = true;
}

void InputMouseHookOff() {
  inputModuleState& state = InputState();
  if (!state.mouseHookInstalled) return;
  PlatformHookRemove(state.mouseHook);
  state.mouseHook = 0;
  state.mouseHookInstalled = false;
}

bool InputKeyboardHookInstalled() { return InputState().keyboardHookInstalled; }

bool InputMouseHookInstalled() { return InputState().mouseHookInstalled; }

bool InputMouseButtonsSwapped() { return PlatformMouseButtonsSwapped(); }
