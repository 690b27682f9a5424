// Key translation: SDL keys to the Windows virtual key, scan code and extended flag of a US
// keyboard, and virtual keys to control codes and their names.
#include <set>

#include "input_fixture.h"
#include "platform/sdl/sdl_input.h"

namespace {

struct keyRow {
  SDL_Scancode sdl;
  Uint16 mod;
  uint32_t virtualKey;
  uint32_t scanCode;
  bool extended;
  ControlCode code;
  const char* name;
};

constexpr Uint16 kNumLock = KMOD_NUM;

// Written from the Windows keyboard documentation, independently of the translation table.
const keyRow kRows[] = {
    {SDL_SCANCODE_A, 0, 0x41, 0x1E, false, 11, "A"},
    {SDL_SCANCODE_B, 0, 0x42, 0x30, false, 18, "B"},
    {SDL_SCANCODE_C, 0, 0x43, 0x2E, false, 23, "C"},
    {SDL_SCANCODE_D, 0, 0x44, 0x20, false, 29, "D"},
    {SDL_SCANCODE_E, 0, 0x45, 0x12, false, 32, "E"},
    {SDL_SCANCODE_F, 0, 0x46, 0x21, false, 37, "F"},
    {SDL_SCANCODE_G, 0, 0x47, 0x22, false, 62, "G"},
    {SDL_SCANCODE_H, 0, 0x48, 0x23, false, 63, "H"},
    {SDL_SCANCODE_I, 0, 0x49, 0x17, false, 65, "I"},
    {SDL_SCANCODE_J, 0, 0x4A, 0x24, false, 67, "J"},
    {SDL_SCANCODE_K, 0, 0x4B, 0x25, false, 68, "K"},
    {SDL_SCANCODE_L, 0, 0x4C, 0x26, false, 69, "L"},
    {SDL_SCANCODE_M, 0, 0x4D, 0x32, false, 70, "M"},
    {SDL_SCANCODE_N, 0, 0x4E, 0x31, false, 71, "N"},
    {SDL_SCANCODE_O, 0, 0x4F, 0x18, false, 89, "O"},
    {SDL_SCANCODE_P, 0, 0x50, 0x19, false, 90, "P"},
    {SDL_SCANCODE_Q, 0, 0x51, 0x10, false, 95, "Q"},
    {SDL_SCANCODE_R, 0, 0x52, 0x13, false, 97, "R"},
    {SDL_SCANCODE_S, 0, 0x53, 0x1F, false, 98, "S"},
    {SDL_SCANCODE_T, 0, 0x54, 0x14, false, 105, "T"},
    {SDL_SCANCODE_U, 0, 0x55, 0x16, false, 108, "U"},
    {SDL_SCANCODE_V, 0, 0x56, 0x2F, false, 109, "V"},
    {SDL_SCANCODE_W, 0, 0x57, 0x11, false, 110, "W"},
    {SDL_SCANCODE_X, 0, 0x58, 0x2D, false, 111, "X"},
    {SDL_SCANCODE_Y, 0, 0x59, 0x15, false, 112, "Y"},
    {SDL_SCANCODE_Z, 0, 0x5A, 0x2C, false, 113, "Z"},
    {SDL_SCANCODE_1, 0, 0x31, 0x02, false, 1, "1"},
    {SDL_SCANCODE_2, 0, 0x32, 0x03, false, 2, "2"},
    {SDL_SCANCODE_3, 0, 0x33, 0x04, false, 3, "3"},
    {SDL_SCANCODE_4, 0, 0x34, 0x05, false, 4, "4"},
    {SDL_SCANCODE_5, 0, 0x35, 0x06, false, 5, "5"},
    {SDL_SCANCODE_6, 0, 0x36, 0x07, false, 6, "6"},
    {SDL_SCANCODE_7, 0, 0x37, 0x08, false, 7, "7"},
    {SDL_SCANCODE_8, 0, 0x38, 0x09, false, 8, "8"},
    {SDL_SCANCODE_9, 0, 0x39, 0x0A, false, 9, "9"},
    {SDL_SCANCODE_0, 0, 0x30, 0x0B, false, 10, "0"},
    {SDL_SCANCODE_RETURN, 0, 0x0D, 0x1C, false, 34, "Enter"},
    {SDL_SCANCODE_KP_ENTER, 0, 0x0D, 0x1C, true, 83, "Numpad Enter"},
    {SDL_SCANCODE_ESCAPE, 0, 0x1B, 0x01, false, 36, "Escape"},
    {SDL_SCANCODE_BACKSPACE, 0, 0x08, 0x0E, false, 20, "Backspace"},
    {SDL_SCANCODE_TAB, 0, 0x09, 0x0F, false, 106, "Tab"},
    {SDL_SCANCODE_SPACE, 0, 0x20, 0x39, false, 104, "Space"},
    {SDL_SCANCODE_MINUS, 0, 0xBD, 0x0C, false, 30, "-"},
    {SDL_SCANCODE_EQUALS, 0, 0xBB, 0x0D, false, 35, "="},
    {SDL_SCANCODE_LEFTBRACKET, 0, 0xDB, 0x1A, false, 21, "["},
    {SDL_SCANCODE_RIGHTBRACKET, 0, 0xDD, 0x1B, false, 22, "]"},
    {SDL_SCANCODE_BACKSLASH, 0, 0xDC, 0x2B, false, 19, "\\"},
    {SDL_SCANCODE_SEMICOLON, 0, 0xBA, 0x27, false, 100, ";"},
    {SDL_SCANCODE_APOSTROPHE, 0, 0xDE, 0x28, false, 96, "'"},
    {SDL_SCANCODE_GRAVE, 0, 0xC0, 0x29, false, 107, "`"},
    {SDL_SCANCODE_COMMA, 0, 0xBC, 0x33, false, 25, ","},
    {SDL_SCANCODE_PERIOD, 0, 0xBE, 0x34, false, 94, "."},
    {SDL_SCANCODE_SLASH, 0, 0xBF, 0x35, false, 103, "/"},
    {SDL_SCANCODE_CAPSLOCK, 0, 0x14, 0x3A, false, 24, "Caps Lock"},
    {SDL_SCANCODE_F1, 0, 0x70, 0x3B, false, 38, "F1"},
    {SDL_SCANCODE_F2, 0, 0x71, 0x3C, false, 39, "F2"},
    {SDL_SCANCODE_F3, 0, 0x72, 0x3D, false, 40, "F3"},
    {SDL_SCANCODE_F4, 0, 0x73, 0x3E, false, 41, "F4"},
    {SDL_SCANCODE_F5, 0, 0x74, 0x3F, false, 42, "F5"},
    {SDL_SCANCODE_F6, 0, 0x75, 0x40, false, 43, "F6"},
    {SDL_SCANCODE_F7, 0, 0x76, 0x41, false, 44, "F7"},
    {SDL_SCANCODE_F8, 0, 0x77, 0x42, false, 45, "F8"},
    {SDL_SCANCODE_F9, 0, 0x78, 0x43, false, 46, "F9"},
    {SDL_SCANCODE_F10, 0, 0x79, 0x44, false, 47, "F10"},
    {SDL_SCANCODE_F11, 0, 0x7A, 0x57, false, 48, "F11"},
    {SDL_SCANCODE_F12, 0, 0x7B, 0x58, false, 49, "F12"},
    {SDL_SCANCODE_F13, 0, 0x7C, 0x64, false, 50, "F13"},
    {SDL_SCANCODE_F24, 0, 0x87, 0x76, false, 61, "F24"},
    {SDL_SCANCODE_SCROLLLOCK, 0, 0x91, 0x46, false, 99, "Scroll Lock"},
    {SDL_SCANCODE_PAUSE, 0, 0x13, 0x45, false, 93, "Pause"},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0, 0x90, 0x45, true, 72, "Num Lock"},
    // The dedicated navigation block carries the extended flag.
    {SDL_SCANCODE_INSERT, 0, 0x2D, 0x52, true, 66, "Insert"},
    {SDL_SCANCODE_HOME, 0, 0x24, 0x47, true, 64, "Home"},
    {SDL_SCANCODE_PAGEUP, 0, 0x21, 0x49, true, 92, "Page Up"},
    {SDL_SCANCODE_DELETE, 0, 0x2E, 0x53, true, 31, "Delete"},
    {SDL_SCANCODE_END, 0, 0x23, 0x4F, true, 33, "End"},
    {SDL_SCANCODE_PAGEDOWN, 0, 0x22, 0x51, true, 91, "Page Down"},
    {SDL_SCANCODE_RIGHT, 0, 0x27, 0x4D, true, 16, "Right Arrow"},
    {SDL_SCANCODE_LEFT, 0, 0x25, 0x4B, true, 15, "Left Arrow"},
    {SDL_SCANCODE_DOWN, 0, 0x28, 0x50, true, 14, "Down Arrow"},
    {SDL_SCANCODE_UP, 0, 0x26, 0x48, true, 17, "Up Arrow"},
    // The keypad with Num Lock off: the same virtual keys without the flag.
    {SDL_SCANCODE_KP_0, 0, 0x2D, 0x52, false, 82, "Numpad 0"},
    {SDL_SCANCODE_KP_1, 0, 0x23, 0x4F, false, 73, "Numpad 1"},
    {SDL_SCANCODE_KP_2, 0, 0x28, 0x50, false, 74, "Numpad 2"},
    {SDL_SCANCODE_KP_3, 0, 0x22, 0x51, false, 75, "Numpad 3"},
    {SDL_SCANCODE_KP_4, 0, 0x25, 0x4B, false, 76, "Numpad 4"},
    {SDL_SCANCODE_KP_5, 0, 0x0C, 0x4C, false, 77, "Numpad 5"},
    {SDL_SCANCODE_KP_6, 0, 0x27, 0x4D, false, 78, "Numpad 6"},
    {SDL_SCANCODE_KP_7, 0, 0x24, 0x47, false, 79, "Numpad 7"},
    {SDL_SCANCODE_KP_8, 0, 0x26, 0x48, false, 80, "Numpad 8"},
    {SDL_SCANCODE_KP_9, 0, 0x21, 0x49, false, 81, "Numpad 9"},
    {SDL_SCANCODE_KP_PERIOD, 0, 0x2E, 0x53, false, 86, "Numpad ."},
    // With Num Lock on the keypad gives its digits, to the same codes.
    {SDL_SCANCODE_KP_0, kNumLock, 0x60, 0x52, false, 82, "Numpad 0"},
    {SDL_SCANCODE_KP_1, kNumLock, 0x61, 0x4F, false, 73, "Numpad 1"},
    {SDL_SCANCODE_KP_5, kNumLock, 0x65, 0x4C, false, 77, "Numpad 5"},
    {SDL_SCANCODE_KP_9, kNumLock, 0x69, 0x49, false, 81, "Numpad 9"},
    {SDL_SCANCODE_KP_PERIOD, kNumLock, 0x6E, 0x53, false, 86, "Numpad ."},
    {SDL_SCANCODE_KP_DIVIDE, 0, 0x6F, 0x35, true, 88, "Numpad /"},
    {SDL_SCANCODE_KP_MULTIPLY, 0, 0x6A, 0x37, false, 85, "Numpad *"},
    {SDL_SCANCODE_KP_MINUS, 0, 0x6D, 0x4A, false, 84, "Numpad -"},
    {SDL_SCANCODE_KP_PLUS, 0, 0x6B, 0x4E, false, 87, "Numpad +"},
    {SDL_SCANCODE_APPLICATION, 0, 0x5D, 0x5D, true, 26, "Context Menu"},
    {SDL_SCANCODE_LSHIFT, 0, 0xA0, 0x2A, false, 101, "Left Shift"},
    {SDL_SCANCODE_RSHIFT, 0, 0xA1, 0x36, false, 102, "Right Shift"},
    {SDL_SCANCODE_LCTRL, 0, 0xA2, 0x1D, false, 27, "Left Control"},
    {SDL_SCANCODE_RCTRL, 0, 0xA3, 0x1D, true, 28, "Right Control"},
    {SDL_SCANCODE_LALT, 0, 0xA4, 0x38, false, 12, "Left Alt"},
    {SDL_SCANCODE_RALT, 0, 0xA5, 0x38, true, 13, "Right Alt"},
    // Keys without a control.
    {SDL_SCANCODE_PRINTSCREEN, 0, 0x2C, 0x37, true, 0, ""},
    {SDL_SCANCODE_LGUI, 0, 0x5B, 0x5B, true, 0, ""},
    {SDL_SCANCODE_RGUI, 0, 0x5C, 0x5C, true, 0, ""},
    {SDL_SCANCODE_NONUSBACKSLASH, 0, 0xE2, 0x56, false, 0, ""},
    {SDL_SCANCODE_VOLUMEUP, 0, 0xAF, 0x30, true, 0, ""},
};

