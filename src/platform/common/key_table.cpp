// The US keyboard table every backend shares.
#include "platform/common/key_table.h"

#include <array>

#include "platform/platform_input.h"

namespace {

struct keyRow {
  uint32_t virtualKey;
  uint32_t scanCode;
  bool extended;
};

// The keypad with Num Lock on; with it off the same keys give the navigation keys.
struct keypadRow {
  uint32_t digitKey;
  uint32_t navigationKey;
  uint32_t scanCode;
};

constexpr std::array<keypadRow, 11> kKeypad = {{
    {PLATFORM_VK_NUMPAD0, PLATFORM_VK_INSERT, 0x52},
    {PLATFORM_VK_NUMPAD0 + 1, PLATFORM_VK_END, 0x4F},
    {PLATFORM_VK_NUMPAD0 + 2, PLATFORM_VK_DOWN, 0x50},
    {PLATFORM_VK_NUMPAD0 + 3, PLATFORM_VK_NEXT, 0x51},
    {PLATFORM_VK_NUMPAD0 + 4, PLATFORM_VK_LEFT, 0x4B},
    {PLATFORM_VK_NUMPAD5, PLATFORM_VK_CLEAR, 0x4C},
    {PLATFORM_VK_NUMPAD0 + 6, PLATFORM_VK_RIGHT, 0x4D},
    {PLATFORM_VK_NUMPAD0 + 7, PLATFORM_VK_HOME, 0x47},
    {PLATFORM_VK_NUMPAD0 + 8, PLATFORM_VK_UP, 0x48},
    {PLATFORM_VK_NUMPAD9, PLATFORM_VK_PRIOR, 0x49},
    {PLATFORM_VK_DECIMAL, PLATFORM_VK_DELETE, 0x53},
}};

// Pause sends E1 1D 45; hooks see its scan code 0x45 without the extended flag, while Num Lock
// is E0 45. Right Shift is not an E0 key.
constexpr keyRow kKeys[] = {
    {'A', 0x1E, false},
    {'B', 0x30, false},
    {'C', 0x2E, false},
    {'D', 0x20, false},
    {'E', 0x12, false},
    {'F', 0x21, false},
    {'G', 0x22, false},
    {'H', 0x23, false},
    {'I', 0x17, false},
    {'J', 0x24, false},
    {'K', 0x25, false},
    {'L', 0x26, false},
    {'M', 0x32, false},
    {'N', 0x31, false},
    {'O', 0x18, false},
    {'P', 0x19, false},
    {'Q', 0x10, false},
    {'R', 0x13, false},
    {'S', 0x1F, false},
    {'T', 0x14, false},
    {'U', 0x16, false},
    {'V', 0x2F, false},
    {'W', 0x11, false},
    {'X', 0x2D, false},
    {'Y', 0x15, false},
    {'Z', 0x2C, false},
    {'1', 0x02, false},
    {'2', 0x03, false},
    {'3', 0x04, false},
    {'4', 0x05, false},
    {'5', 0x06, false},
    {'6', 0x07, false},
    {'7', 0x08, false},
    {'8', 0x09, false},
    {'9', 0x0A, false},
    {'0', 0x0B, false},
    {PLATFORM_VK_RETURN, 0x1C, false},
    {PLATFORM_VK_ESCAPE, 0x01, false},
    {PLATFORM_VK_BACK, 0x0E, false},
    {PLATFORM_VK_TAB, 0x0F, false},
    {PLATFORM_VK_SPACE, 0x39, false},
    {PLATFORM_VK_OEM_MINUS, 0x0C, false},
    {PLATFORM_VK_OEM_PLUS, 0x0D, false},
    {PLATFORM_VK_OEM_4, 0x1A, false},
    {PLATFORM_VK_OEM_6, 0x1B, false},
    {PLATFORM_VK_OEM_5, 0x2B, false},
    {PLATFORM_VK_OEM_1, 0x27, false},
    {PLATFORM_VK_OEM_7, 0x28, false},
    {PLATFORM_VK_OEM_3, 0x29, false},
    {PLATFORM_VK_OEM_COMMA, 0x33, false},
    {PLATFORM_VK_OEM_PERIOD, 0x34, false},
    {PLATFORM_VK_OEM_2, 0x35, false},
    {PLATFORM_VK_OEM_102, 0x56, false},
    {PLATFORM_VK_CAPITAL, 0x3A, false},
    {PLATFORM_VK_F1, 0x3B, false},
    {PLATFORM_VK_F1 + 1, 0x3C, false},
    {PLATFORM_VK_F1 + 2, 0x3D, false},
    {PLATFORM_VK_F1 + 3, 0x3E, false},
    {PLATFORM_VK_F1 + 4, 0x3F, false},
    {PLATFORM_VK_F1 + 5, 0x40, false},
    {PLATFORM_VK_F1 + 6, 0x41, false},
    {PLATFORM_VK_F1 + 7, 0x42, false},
    {PLATFORM_VK_F1 + 8, 0x43, false},
    {PLATFORM_VK_F1 + 9, 0x44, false},
    {PLATFORM_VK_F1 + 10, 0x57, false},
    {PLATFORM_VK_F1 + 11, 0x58, false},
    {PLATFORM_VK_F1 + 12, 0x64, false},
    {PLATFORM_VK_F1 + 13, 0x65, false},
    {PLATFORM_VK_F1 + 14, 0x66, false},
    {PLATFORM_VK_F1 + 15, 0x67, false},
    {PLATFORM_VK_F1 + 16, 0x68, false},
    {PLATFORM_VK_F1 + 17, 0x69, false},
    {PLATFORM_VK_F1 + 18, 0x6A, false},
    {PLATFORM_VK_F1 + 19, 0x6B, false},
    {PLATFORM_VK_F1 + 20, 0x6C, false},
    {PLATFORM_VK_F1 + 21, 0x6D, false},
    {PLATFORM_VK_F1 + 22, 0x6E, false},
    {PLATFORM_VK_F24, 0x76, false},
    {PLATFORM_VK_SNAPSHOT, 0x37, true},
    {PLATFORM_VK_SCROLL, 0x46, false},
    {PLATFORM_VK_PAUSE, 0x45, false},
    {PLATFORM_VK_NUMLOCK, 0x45, true},
    {PLATFORM_VK_INSERT, 0x52, true},
    {PLATFORM_VK_HOME, 0x47, true},
    {PLATFORM_VK_PRIOR, 0x49, true},
    {PLATFORM_VK_DELETE, 0x53, true},
    {PLATFORM_VK_END, 0x4F, true},
    {PLATFORM_VK_NEXT, 0x51, true},
    {PLATFORM_VK_RIGHT, 0x4D, true},
    {PLATFORM_VK_LEFT, 0x4B, true},
    {PLATFORM_VK_DOWN, 0x50, true},
    {PLATFORM_VK_UP, 0x48, true},
    {PLATFORM_VK_DIVIDE, 0x35, true},
    {PLATFORM_VK_MULTIPLY, 0x37, false},
    {PLATFORM_VK_SUBTRACT, 0x4A, false},
    {PLATFORM_VK_ADD, 0x4E, false},
    {PLATFORM_VK_RETURN, 0x1C, true},
    {PLATFORM_VK_APPS, 0x5D, true},
    {PLATFORM_VK_LCONTROL, 0x1D, false},
    {PLATFORM_VK_LSHIFT, 0x2A, false},
    {PLATFORM_VK_LMENU, 0x38, false},
    {PLATFORM_VK_LWIN, 0x5B, true},
    {PLATFORM_VK_RCONTROL, 0x1D, true},
    {PLATFORM_VK_RSHIFT, 0x36, false},
    {PLATFORM_VK_RMENU, 0x38, true},
    {PLATFORM_VK_RWIN, 0x5C, true},
    {PLATFORM_VK_VOLUME_MUTE, 0x20, true},
    {PLATFORM_VK_VOLUME_DOWN, 0x2E, true},
    {PLATFORM_VK_VOLUME_UP, 0x30, true},
    {PLATFORM_VK_MEDIA_NEXT_TRACK, 0x19, true},
    {PLATFORM_VK_MEDIA_PREV_TRACK, 0x10, true},
    {PLATFORM_VK_MEDIA_STOP, 0x24, true},
    {PLATFORM_VK_MEDIA_PLAY_PAUSE, 0x22, true},
};

}  // namespace

