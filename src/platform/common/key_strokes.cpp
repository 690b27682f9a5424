// The shapes of a key stroke: Windows sends the system key messages while Alt is held without
// Control, and for F10; an Alt key's own release is a plain key message.
#include "platform/common/key_strokes.h"

#include "platform/common/key_table.h"

keyStrokeShapes KeyStrokeShape(const keyStroke& stroke, uint32_t time) {
  const bool isAlt =
      stroke.virtualKey == PLATFORM_VK_LMENU || stroke.virtualKey == PLATFORM_VK_RMENU;
  const bool alt = stroke.otherAltHeld || (isAlt && stroke.down);
  const bool system = !stroke.controlHeld && (alt || stroke.virtualKey == PLATFORM_VK_F1 + 9) &&
                      !(isAlt && !stroke.down);
  keyStrokeShapes shapes;
  shapes.message = stroke.down ? PLATFORM_WM_KEYDOWN : PLATFORM_WM_KEYUP;
  if (system) shapes.message = stroke.down ? PLATFORM_WM_SYSKEYDOWN : PLATFORM_WM_SYSKEYUP;
  shapes.hook.virtualKey = stroke.virtualKey;
  shapes.hook.scanCode = stroke.scanCode;
  shapes.hook.flags = (stroke.extended ? PLATFORM_LLKHF_EXTENDED : 0) |
                      (alt ? PLATFORM_LLKHF_ALTDOWN : 0) | (stroke.down ? 0 : PLATFORM_LLKHF_UP);
  shapes.hook.time = time;
  shapes.virtualKey = KeyTableGenericVirtualKey(stroke.virtualKey);
  shapes.flags = 1u | ((stroke.scanCode & 0xFF) << 16) |
                 (stroke.extended ? PLATFORM_KF_EXTENDED : 0) | (alt ? PLATFORM_KF_ALTDOWN : 0) |
                 (!stroke.down || stroke.repeat ? PLATFORM_KF_REPEAT : 0) |
                 (stroke.down ? 0 : PLATFORM_KF_UP);
  return shapes;
}