struct seenKey {
  uint32_t message;
  platformKeyboardHookEvent event;
};
std::vector<seenKey> seen;

intptr_t Recorder(int32_t code, uint32_t message, const platformKeyboardHookEvent& event) {
  seen.push_back({message, event});
  return 0;
}

class KeyTranslation : public InputTest {};

TEST_F(KeyTranslation, EverySdlKeyArrivesAsTheWindowsKeyAndItsControl) {
  const platformHook hook = PlatformKeyboardHookInstall(Recorder);
  for (const keyRow& row : kRows) {
    seen.clear();
    SdlInputHandleEvent(KeyEvent(row.sdl, true, row.mod));
    SCOPED_TRACE(SDL_GetScancodeName(row.sdl) + std::string(row.mod != 0 ? " with Num Lock" : ""));
    ASSERT_EQ(seen.size(), 1u);
    const platformKeyboardHookEvent& event = seen[0].event;
    EXPECT_EQ(event.virtualKey, row.virtualKey);
    EXPECT_EQ(event.scanCode, row.scanCode);
    EXPECT_EQ((event.flags & PLATFORM_LLKHF_EXTENDED) != 0, row.extended);
    const uint32_t flags = (event.scanCode << 16) | (row.extended ? PLATFORM_KF_EXTENDED : 0);
    const ControlCode code = InputKeyToControl(seen[0].message, event.virtualKey, flags);
    EXPECT_EQ(code, row.code);
    EXPECT_EQ(InputControlName(code), row.name);
  }
  PlatformHookRemove(hook);
}

