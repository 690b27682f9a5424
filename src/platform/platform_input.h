// Keyboard and mouse events in the Windows shapes, hooks, system metrics, the cursor and
// joysticks of the platform contract.
//
// Keyboard events reach the program the way a Windows low-level keyboard hook sees them: a
// key message (WM_KEYDOWN, WM_SYSKEYDOWN, WM_KEYUP, WM_SYSKEYUP), the virtual key, the scan
// code and the LLKHF_ flags, with the values a standard US keyboard gives. Mouse events are
// Windows mouse messages (message number, wParam, lParam) for a window. All numbers are the
// Windows ones, so the input module keeps the algorithms it is specified with and a native
// backend is a direct mapping.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform_video.h"

// ---------------------------------------------------------------------------------------------
// Messages

constexpr uint32_t PLATFORM_WM_KEYDOWN = 0x0100;
constexpr uint32_t PLATFORM_WM_KEYUP = 0x0101;
constexpr uint32_t PLATFORM_WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t PLATFORM_WM_SYSKEYUP = 0x0105;
constexpr uint32_t PLATFORM_WM_MOUSEMOVE = 0x0200;
constexpr uint32_t PLATFORM_WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t PLATFORM_WM_LBUTTONUP = 0x0202;
constexpr uint32_t PLATFORM_WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t PLATFORM_WM_RBUTTONUP = 0x0205;
constexpr uint32_t PLATFORM_WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t PLATFORM_WM_MBUTTONUP = 0x0208;
constexpr uint32_t PLATFORM_WM_MOUSEWHEEL = 0x020A;
constexpr uint32_t PLATFORM_WM_XBUTTONDOWN = 0x020B;
constexpr uint32_t PLATFORM_WM_XBUTTONUP = 0x020C;
constexpr uint32_t PLATFORM_WM_MOUSEHWHEEL = 0x020E;

// Key state bits in the low word of a mouse message's wParam.
constexpr uint32_t PLATFORM_MK_LBUTTON = 0x0001;
constexpr uint32_t PLATFORM_MK_RBUTTON = 0x0002;
constexpr uint32_t PLATFORM_MK_SHIFT = 0x0004;
constexpr uint32_t PLATFORM_MK_CONTROL = 0x0008;
constexpr uint32_t PLATFORM_MK_MBUTTON = 0x0010;
constexpr uint32_t PLATFORM_MK_XBUTTON1 = 0x0020;
constexpr uint32_t PLATFORM_MK_XBUTTON2 = 0x0040;
// High word of an X button message's wParam.
constexpr uint32_t PLATFORM_XBUTTON1 = 1;
constexpr uint32_t PLATFORM_XBUTTON2 = 2;
// One wheel notch, in the signed high word of a wheel message's wParam.
constexpr int32_t PLATFORM_WHEEL_DELTA = 120;

constexpr uint32_t PlatformLowWord(uint64_t value) { return static_cast<uint32_t>(value & 0xFFFF); }
constexpr uint32_t PlatformHighWord(uint64_t value) {
  return static_cast<uint32_t>((value >> 16) & 0xFFFF);
}
// MAKELPARAM / MAKEWPARAM: each half keeps only its low 16 bits.
constexpr uint32_t PlatformMakeLong(int32_t low, int32_t high) {
  return (static_cast<uint32_t>(low) & 0xFFFF) | ((static_cast<uint32_t>(high) & 0xFFFF) << 16);
}

// ---------------------------------------------------------------------------------------------
// Virtual keys (the letters and digits are their upper-case ASCII codes)

