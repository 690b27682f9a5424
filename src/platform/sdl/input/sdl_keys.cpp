// The US keyboard table: SDL scancodes to Windows virtual keys, set-1 scan codes and the
// extended flag (keys whose scan code comes after an E0 prefix).
#include "platform/sdl/input/sdl_keys.h"

#include <array>

#include "platform/platform_input.h"

namespace {

struct keyRow {
  SDL_Scancode sdl;
  uint32_t virtualKey;
  uint32_t scanCode;
  bool extended;
};

// The keypad with Num Lock on; with it off the same keys give the navigation keys below.
struct keypadRow {
  SDL_Scancode sdl;
  uint32_t digitKey;
  uint32_t navigationKey;
  uint32_t scanCode;
};

constexpr std::array<keypadRow, 11> kKeypad = {{
    {SDL_SCANCODE_KP_0, PLATFORM_VK_NUMPAD0, PLATFORM_VK_INSERT, 0x52},
    {SDL_SCANCODE_KP_1, PLATFORM_VK_NUMPAD0 + 1, PLATFORM_VK_END, 0x4F},
    {SDL_SCANCODE_KP_2, PLATFORM_VK_NUMPAD0 + 2, PLATFORM_VK_DOWN, 0x50},
    {SDL_SCANCODE_KP_3, PLATFORM_VK_NUMPAD0 + 3, PLATFORM_VK_NEXT, 0x51},
    {SDL_SCANCODE_KP_4, PLATFORM_VK_NUMPAD0 + 4, PLATFORM_VK_LEFT, 0x4B},
    {SDL_SCANCODE_KP_5, PLATFORM_VK_NUMPAD5, PLATFORM_VK_CLEAR, 0x4C},
    {SDL_SCANCODE_KP_6, PLATFORM_VK_NUMPAD0 + 6, PLATFORM_VK_RIGHT, 0x4D},
    {SDL_SCANCODE_KP_7, PLATFORM_VK_NUMPAD0 + 7, PLATFORM_VK_HOME, 0x47},
    {SDL_SCANCODE_KP_8, PLATFORM_VK_NUMPAD0 + 8, PLATFORM_VK_UP, 0x48},
    {SDL_SCANCODE_KP_9, PLATFORM_VK_NUMPAD9, PLATFORM_VK_PRIOR, 0x49},
    {SDL_SCANCODE_KP_PERIOD, PLATFORM_VK_DECIMAL, PLATFORM_VK_DELETE, 0x53},
}};

constexpr keyRow kKeys[] = {
    {SDL_SCANCODE_A, 'A', 0x1E, false}, {SDL_SCANCODE_B, 'B', 0x30, false},
    {SDL_SCANCODE_C, 'C', 0x2E, false}, {SDL_SCANCODE_D, 'D', 0x20, false},
    {SDL_SCANCODE_E, 'E', 0x12, false}, {SDL_SCANCODE_F, 'F', 0x21, false},
    {SDL_SCANCODE_G, 'G', 0x22, false}, {SDL_SCANCODE_H, 'H', 0x23, false},
    {SDL_SCANCODE_I, 'I', 0x17, false}, {SDL_SCANCODE_J, 'J', 0x24, false},
    {SDL_SCANCODE_K, 'K', 0x25, false}, {SDL_SCANCODE_L, 'L', 0x26, false},
    {SDL_SCANCODE_M, 'M', 0x32, false}, {SDL_SCANCODE_N, 'N', 0x31, false},
    {SDL_SCANCODE_O, 'O', 0x18, false}, {SDL_SCANCODE_P, 'P', 0x19, false},
    {SDL_SCANCODE_Q, 'Q', 0x10, false}, {SDL_SCANCODE_R, 'R', 0x13, false},
    {SDL_SCANCODE_S, 'S', 0x1F, false}, {SDL_SCANCODE_T, 'T', 0x14, false},
    {SDL_SCANCODE_U, 'U', 0x16, false}, {SDL_SCANCODE_V, 'V', 0x2F, false},
    {SDL_SCANCODE_W, 'W', 0x11, false}, {SDL_SCANCODE_X, 'X', 0x2D, false},
    {SDL_SCANCODE_Y, 'Y', 0x15, false}, {SDL_SCANCODE_Z, 'Z', 0x2C, false},
    {SDL_SCANCODE_1, '1', 0x02, false}, {SDL_SCANCODE_2, '2', 0x03, false},
    {SDL_SCANCODE_3, '3', 0x04, false}, {SDL_SCANCODE_4, '4', 0x05, false},
    {SDL_SCANCODE_5, '5', 0x06, false}, {SDL_SCANCODE_6, '6', 0x07, false},
    {SDL_SCANCODE_7, '7', 0x08, false}, {SDL_SCANCODE_8, '8', 0x09, false},
    {SDL_SCANCODE_9, '9', 0x0A, false}, {SDL_SCANCODE_0, '0', 0x0B, false},
    {SDL_SCANCODE_RETURN, PLATFORM_VK_RETURN, 0x1C, false},
    {SDL_SCANCODE_ESCAPE, PLATFORM_VK_ESCAPE, 0x01, false},
    {SDL_SCANCODE_BACKSPACE, PLATFORM_VK_BACK, 0x0E, false},
    {SDL_SCANCODE_TAB, PLATFORM_VK_TAB, 0x0F, false},
    {SDL_SCANCODE_SPACE, PLATFORM_VK_SPACE, 0x39, false},
    {SDL_SCANCODE_MINUS, PLATFORM_VK_OEM_MINUS, 0x0C, false},
    {SDL_SCANCODE_EQUALS, PLATFORM_VK_OEM_PLUS, 0x0D, false},
    {SDL_SCANCODE_LEFTBRACKET, PLATFORM_VK_OEM_4, 0x1A, false},
    {SDL_SCANCODE_RIGHTBRACKET, PLATFORM_VK_OEM_6, 0x1B, false},
    {SDL_SCANCODE_BACKSLASH, PLATFORM_VK_OEM_5, 0x2B, false},
    {SDL_SCANCODE_NONUSHASH, PLATFORM_VK_OEM_5, 0x2B, false},
    {SDL_SCANCODE_SEMICOLON, PLATFORM_VK_OEM_1, 0x27, false},
    {SDL_SCANCODE_APOSTROPHE, PLATFORM_VK_OEM_7, 0x28, false},
    {SDL_SCANCODE_GRAVE, PLATFORM_VK_OEM_3, 0x29, false},
    {SDL_SCANCODE_COMMA, PLATFORM_VK_OEM_COMMA, 0x33, false},
    {SDL_SCANCODE_PERIOD, PLATFORM_VK_OEM_PERIOD, 0x34, false},
    {SDL_SCANCODE_SLASH, PLATFORM_VK_OEM_2, 0x35, false},
    {SDL_SCANCODE_NONUSBACKSLASH, PLATFORM_VK_OEM_102, 0x56, false},
    {SDL_SCANCODE_CAPSLOCK, PLATFORM_VK_CAPITAL, 0x3A, false},
    {SDL_SCANCODE_F1, PLATFORM_VK_F1, 0x3B, false}, {SDL_SCANCODE_F2, PLATFORM_VK_F1 + 1, 0x3C, false},
    {SDL_SCANCODE_F3, PLATFORM_VK_F1 + 2, 0x3D, false}, {SDL_SCANCODE_F4, PLATFORM_VK_F1 + 3, 0x3E, false},
    {SDL_SCANCODE_F5, PLATFORM_VK_F1 + 4, 0x3F, false}, {SDL_SCANCODE_F6, PLATFORM_VK_F1 + 5, 0x40, false},
    {SDL_SCANCODE_F7, PLATFORM_VK_F1 + 6, 0x41, false}, {SDL_SCANCODE_F8, PLATFORM_VK_F1 + 7, 0x42, false},
    {SDL_SCANCODE_F9, PLATFORM_VK_F1 + 8, 0x43, false}, {SDL_SCANCODE_F10, PLATFORM_VK_F1 + 9, 0x44, false},
    {SDL_SCANCODE_F11, PLATFORM_VK_F1 + 10, 0x57, false}, {SDL_SCANCODE_F12, PLATFORM_VK_F1 + 11, 0x58, false},
    {SDL_SCANCODE_F13, PLATFORM_VK_F1 + 12, 0x64, false}, {SDL_SCANCODE_F14, PLATFORM_VK_F1 + 13, 0x65, false},
    {SDL_SCANCODE_F15, PLATFORM_VK_F1 + 14, 0x66, false}, {SDL_SCANCODE_F16, PLATFORM_VK_F1 + 15, 0x67, false},
    {SDL_SCANCODE_F17, PLATFORM_VK_F1 + 16, 0x68, false}, {SDL_SCANCODE_F18, PLATFORM_VK_F1 + 17, 0x69, false},
    {SDL_SCANCODE_F19, PLATFORM_VK_F1 + 18, 0x6A, false}, {SDL_SCANCODE_F20, PLATFORM_VK_F1 + 19, 0x6B, false},
    {SDL_SCANCODE_F21, PLATFORM_VK_F1 + 20, 0x6C, false}, {SDL_SCANCODE_F22, PLATFORM_VK_F1 + 21, 0x6D, false},
    {SDL_SCANCODE_F23, PLATFORM_VK_F1 + 22, 0x6E, false}, {SDL_SCANCODE_F24, PLATFORM_VK_F24, 0x76, false},
    {SDL_SCANCODE_PRINTSCREEN, PLATFORM_VK_SNAPSHOT, 0x37, true},
    {SDL_SCANCODE_SCROLLLOCK, PLATFORM_VK_SCROLL, 0x46, false},
    // Pause sends E1 1D 45; hooks see its scan code 0x45 without the extended flag, while
    // Num Lock is E0 45.
    {SDL_SCANCODE_PAUSE, PLATFORM_VK_PAUSE, 0x45, false},
    {SDL_SCANCODE_NUMLOCKCLEAR, PLATFORM_VK_NUMLOCK, 0x45, true},
    {SDL_SCANCODE_INSERT, PLATFORM_VK_INSERT, 0x52, true},
    {SDL_SCANCODE_HOME, PLATFORM_VK_HOME, 0x47, true},
    {SDL_SCANCODE_PAGEUP, PLATFORM_VK_PRIOR, 0x49, true},
    {SDL_SCANCODE_DELETE, PLATFORM_VK_DELETE, 0x53, true},
    {SDL_SCANCODE_END, PLATFORM_VK_END, 0x4F, true},
    {SDL_SCANCODE_PAGEDOWN, PLATFORM_VK_NEXT, 0x51, true},
    {SDL_SCANCODE_RIGHT, PLATFORM_VK_RIGHT, 0x4D, true},
    {SDL_SCANCODE_LEFT, PLATFORM_VK_LEFT, 0x4B, true},
    {SDL_SCANCODE_DOWN, PLATFORM_VK_DOWN, 0x50, true},
    {SDL_SCANCODE_UP, PLATFORM_VK_UP, 0x48, true},
    {SDL_SCANCODE_KP_DIVIDE, PLATFORM_VK_DIVIDE, 0x35, true},
    {SDL_SCANCODE_KP_MULTIPLY, PLATFORM_VK_MULTIPLY, 0x37, false},
    {SDL_SCANCODE_KP_MINUS, PLATFORM_VK_SUBTRACT, 0x4A, false},
    {SDL_SCANCODE_KP_PLUS, PLATFORM_VK_ADD, 0x4E, false},
    {SDL_SCANCODE_KP_ENTER, PLATFORM_VK_RETURN, 0x1C, true},
    {SDL_SCANCODE_APPLICATION, PLATFORM_VK_APPS, 0x5D, true},
    {SDL_SCANCODE_LCTRL, PLATFORM_VK_LCONTROL, 0x1D, false},
    {SDL_SCANCODE_LSHIFT, PLATFORM_VK_LSHIFT, 0x2A, false},
    {SDL_SCANCODE_LALT, PLATFORM_VK_LMENU, 0x38, false},
    {SDL_SCANCODE_LGUI, PLATFORM_VK_LWIN, 0x5B, true},
    {SDL_SCANCODE_RCTRL, PLATFORM_VK_RCONTROL, 0x1D, true},
    // Right Shift is not an E0 key.
    {SDL_SCANCODE_RSHIFT, PLATFORM_VK_RSHIFT, 0x36, false},
    {SDL_SCANCODE_RALT, PLATFORM_VK_RMENU, 0x38, true},
    {SDL_SCANCODE_RGUI, PLATFORM_VK_RWIN, 0x5C, true},
    {SDL_SCANCODE_MUTE, PLATFORM_VK_VOLUME_MUTE, 0x20, true},
    {SDL_SCANCODE_VOLUMEDOWN, PLATFORM_VK_VOLUME_DOWN, 0x2E, true},
    {SDL_SCANCODE_VOLUMEUP, PLATFORM_VK_VOLUME_UP, 0x30, true},
    {SDL_SCANCODE_AUDIONEXT, PLATFORM_VK_MEDIA_NEXT_TRACK, 0x19, true},
    {SDL_SCANCODE_AUDIOPREV, PLATFORM_VK_MEDIA_PREV_TRACK, 0x10, true},
    {SDL_SCANCODE_AUDIOSTOP, PLATFORM_VK_MEDIA_STOP, 0x24, true},
    {SDL_SCANCODE_AUDIOPLAY, PLATFORM_VK_MEDIA_PLAY_PAUSE, 0x22, true},
};

}  // namespace