TEST_F(KeyTranslation, KeysWithAndWithoutTheExtendedFlag) {
  struct pair {
    uint32_t virtualKey;
    ControlCode plain;
    ControlCode extended;
  };
  const pair pairs[] = {
      {PLATFORM_VK_RETURN, 34, 83}, {PLATFORM_VK_CONTROL, 27, 28}, {PLATFORM_VK_MENU, 12, 13},
      {PLATFORM_VK_PRIOR, 81, 92},  {PLATFORM_VK_NEXT, 75, 91},    {PLATFORM_VK_END, 73, 33},
      {PLATFORM_VK_HOME, 79, 64},   {PLATFORM_VK_LEFT, 76, 15},    {PLATFORM_VK_UP, 80, 17},
      {PLATFORM_VK_RIGHT, 78, 16},  {PLATFORM_VK_DOWN, 74, 14},    {PLATFORM_VK_INSERT, 82, 66},
      {PLATFORM_VK_DELETE, 86, 31}};
  for (const pair& p : pairs) {
    EXPECT_EQ(InputKeyToControl(PLATFORM_WM_KEYDOWN, p.virtualKey, 0), p.plain) << p.virtualKey;
    EXPECT_EQ(InputKeyToControl(PLATFORM_WM_KEYDOWN, p.virtualKey, PLATFORM_KF_EXTENDED),
              p.extended)
        << p.virtualKey;
  }
}

