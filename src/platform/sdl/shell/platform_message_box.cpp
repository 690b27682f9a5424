// Message boxes: a real SDL box in a window session, standard error when headless.
#include "platform/common/shell/message_box_record.h"
#include "platform/common/shell/native_shell.h"

#include <SDL.h>

// Returns 0 when SDL cannot show a box (no display), so the caller falls back.
int32_t NativeMessageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  SDL_MessageBoxButtonData buttons[2];
  int count = 0;
  if (MessageBoxIsYesNo(flags)) {
    buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kPlatformAnswerYes, "Yes"};
    buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kPlatformAnswerNo, "No"};
    count = 2;
  } else {
    buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                  kPlatformAnswerOk, "OK"};
    count = 1;
  }
  SDL_MessageBoxData data{};
  data.flags = SDL_MESSAGEBOX_INFORMATION;
  data.window = nullptr;
  data.title = caption.c_str();
  data.message = text.c_str();
  data.numbuttons = count;
  data.buttons = buttons;
  int chosen = 0;
  if (SDL_ShowMessageBox(&data, &chosen) != 0 || chosen <= 0) return 0;
  return chosen;
}