keyTableEntry KeyTableFind(uint32_t virtualKey, bool extended, bool& numLock) {
  numLock = false;
  for (const keyRow& row : kKeys) {
    if (row.virtualKey == virtualKey && row.extended == extended)
      return {row.virtualKey, row.scanCode, row.extended};
  }
  if (extended) return {};
  for (const keypadRow& row : kKeypad) {
    numLock = row.digitKey == virtualKey;
    if (numLock || row.navigationKey == virtualKey) return {virtualKey, row.scanCode, false, true};
  }
  numLock = false;
  return {};
}

keyTableEntry KeyTableKeypad(uint32_t scanCode, bool numLock) {
  for (const keypadRow& row : kKeypad) {
    if (row.scanCode == scanCode)
      return {numLock ? row.digitKey : row.navigationKey, row.scanCode, false, true};
  }
  return {};
}

uint32_t KeyTableGenericVirtualKey(uint32_t virtualKey) {
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

uint32_t KeyTableSidedVirtualKey(uint32_t virtualKey, uint32_t scanCode, bool extended) {
  switch (virtualKey) {
    case PLATFORM_VK_SHIFT:
      return PlatformMapScanCodeToVirtualKeyEx(scanCode) == PLATFORM_VK_RSHIFT ? PLATFORM_VK_RSHIFT
                                                                               : PLATFORM_VK_LSHIFT;
    case PLATFORM_VK_CONTROL: return extended ? PLATFORM_VK_RCONTROL : PLATFORM_VK_LCONTROL;
    case PLATFORM_VK_MENU: return extended ? PLATFORM_VK_RMENU : PLATFORM_VK_LMENU;
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
  return KeyTableKeypad(scanCode, false).virtualKey;
}
