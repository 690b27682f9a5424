// SDL keys and the US keyboard table: which SDL key is which Windows key.
#include "platform/sdl/input/sdl_keys.h"

#include <array>

#include "platform/common/key_table.h"
#include "platform/platform_input.h"

namespace {

struct keyRow {
  SDL_Scancode sdl;
  uint32_t virtualKey;
  bool extended;
};

// The keypad keys, whose virtual key Num Lock chooses, by their scan code.
struct keypadRow {
  SDL_Scancode sdl;
  uint32_t scanCode;
};

constexpr std::array<keypadRow, 11> kKeypad = {{
    {SDL_SCANCODE_KP_0, 0x52},
    {SDL_SCANCODE_KP_1, 0x4F},
    {SDL_SCANCODE_KP_2, 0x50},
    {SDL_SCANCODE_KP_3, 0x51},
    {SDL_SCANCODE_KP_4, 0x4B},
    {SDL_SCANCODE_KP_5, 0x4C},
    {SDL_SCANCODE_KP_6, 0x4D},
    {SDL_SCANCODE_KP_7, 0x47},
    {SDL_SCANCODE_KP_8, 0x48},
    {SDL_SCANCODE_KP_9, 0x49},
    {SDL_SCANCODE_KP_PERIOD, 0x53},
}};

constexpr keyRow kKeys[] = {
    {SDL_SCANCODE_A, 'A', false},
    {SDL_SCANCODE_B, 'B', false},
    {SDL_SCANCODE_C, 'C', false},
    {SDL_SCANCODE_D, 'D', false},
    {SDL_SCANCODE_E, 'E', false},
    {SDL_SCANCODE_F, 'F', false},
    {SDL_SCANCODE_G, 'G', false},
    {SDL_SCANCODE_H, 'H', false},
    {SDL_SCANCODE_I, 'I', false},
    {SDL_SCANCODE_J, 'J', false},
    {SDL_SCANCODE_K, 'K', false},
    {SDL_SCANCODE_L, 'L', false},
    {SDL_SCANCODE_M, 'M', false},
    {SDL_SCANCODE_N, 'N', false},
    {SDL_SCANCODE_O, 'O', false},
    {SDL_SCANCODE_P, 'P', false},
    {SDL_SCANCODE_Q, 'Q', false},
    {SDL_SCANCODE_R, 'R', false},
    {SDL_SCANCODE_S, 'S', false},
    {SDL_SCANCODE_T, 'T', false},
    {SDL_SCANCODE_U, 'U', false},
    {SDL_SCANCODE_V, 'V', false},
    {SDL_SCANCODE_W, 'W', false},
    {SDL_SCANCODE_X, 'X', false},
    {SDL_SCANCODE_Y, 'Y', false},
    {SDL_SCANCODE_Z, 'Z', false},
    {SDL_SCANCODE_1, '1', false},
    {SDL_SCANCODE_2, '2', false},
    {SDL_SCANCODE_3, '3', false},
    {SDL_SCANCODE_4, '4', false},
    {SDL_SCANCODE_5, '5', false},
    {SDL_SCANCODE_6, '6', false},
    {SDL_SCANCODE_7, '7', false},
    {SDL_SCANCODE_8, '8', false},
    {SDL_SCANCODE_9, '9', false},
    {SDL_SCANCODE_0, '0', false},
    {SDL_SCANCODE_RETURN, PLATFORM_VK_RETURN, false},
    {SDL_SCANCODE_ESCAPE, PLATFORM_VK_ESCAPE, false},
    {SDL_SCANCODE_BACKSPACE, PLATFORM_VK_BACK, false},
    {SDL_SCANCODE_TAB, PLATFORM_VK_TAB, false},
    {SDL_SCANCODE_SPACE, PLATFORM_VK_SPACE, false},
    {SDL_SCANCODE_MINUS, PLATFORM_VK_OEM_MINUS, false},
    {SDL_SCANCODE_EQUALS, PLATFORM_VK_OEM_PLUS, false},
    {SDL_SCANCODE_LEFTBRACKET, PLATFORM_VK_OEM_4, false},
    {SDL_SCANCODE_RIGHTBRACKET, PLATFORM_VK_OEM_6, false},
    {SDL_SCANCODE_BACKSLASH, PLATFORM_VK_OEM_5, false},
    {SDL_SCANCODE_NONUSHASH, PLATFORM_VK_OEM_5, false},
    {SDL_SCANCODE_SEMICOLON, PLATFORM_VK_OEM_1, false},
    {SDL_SCANCODE_APOSTROPHE, PLATFORM_VK_OEM_7, false},
    {SDL_SCANCODE_GRAVE, PLATFORM_VK_OEM_3, false},
    {SDL_SCANCODE_COMMA, PLATFORM_VK_OEM_COMMA, false},
    {SDL_SCANCODE_PERIOD, PLATFORM_VK_OEM_PERIOD, false},
    {SDL_SCANCODE_SLASH, PLATFORM_VK_OEM_2, false},
    {SDL_SCANCODE_NONUSBACKSLASH, PLATFORM_VK_OEM_102, false},
    {SDL_SCANCODE_CAPSLOCK, PLATFORM_VK_CAPITAL, false},
    {SDL_SCANCODE_F1, PLATFORM_VK_F1, false},
    {SDL_SCANCODE_F2, PLATFORM_VK_F1 + 1, false},
    {SDL_SCANCODE_F3, PLATFORM_VK_F1 + 2, false},
    {SDL_SCANCODE_F4, PLATFORM_VK_F1 + 3, false},
    {SDL_SCANCODE_F5, PLATFORM_VK_F1 + 4, false},
    {SDL_SCANCODE_F6, PLATFORM_VK_F1 + 5, false},
    {SDL_SCANCODE_F7, PLATFORM_VK_F1 + 6, false},
    {SDL_SCANCODE_F8, PLATFORM_VK_F1 + 7, false},
    {SDL_SCANCODE_F9, PLATFORM_VK_F1 + 8, false},
    {SDL_SCANCODE_F10, PLATFORM_VK_F1 + 9, false},
    {SDL_SCANCODE_F11, PLATFORM_VK_F1 + 10, false},
    {SDL_SCANCODE_F12, PLATFORM_VK_F1 + 11, false},
    {SDL_SCANCODE_F13, PLATFORM_VK_F1 + 12, false},
    {SDL_SCANCODE_F14, PLATFORM_VK_F1 + 13, false},
    {SDL_SCANCODE_F15, PLATFORM_VK_F1 + 14, false},
    {SDL_SCANCODE_F16, PLATFORM_VK_F1 + 15, false},
    {SDL_SCANCODE_F17, PLATFORM_VK_F1 + 16, false},
    {SDL_SCANCODE_F18, PLATFORM_VK_F1 + 17, false},
    {SDL_SCANCODE_F19, PLATFORM_VK_F1 + 18, false},
    {SDL_SCANCODE_F20, PLATFORM_VK_F1 + 19, false},
    {SDL_SCANCODE_F21, PLATFORM_VK_F1 + 20, false},
    {SDL_SCANCODE_F22, PLATFORM_VK_F1 + 21, false},
    {SDL_SCANCODE_F23, PLATFORM_VK_F1 + 22, false},
    {SDL_SCANCODE_F24, PLATFORM_VK_F24, false},
    {SDL_SCANCODE_PRINTSCREEN, PLATFORM_VK_SNAPSHOT, true},
    {SDL_SCANCODE_SCROLLLOCK, PLATFORM_VK_SCROLL, false},
    {SDL_SCANCODE_PAUSE, PLATFORM_VK_PAUSE, false},
    {SDL_SCANCODE_NUMLOCKCLEAR, PLATFORM_VK_NUMLOCK, true},
    {SDL_SCANCODE_INSERT, PLATFORM_VK_INSERT, true},
    {SDL_SCANCODE_HOME, PLATFORM_VK_HOME, true},
    {SDL_SCANCODE_PAGEUP, PLATFORM_VK_PRIOR, true},
    {SDL_SCANCODE_DELETE, PLATFORM_VK_DELETE, true},
    {SDL_SCANCODE_END, PLATFORM_VK_END, true},
    {SDL_SCANCODE_PAGEDOWN, PLATFORM_VK_NEXT, true},
    {SDL_SCANCODE_RIGHT, PLATFORM_VK_RIGHT, true},
    {SDL_SCANCODE_LEFT, PLATFORM_VK_LEFT, true},
    {SDL_SCANCODE_DOWN, PLATFORM_VK_DOWN, true},
    {SDL_SCANCODE_UP, PLATFORM_VK_UP, true},
    {SDL_SCANCODE_KP_DIVIDE, PLATFORM_VK_DIVIDE, true},
    {SDL_SCANCODE_KP_MULTIPLY, PLATFORM_VK_MULTIPLY, false},
    {SDL_SCANCODE_KP_MINUS, PLATFORM_VK_SUBTRACT, false},
    {SDL_SCANCODE_KP_PLUS, PLATFORM_VK_ADD, false},
    {SDL_SCANCODE_KP_ENTER, PLATFORM_VK_RETURN, true},
    {SDL_SCANCODE_APPLICATION, PLATFORM_VK_APPS, true},
    {SDL_SCANCODE_LCTRL, PLATFORM_VK_LCONTROL, false},
    {SDL_SCANCODE_LSHIFT, PLATFORM_VK_LSHIFT, false},
    {SDL_SCANCODE_LALT, PLATFORM_VK_LMENU, false},
    {SDL_SCANCODE_LGUI, PLATFORM_VK_LWIN, true},
    {SDL_SCANCODE_RCTRL, PLATFORM_VK_RCONTROL, true},
    {SDL_SCANCODE_RSHIFT, PLATFORM_VK_RSHIFT, false},
    {SDL_SCANCODE_RALT, PLATFORM_VK_RMENU, true},
    {SDL_SCANCODE_RGUI, PLATFORM_VK_RWIN, true},
    {SDL_SCANCODE_MUTE, PLATFORM_VK_VOLUME_MUTE, true},
    {SDL_SCANCODE_VOLUMEDOWN, PLATFORM_VK_VOLUME_DOWN, true},
    {SDL_SCANCODE_VOLUMEUP, PLATFORM_VK_VOLUME_UP, true},
    {SDL_SCANCODE_AUDIONEXT, PLATFORM_VK_MEDIA_NEXT_TRACK, true},
    {SDL_SCANCODE_AUDIOPREV, PLATFORM_VK_MEDIA_PREV_TRACK, true},
    {SDL_SCANCODE_AUDIOSTOP, PLATFORM_VK_MEDIA_STOP, true},
    {SDL_SCANCODE_AUDIOPLAY, PLATFORM_VK_MEDIA_PLAY_PAUSE, true},
};

}  // namespace

sdlWindowsKey SdlKeyToWindows(SDL_Scancode scancode, bool numLock) {
  for (const keypadRow& row : kKeypad) {
    if (row.sdl == scancode)
      return {KeyTableKeypad(row.scanCode, numLock).virtualKey, row.scanCode, false};
  }
  for (const keyRow& row : kKeys) {
    if (row.sdl != scancode) continue;
    bool digit = false;
    const keyTableEntry key = KeyTableFind(row.virtualKey, row.extended, digit);
    return {key.virtualKey, key.scanCode, key.extended};
  }
  return {};
}

SDL_Scancode SdlKeyFromWindows(uint32_t virtualKey, bool extended, bool& numLock) {
  const keyTableEntry key = KeyTableFind(virtualKey, extended, numLock);
  if (key.virtualKey == 0) return SDL_SCANCODE_UNKNOWN;
  if (key.keypad) {
    for (const keypadRow& row : kKeypad) {
      if (row.scanCode == key.scanCode) return row.sdl;
    }
  }
  for (const keyRow& row : kKeys) {
    if (row.virtualKey == virtualKey && row.extended == extended) return row.sdl;
  }
  return SDL_SCANCODE_UNKNOWN;
}
