// Virtual keys to control codes.
#include "input/inputTables.h"

namespace {

// Letters 'A'..'Z' to their codes.
constexpr ControlCode kLetterCodes[26] = {11, 18,  23,  29,  32,  37,  62,  63, 65,
                                          67, 68,  69,  70,  71,  89,  90,  95, 97,
                                          98, 105, 108, 109, 110, 111, 112, 113};
// VK_NUMPAD0..VK_NUMPAD9 to their codes.
constexpr ControlCode kNumpadCodes[10] = {82, 73, 74, 75, 76, 77, 78, 79, 80, 81};

// The keys whose code depends on the extended flag: the dedicated navigation keys carry it;
// without it they are the keypad keys with Num Lock off.
ControlCode ExtendedPairCode(uint32_t virtualKey, bool extended, bool& known) {
  known = true;
  switch (virtualKey) {
    case PLATFORM_VK_RETURN: return extended ? 83 : 34;
    case PLATFORM_VK_CONTROL: return extended ? 28 : 27;
    case PLATFORM_VK_MENU: return extended ? 13 : 12;
    case PLATFORM_VK_PRIOR: return extended ? 92 : 81;
    case PLATFORM_VK_NEXT: return extended ? 91 : 75;
    case PLATFORM_VK_END: return extended ? 33 : 73;
    case PLATFORM_VK_HOME: return extended ? 64 : 79;
    case PLATFORM_VK_LEFT: return extended ? 15 : 76;
    case PLATFORM_VK_UP: return extended ? 17 : 80;
    case PLATFORM_VK_RIGHT: return extended ? 16 : 78;
    case PLATFORM_VK_DOWN: return extended ? 14 : 74;
    case PLATFORM_VK_INSERT: return extended ? 66 : 82;
    case PLATFORM_VK_DELETE: return extended ? 31 : 86;
    default: known = false; return 0;
  }
}

}  // namespace

ControlCode InputKeyToControl(uint32_t message, uint32_t virtualKey, uint32_t flags) {
  bool known = false;
  const ControlCode paired =
      ExtendedPairCode(virtualKey, (flags & PLATFORM_KF_EXTENDED) != 0, known);
  if (known) return paired;
  if (virtualKey >= 'A' && virtualKey <= 'Z') return kLetterCodes[virtualKey - 'A'];
  if (virtualKey == '0') return 10;
  if (virtualKey >= '1' && virtualKey <= '9') return static_cast<ControlCode>(virtualKey - '0');
  if (virtualKey >= PLATFORM_VK_NUMPAD0 && virtualKey <= PLATFORM_VK_NUMPAD9) {
    return kNumpadCodes[virtualKey - PLATFORM_VK_NUMPAD0];
  }
  if (virtualKey >= PLATFORM_VK_F1 && virtualKey <= PLATFORM_VK_F24) {
    return static_cast<ControlCode>(38 + virtualKey - PLATFORM_VK_F1);
  }
  switch (virtualKey) {
    case PLATFORM_VK_BACK: return 20;
    case PLATFORM_VK_TAB: return 106;
    case PLATFORM_VK_CLEAR: return 77;
    case PLATFORM_VK_SHIFT: {
      const uint32_t scanCode = (flags >> 16) & 0xFF;
      return PlatformMapScanCodeToVirtualKeyEx(scanCode) == PLATFORM_VK_RSHIFT ? 102 : 101;
    }
    case PLATFORM_VK_LSHIFT: return 101;
    case PLATFORM_VK_RSHIFT: return 102;
    case PLATFORM_VK_LCONTROL: return 27;
    case PLATFORM_VK_RCONTROL: return 28;
    case PLATFORM_VK_LMENU: return 12;
    case PLATFORM_VK_RMENU: return 13;
    case PLATFORM_VK_PAUSE: return 93;
    case PLATFORM_VK_CAPITAL: return 24;
    case PLATFORM_VK_ESCAPE: return 36;
    case PLATFORM_VK_SPACE: return 104;
    case PLATFORM_VK_DECIMAL: return 86;
    case PLATFORM_VK_MULTIPLY: return 85;
    case PLATFORM_VK_ADD: return 87;
    case PLATFORM_VK_SUBTRACT: return 84;
    case PLATFORM_VK_DIVIDE: return 88;
    case PLATFORM_VK_APPS: return 26;
    case PLATFORM_VK_NUMLOCK: return 72;
    case PLATFORM_VK_SCROLL: return 99;
    case PLATFORM_VK_OEM_1: return 100;
    case PLATFORM_VK_OEM_PLUS: return 35;
    case PLATFORM_VK_OEM_COMMA: return 25;
    case PLATFORM_VK_OEM_MINUS: return 30;
    case PLATFORM_VK_OEM_PERIOD: return 94;
    case PLATFORM_VK_OEM_2: return 103;
    case PLATFORM_VK_OEM_3: return 107;
    case PLATFORM_VK_OEM_4: return 21;
    case PLATFORM_VK_OEM_5: return 19;
    case PLATFORM_VK_OEM_6: return 22;
    case PLATFORM_VK_OEM_7: return 96;
    default: return 0;
  }
}
