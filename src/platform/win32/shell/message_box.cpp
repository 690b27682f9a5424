// Message boxes: a real box in a window session, standard error when headless.
#include <windows.h>

#include "platform/common/message_box_record.h"
#include "platform/platform_shell.h"
#include "platform/platform_system.h"

int32_t PlatformMessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  int32_t answer = 0;
  if (!PlatformHeadless()) {
    // Owned by the active window of the program, if any, so the box stays in front of it.
    answer = MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags | MB_SETFOREGROUND);
  }
  if (answer == 0) {
    answer = MessageBoxAnswerOnStandardError(text, caption, flags);
  }
  MessageBoxRemember(text, caption, flags, answer);
  return answer;
}
