// The rest of a program paused in the background, woken by the next message. Messages sent
// from other threads (the low-level hooks' calls among them) wake it too.
#include "platform/platform_system.h"
#include "platform/win32/video/win32_video_state.h"

void PlatformWaitForEvents(uint32_t ms) {
  if (PlatformHeadless() || PlatformClockIsVirtual() || ms == 0) {
    return;
  }
  MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}