TEST_F(KeyTranslation, KeysThatIgnoreTheExtendedFlag) {
  struct single {
    uint32_t virtualKey;
    ControlCode code;
  };
  const single keys[] = {
      {PLATFORM_VK_BACK, 20},
      {PLATFORM_VK_TAB, 106},
      {PLATFORM_VK_CLEAR, 77},
      {PLATFORM_VK_NUMPAD5, 77},
      {PLATFORM_VK_LSHIFT, 101},
      {PLATFORM_VK_RSHIFT, 102},
      {PLATFORM_VK_LCONTROL, 27},
      {PLATFORM_VK_RCONTROL, 28},
      {PLATFORM_VK_LMENU, 12},
      {PLATFORM_VK_RMENU, 13},
      {PLATFORM_VK_PAUSE, 93},
      {PLATFORM_VK_CAPITAL, 24},
      {PLATFORM_VK_ESCAPE, 36},
      {PLATFORM_VK_SPACE, 104},
      {0x60, 82},
      {0x61, 73},
      {0x62, 74},
      {0x63, 75},
      {0x64, 76},
      {0x66, 78},
      {0x67, 79},
      {0x68, 80},
      {0x69, 81},
      {PLATFORM_VK_DECIMAL, 86},
      {PLATFORM_VK_MULTIPLY, 85},
      {PLATFORM_VK_ADD, 87},
      {PLATFORM_VK_SUBTRACT, 84},
      {PLATFORM_VK_DIVIDE, 88},
      {PLATFORM_VK_APPS, 26},
      {PLATFORM_VK_NUMLOCK, 72},
      {PLATFORM_VK_SCROLL, 99},
      {PLATFORM_VK_OEM_1, 100},
      {PLATFORM_VK_OEM_PLUS, 35},
      {PLATFORM_VK_OEM_COMMA, 25},
      {PLATFORM_VK_OEM_MINUS, 30},
      {PLATFORM_VK_OEM_PERIOD, 94},
      {PLATFORM_VK_OEM_2, 103},
      {PLATFORM_VK_OEM_3, 107},
      {PLATFORM_VK_OEM_4, 21},
      {PLATFORM_VK_OEM_5, 19},
      {PLATFORM_VK_OEM_6, 22},
      {PLATFORM_VK_OEM_7, 96},
      {'0', 10},
      {'5', 5},
      {'9', 9},
      {PLATFORM_VK_SNAPSHOT, 0},
      {PLATFORM_VK_LWIN, 0},
      {PLATFORM_VK_RWIN, 0},
      {0xFF, 0},
      {0, 0},
  };
  for (const single& key : keys) {
    EXPECT_EQ(InputKeyToControl(PLATFORM_WM_KEYDOWN, key.virtualKey, 0), key.code)
        << key.virtualKey;
    EXPECT_EQ(InputKeyToControl(PLATFORM_WM_KEYUP, key.virtualKey, PLATFORM_KF_EXTENDED), key.code)
        << key.virtualKey;
  }
  for (uint32_t f = 0; f < 24; ++f) {
    EXPECT_EQ(InputKeyToControl(PLATFORM_WM_KEYDOWN, PLATFORM_VK_F1 + f, 0),
              static_cast<ControlCode>(38 + f));
  }
}

