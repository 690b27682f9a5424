// Backend-internal: the keys of a standard US keyboard in the Windows shapes: virtual key, set-1
// scan code and the extended flag (keys whose scan code comes after an E0 prefix).
#pragma once

#include <cstdint>

struct keyTableEntry {
  uint32_t virtualKey = 0;  // left/right-distinguishing, as a low-level hook sees it; 0: no key
  uint32_t scanCode = 0;
  bool extended = false;
  bool keypad = false;  // one of the keypad keys whose meaning Num Lock chooses
};

// The key that gives the virtual key with that extended flag, and whether Num Lock must be on
// for it (the keypad's digits); virtualKey 0 when no key does.
keyTableEntry KeyTableFind(uint32_t virtualKey, bool extended, bool& numLock);
// The keypad key with the scan code: its digit with Num Lock on, its navigation key with it
// off; virtualKey 0 when the scan code is not one of them.
keyTableEntry KeyTableKeypad(uint32_t scanCode, bool numLock);
// VK_SHIFT, VK_CONTROL and VK_MENU for their left and right keys; others unchanged.
uint32_t KeyTableGenericVirtualKey(uint32_t virtualKey);
// The left/right-distinguishing key of a key message's virtual key (VK_SHIFT by its scan
// code, VK_CONTROL and VK_MENU by the extended flag); others unchanged.
uint32_t KeyTableSidedVirtualKey(uint32_t virtualKey, uint32_t scanCode, bool extended);