constexpr uint32_t PLATFORM_VK_BACK = 0x08;
constexpr uint32_t PLATFORM_VK_TAB = 0x09;
constexpr uint32_t PLATFORM_VK_CLEAR = 0x0C;
constexpr uint32_t PLATFORM_VK_RETURN = 0x0D;
constexpr uint32_t PLATFORM_VK_SHIFT = 0x10;
constexpr uint32_t PLATFORM_VK_CONTROL = 0x11;
constexpr uint32_t PLATFORM_VK_MENU = 0x12;
constexpr uint32_t PLATFORM_VK_PAUSE = 0x13;
constexpr uint32_t PLATFORM_VK_CAPITAL = 0x14;
constexpr uint32_t PLATFORM_VK_ESCAPE = 0x1B;
constexpr uint32_t PLATFORM_VK_SPACE = 0x20;
constexpr uint32_t PLATFORM_VK_PRIOR = 0x21;
constexpr uint32_t PLATFORM_VK_NEXT = 0x22;
constexpr uint32_t PLATFORM_VK_END = 0x23;
constexpr uint32_t PLATFORM_VK_HOME = 0x24;
constexpr uint32_t PLATFORM_VK_LEFT = 0x25;
constexpr uint32_t PLATFORM_VK_UP = 0x26;
constexpr uint32_t PLATFORM_VK_RIGHT = 0x27;
constexpr uint32_t PLATFORM_VK_DOWN = 0x28;
constexpr uint32_t PLATFORM_VK_SNAPSHOT = 0x2C;
constexpr uint32_t PLATFORM_VK_INSERT = 0x2D;
constexpr uint32_t PLATFORM_VK_DELETE = 0x2E;
constexpr uint32_t PLATFORM_VK_LWIN = 0x5B;
constexpr uint32_t PLATFORM_VK_RWIN = 0x5C;
constexpr uint32_t PLATFORM_VK_APPS = 0x5D;
constexpr uint32_t PLATFORM_VK_NUMPAD0 = 0x60;
constexpr uint32_t PLATFORM_VK_NUMPAD5 = 0x65;
constexpr uint32_t PLATFORM_VK_NUMPAD9 = 0x69;
constexpr uint32_t PLATFORM_VK_MULTIPLY = 0x6A;
constexpr uint32_t PLATFORM_VK_ADD = 0x6B;
constexpr uint32_t PLATFORM_VK_SUBTRACT = 0x6D;
constexpr uint32_t PLATFORM_VK_DECIMAL = 0x6E;
constexpr uint32_t PLATFORM_VK_DIVIDE = 0x6F;
constexpr uint32_t PLATFORM_VK_F1 = 0x70;
constexpr uint32_t PLATFORM_VK_F24 = 0x87;
constexpr uint32_t PLATFORM_VK_NUMLOCK = 0x90;
constexpr uint32_t PLATFORM_VK_SCROLL = 0x91;
constexpr uint32_t PLATFORM_VK_LSHIFT = 0xA0;
constexpr uint32_t PLATFORM_VK_RSHIFT = 0xA1;
constexpr uint32_t PLATFORM_VK_LCONTROL = 0xA2;
constexpr uint32_t PLATFORM_VK_RCONTROL = 0xA3;
constexpr uint32_t PLATFORM_VK_LMENU = 0xA4;
constexpr uint32_t PLATFORM_VK_RMENU = 0xA5;
constexpr uint32_t PLATFORM_VK_VOLUME_MUTE = 0xAD;
constexpr uint32_t PLATFORM_VK_VOLUME_DOWN = 0xAE;
constexpr uint32_t PLATFORM_VK_VOLUME_UP = 0xAF;
constexpr uint32_t PLATFORM_VK_MEDIA_NEXT_TRACK = 0xB0;
constexpr uint32_t PLATFORM_VK_MEDIA_PREV_TRACK = 0xB1;
constexpr uint32_t PLATFORM_VK_MEDIA_STOP = 0xB2;
constexpr uint32_t PLATFORM_VK_MEDIA_PLAY_PAUSE = 0xB3;
constexpr uint32_t PLATFORM_VK_OEM_1 = 0xBA;       // ;
constexpr uint32_t PLATFORM_VK_OEM_PLUS = 0xBB;    // =
constexpr uint32_t PLATFORM_VK_OEM_COMMA = 0xBC;   // ,
constexpr uint32_t PLATFORM_VK_OEM_MINUS = 0xBD;   // -
constexpr uint32_t PLATFORM_VK_OEM_PERIOD = 0xBE;  // .
constexpr uint32_t PLATFORM_VK_OEM_2 = 0xBF;       // /
constexpr uint32_t PLATFORM_VK_OEM_3 = 0xC0;       // `
constexpr uint32_t PLATFORM_VK_OEM_4 = 0xDB;       // [
constexpr uint32_t PLATFORM_VK_OEM_5 = 0xDC;       // backslash
constexpr uint32_t PLATFORM_VK_OEM_6 = 0xDD;       // ]
constexpr uint32_t PLATFORM_VK_OEM_7 = 0xDE;       // '
constexpr uint32_t PLATFORM_VK_OEM_102 = 0xE2;     // the extra key of ISO keyboards

// Key message flags (lParam of WM_KEYDOWN and of the keyboard hook): repeat count in bits
// 0..15, scan code in 16..23, then these.
constexpr uint32_t PLATFORM_KF_EXTENDED = 1u << 24;
constexpr uint32_t PLATFORM_KF_ALTDOWN = 1u << 29;
constexpr uint32_t PLATFORM_KF_REPEAT = 1u << 30;  // the key was already down
constexpr uint32_t PLATFORM_KF_UP = 1u << 31;

