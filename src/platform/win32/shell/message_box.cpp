// Message boxes: a real box in a window session, standard error when headless.
#include <windows.h>

#include "platform/common/shell/native_shell.h"

int32_t NativeMessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  // Owned by the active window of the program, if any, so the box stays in front of it.
  return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags | MB_SETFOREGROUND);
}