sdlWindowsKey SdlKeyToWindows(SDL_Scancode scancode, bool numLock) {
  for (const keypadRow& row : kKeypad) {
    if (row.sdl == scancode) return {numLock ? row.digitKey : row.navigationKey, row.scanCode, false};
  }
  for (const keyRow& row : kKeys) {
    if (row.sdl == scancode) return {row.virtualKey, row.scanCode, row.extended};
  }
  return {};
}

SDL_Scancode SdlKeyFromWindows(uint32_t virtualKey, bool extended, bool& numLock) {
  numLock = false;
  for (const keyRow& row : kKeys) {
    if (row.virtualKey == virtualKey && row.extended == extended) return row.sdl;
  }
  if (extended) return SDL_SCANCODE_UNKNOWN;
  for (const keypadRow& row : kKeypad) {
    numLock = row.digitKey == virtualKey;
    if (numLock || row.navigationKey == virtualKey) return row.sdl;
  }
  return SDL_SCANCODE_UNKNOWN;
}

uint32_t SdlGenericVirtualKey(uint32_t virtualKey) {
  switch (virtualKey) {
    case PLATFORM_VK_LSHIFT:
    case PLATFORM_VK_RSHIFT: return PLATFORM_VK_SHIFT;
    case PLATFORM_VK_LCONTROL:
    case PLATFORM_VK_RCONTROL: return PLATFORM_VK_CONTROL;
    case PLATFORM_VK_LMENU:
    case PLATFORM_VK_RMENU: return PLATFORM_VK_MENU;
    default: return virtualKey;
  }
}

uint32_t PlatformMapScanCodeToVirtualKeyEx(uint32_t scanCode) {
  // Mode 3 reads the plain (non-E0) scan code, so 0x1D is Left Control and 0x38 Left Alt;
  // the layout gives the plain 0x45 to Num Lock.
  if (scanCode == 0x45) return PLATFORM_VK_NUMLOCK;
  for (const keyRow& row : kKeys) {
    if (row.scanCode == scanCode && !row.extended) return row.virtualKey;
  }
  for (const keypadRow& row : kKeypad) {
    if (row.scanCode == scanCode) return row.navigationKey;
  }
  return 0;
}