// Flags of a low-level keyboard hook event.
constexpr uint32_t PLATFORM_LLKHF_EXTENDED = 0x01;
constexpr uint32_t PLATFORM_LLKHF_INJECTED = 0x10;
constexpr uint32_t PLATFORM_LLKHF_ALTDOWN = 0x20;
constexpr uint32_t PLATFORM_LLKHF_UP = 0x80;

// MapVirtualKey in mode 3 (scan code to the left/right-distinguishing virtual key) for the US
// layout; 0 when the scan code names no key.
uint32_t PlatformMapScanCodeToVirtualKeyEx(uint32_t scanCode);

// ---------------------------------------------------------------------------------------------
// Hooks
//
// A hook procedure sees every event of its kind before any window does. It returns non-zero
// to swallow the event (no window receives it), or passes it on by returning the result of
// PlatformHookCallNext, which runs the hooks installed before it. Hooks of one kind form a
// chain, newest first. Procedures may remove their own hook while they run.

constexpr int32_t PLATFORM_HC_ACTION = 0;

struct platformKeyboardHookEvent {
  uint32_t virtualKey = 0;  // left/right-distinguishing: VK_LSHIFT, never VK_SHIFT
  uint32_t scanCode = 0;
  uint32_t flags = 0;  // PLATFORM_LLKHF_
  uint32_t time = 0;   // tick count of the event
};

// pt in screen coordinates; mouseData the signed wheel delta (high word) or the X button
// (high word), as in the message.
struct platformMouseHookEvent {
  int32_t x = 0;
  int32_t y = 0;
  uint32_t mouseData = 0;
  uint32_t flags = 0;
  uint32_t time = 0;
};

using platformHook = int32_t;  // 0 is none
// Low-level keyboard hook: message is the key message.
using platformKeyboardHookProc = intptr_t (*)(int32_t code, uint32_t message,
                                              const platformKeyboardHookEvent& event);
// Keyboard hook of the older kind: the virtual key does not tell left from right
// (VK_SHIFT, VK_CONTROL, VK_MENU) and flags are the key message flags (PLATFORM_KF_).
using platformKeyboardLegacyHookProc = intptr_t (*)(int32_t code, uint32_t virtualKey,
                                                    uint32_t flags);
// Low-level mouse hook: message is the mouse message.
using platformMouseHookProc = intptr_t (*)(int32_t code, uint32_t message,
                                           const platformMouseHookEvent& event);

// 0 when the hook cannot be installed (PlatformLastError tells why).
platformHook PlatformKeyboardHookInstall(platformKeyboardHookProc proc);
platformHook PlatformKeyboardLegacyHookInstall(platformKeyboardLegacyHookProc proc);
platformHook PlatformMouseHookInstall(platformMouseHookProc proc);
bool PlatformHookRemove(platformHook hook);
// Called from inside a hook procedure: the event goes on to the hooks installed before this
// one; their answer (0 when there are none).
intptr_t PlatformHookCallNext(platformHook hook);

// Tests: make the next installs of a kind fail (as a system refusing the hook would).
enum platformHookKind : int32_t {
  PLATFORM_HOOK_KEYBOARD_LL = 13,
  PLATFORM_HOOK_KEYBOARD = 2,
  PLATFORM_HOOK_MOUSE_LL = 14,
};
void PlatformHookSetRefused(platformHookKind kind, bool refused);

// ---------------------------------------------------------------------------------------------
// Messages to the application

// Receives every keyboard and mouse message that no hook swallowed, with the window it is
// for. Keyboard messages carry the virtual key (VK_SHIFT, not VK_LSHIFT) and the key
// message flags; mouse messages carry client coordinates in lParam (screen coordinates for
// the wheel messages, as Windows sends them).
using platformInputMessageProc = void (*)(platformWindow window, uint32_t message, uintptr_t wParam,
                                          intptr_t lParam);
void PlatformInputSetMessageHandler(platformInputMessageProc proc);

// Headless runs, replays and tests: queue input as the devices would give it. The next
// PlatformPumpMessages delivers it through the hooks and the message handler like real input.
// A key is named by its virtual key and extended flag as a low-level hook reports it
// (VK_END without the flag is the keypad's 1 with Num Lock off, VK_NUMPAD1 the same key with
// it on); a key pressed again before its release repeats. Buttons are 1 left, 2 middle,
// 3 right, 4 and 5 the X buttons. False when the key or button is unknown or the queue is full.
bool PlatformInputInjectKey(uint32_t virtualKey, bool extended, bool down);
bool PlatformInputInjectMouseMove(platformWindow window, int32_t x, int32_t y);
bool PlatformInputInjectMouseButton(platformWindow window, int32_t button, bool down, int32_t x,
                                    int32_t y);