TEST_F(KeyTranslation, ShiftIsToldApartByItsScanCode) {
  EXPECT_EQ(InputKeyToControl(PLATFORM_WM_KEYDOWN, PLATFORM_VK_SHIFT, 0x2A << 16), 101);
  EXPECT_EQ(InputKeyToControl(PLATFORM_WM_KEYDOWN, PLATFORM_VK_SHIFT, 0x36 << 16), 102);
  EXPECT_EQ(InputKeyToControl(PLATFORM_WM_KEYDOWN, PLATFORM_VK_SHIFT, 0), 101);
  EXPECT_EQ(PlatformMapScanCodeToVirtualKeyEx(0x1D), PLATFORM_VK_LCONTROL);
  EXPECT_EQ(PlatformMapScanCodeToVirtualKeyEx(0x38), PLATFORM_VK_LMENU);
  EXPECT_EQ(PlatformMapScanCodeToVirtualKeyEx(0x45), PLATFORM_VK_NUMLOCK);
  EXPECT_EQ(PlatformMapScanCodeToVirtualKeyEx(0xFF), 0u);
}

TEST_F(KeyTranslation, EveryKeyboardAndMouseCodeHasItsOwnName) {
  std::set<std::string> names;
  for (ControlCode code = 1; code <= kControlMouseLast; ++code) {
    const std::string name = InputControlName(code);
    EXPECT_FALSE(name.empty()) << code;
    EXPECT_EQ(InputControlSaveName(code), name);
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 126u);
  EXPECT_EQ(InputControlName(19), "\\");
  EXPECT_EQ(InputControlName(114), "Mouse Left Button");
  EXPECT_EQ(InputControlName(119), "Mouse Down");
  EXPECT_EQ(InputControlName(122), "Mouse Scroll Left");
  EXPECT_EQ(InputControlName(125), "Mouse Scroll Up");
  EXPECT_EQ(InputControlName(126), "Mouse Up");
  EXPECT_EQ(InputControlName(0), "");
  EXPECT_EQ(InputControlName(-5), "");
  EXPECT_EQ(InputControlName(127), "");  // no joystick
}

