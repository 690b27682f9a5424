// Message boxes and window pictures: the answer, its fallback on standard error and the history
// tests read; the pictures kept for repainting. The backend only shows and paints.
#include "platform/common/shell/message_box_record.h"
#include "platform/common/shell/native_shell.h"
#include "platform/platform_system.h"

int32_t PlatformMessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  int32_t answer = PlatformHeadless() ? 0 : NativeMessageBox(text, caption, flags);
  if (answer == 0) {
    answer = MessageBoxAnswerOnStandardError(text, caption, flags);
  }
  MessageBoxRemember(text, caption, flags, answer);
  return answer;
}

void PlatformWindowSetPicture(platformWindow window, int32_t width, int32_t height,
                              const std::vector<uint32_t>& pixels) {
  if (const windowPicture* picture = WindowPictureKeep(window, width, height, pixels))
    NativePaintPicture(window, *picture);
}

void PlatformWindowPaintPicture(platformWindow window) {
  if (const windowPicture* picture = WindowPictureFind(window))
    NativePaintPicture(window, *picture);
}