bool PlatformInputInjectMouseWheel(platformWindow window, int32_t notchesRight, int32_t notchesUp);

// ---------------------------------------------------------------------------------------------
// System metrics and the cursor

bool PlatformMouseButtonsSwapped();          // SM_SWAPBUTTON
bool PlatformMouseWheelPresent();            // SM_MOUSEWHEELPRESENT
bool PlatformMouseHorizontalWheelPresent();  // SM_MOUSEHORIZONTALWHEELPRESENT
// Tests and headless runs: set the three answers.
void PlatformSetMouseMetrics(bool buttonsSwapped, bool wheel, bool horizontalWheel);

// Screen coordinates; false when the system cannot tell or move it.
bool PlatformCursorPosition(int32_t& x, int32_t& y);
bool PlatformCursorSetPosition(int32_t x, int32_t y);
// The window that has the keyboard focus (the foreground window); 0 when none of ours.
platformWindow PlatformForegroundWindow();
// Headless runs have no window system to give the focus: tests name the foreground window.
void PlatformHeadlessSetForegroundWindow(platformWindow window);

// ---------------------------------------------------------------------------------------------
// Joysticks

constexpr uint32_t PLATFORM_JOYCAPS_HASZ = 0x01;
constexpr uint32_t PLATFORM_JOYCAPS_HASR = 0x02;
constexpr uint32_t PLATFORM_JOYCAPS_HASU = 0x04;
constexpr uint32_t PLATFORM_JOYCAPS_HASV = 0x08;
constexpr uint32_t PLATFORM_JOYCAPS_HASPOV = 0x10;

// The capabilities of one device, as the multimedia joystick interface reports them.
struct platformJoystickCaps {
  uint16_t manufacturerId = 0;
  uint16_t productId = 0;
  std::string productName;  // the driver's name (at most 31 characters)
  uint32_t numButtons = 0;  // at most 32
  uint32_t maxButtons = 32;
  uint32_t caps = 0;     // PLATFORM_JOYCAPS_
  uint32_t numAxes = 0;  // at most 6: X, Y, Z, R, U, V
  uint32_t maxAxes = 6;
  std::string registryKey;  // key of the device's registry entries (at most 32 characters)
  // The device's own name when the system knows one (SDL does; Windows keeps it in the
  // registry instead, under the key above); "" otherwise.
  std::string deviceName;
};

// Axis positions 0..65535 (centre 32767 or 32768); bit n of buttons is button n + 1.
struct platformJoystickPosition {
  uint32_t x = 0;
  uint32_t y = 0;
  uint32_t z = 0;
  uint32_t buttons = 0;
};

// The number of device ids the system supports (joyGetNumDevs); ids run from 0.
int32_t PlatformJoystickDeviceCount();
// False when the device is absent or unplugged.
bool PlatformJoystickPosition(int32_t device, platformJoystickPosition& position);
bool PlatformJoystickCapabilities(int32_t device, platformJoystickCaps& caps);

// Controllers while the program runs. Buttons are sub-controls 1..32 (button n + 1), axes 0..5
// the X, Y, Z, R, U and V directions with the deflection in percent (a small dead zone reads 0),
// and a hat moves the X and Y directions as a d-pad does (100 or 0). A device plugged in is
// opened and announced; one pulled out is announced with the instance it had.
enum platformJoystickEventKind { PLATFORM_JOY_ADDED, PLATFORM_JOY_REMOVED, PLATFORM_JOY_CONTROL };
struct platformJoystickEvent {
  platformJoystickEventKind kind = PLATFORM_JOY_CONTROL;
  int32_t device = -1;    // device id, for PLATFORM_JOY_ADDED
  int32_t instance = -1;  // stays the same while the device is plugged in
  int32_t subControl = 0;
  int32_t value = 0;
};
using platformJoystickHandler = void (*)(const platformJoystickEvent& event);
void PlatformJoystickSetHandler(platformJoystickHandler handler);
// The instance of a device id; -1 when there is none.
int32_t PlatformJoystickInstance(int32_t device);

// The buttons of a game pad by their place, whatever the device numbers them.
enum platformPadButton {
  PLATFORM_PAD_SOUTH,
  PLATFORM_PAD_EAST,
  PLATFORM_PAD_START,
  PLATFORM_PAD_LEFT,
  PLATFORM_PAD_RIGHT,
  PLATFORM_PAD_DOWN,
  PLATFORM_PAD_BACK,
};
// The sub-control that carries the button on the device (a button, or an axis direction for a
// d-pad that is a hat); 0 when the device has no such button or is not a known game pad.
int32_t PlatformJoystickPadControl(int32_t instance, platformPadButton button);