TEST_F(KeyTranslation, MessagesAndFlagsFollowAltControlAndRelease) {
  const platformHook hook = PlatformKeyboardHookInstall(Recorder);
  seen.clear();
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_LALT, true, KMOD_LALT));
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_X, true, KMOD_LALT));
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_X, false, KMOD_LALT));
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_LALT, false, KMOD_NONE));
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_X, true, KMOD_LALT | KMOD_LCTRL));
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_F10, true));
  SdlInputHandleEvent(KeyEvent(SDL_SCANCODE_X, false));
  ASSERT_EQ(seen.size(), 7u);
  EXPECT_EQ(seen[0].message, PLATFORM_WM_SYSKEYDOWN);
  EXPECT_EQ(seen[0].event.flags, PLATFORM_LLKHF_ALTDOWN);
  EXPECT_EQ(seen[1].message, PLATFORM_WM_SYSKEYDOWN);
  EXPECT_EQ(seen[2].message, PLATFORM_WM_SYSKEYUP);
  EXPECT_EQ(seen[2].event.flags, PLATFORM_LLKHF_ALTDOWN | PLATFORM_LLKHF_UP);
  EXPECT_EQ(seen[3].message, PLATFORM_WM_KEYUP);
  EXPECT_EQ(seen[3].event.flags, PLATFORM_LLKHF_UP);
  EXPECT_EQ(seen[4].message, PLATFORM_WM_KEYDOWN);  // Control+Alt is not a system key
  EXPECT_EQ(seen[5].message, PLATFORM_WM_SYSKEYDOWN);
  EXPECT_EQ(seen[6].message, PLATFORM_WM_KEYUP);
  EXPECT_EQ(seen[6].event.flags, PLATFORM_LLKHF_UP);
  PlatformHookRemove(hook);
}

}  // namespace
