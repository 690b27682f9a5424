#include "platform/common/app_state.h"
#include "platform/common/video/native_video.h"
#include "platform/common/video/window_list.h"
#include "platform/platform_shell.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/video/sdl_video_state.h"

namespace {

void HandleWindowEvent(const SDL_WindowEvent& event) {
  sdlWindowRecord* record = SdlWindowRecord(event.windowID);
  if (record == nullptr) {
    return;
  }
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE: {
      platformWindowEvent close;
      close.kind = PLATFORM_EVENT_CLOSE;
      WindowRecordSend(event.windowID, close);
      break;
    }
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      WindowStateEvent(event.windowID, PLATFORM_EVENT_ACTIVATE);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      WindowStateEvent(event.windowID, PLATFORM_EVENT_DEACTIVATE);
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      WindowStateEvent(event.windowID, PLATFORM_EVENT_MINIMIZE);
      break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
      if (record->minimized) {
        WindowStateEvent(event.windowID, PLATFORM_EVENT_RESTORE);
      }
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
      if (!VideoState().headless) {
        record->width = event.data1;
        record->height = event.data2;
      }
      platformWindowEvent resize;
      resize.kind = PLATFORM_EVENT_RESIZE;
      resize.width = record->width;
      resize.height = record->height;
      WindowRecordSend(event.windowID, resize);
      break;
    }
    case SDL_WINDOWEVENT_ENTER:
      SDL_ShowCursor(record->cursorVisible ? SDL_ENABLE : SDL_DISABLE);
      break;
    case SDL_WINDOWEVENT_LEAVE: SDL_ShowCursor(SDL_ENABLE); break;
    default: break;
  }
}

int32_t ButtonNumber(uint8_t button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return PLATFORM_MOUSE_LEFT;
    case SDL_BUTTON_MIDDLE: return PLATFORM_MOUSE_MIDDLE;
    case SDL_BUTTON_RIGHT: return PLATFORM_MOUSE_RIGHT;
    default: return 0;
  }
}

uint32_t ButtonBits(uint32_t state) {
  uint32_t bits = 0;
  if (state & SDL_BUTTON_LMASK) bits |= PlatformMouseBit(PLATFORM_MOUSE_LEFT);
  if (state & SDL_BUTTON_MMASK) bits |= PlatformMouseBit(PLATFORM_MOUSE_MIDDLE);
  if (state & SDL_BUTTON_RMASK) bits |= PlatformMouseBit(PLATFORM_MOUSE_RIGHT);
  return bits;
}

// False when the pointer lies outside the window's outline: such events do not reach it.
bool HandleMouseEvent(const SDL_Event& event) {
  platformWindowEvent out;
  platformWindow window = 0;
  if (event.type == SDL_MOUSEMOTION) {
    window = event.motion.windowID;
    out.kind = PLATFORM_EVENT_MOUSE_MOVE;
    out.x = event.motion.x;
    out.y = event.motion.y;
    out.buttons = ButtonBits(event.motion.state);
  } else {
    window = event.button.windowID;
    out.kind =
        event.type == SDL_MOUSEBUTTONDOWN ? PLATFORM_EVENT_MOUSE_DOWN : PLATFORM_EVENT_MOUSE_UP;
    out.x = event.button.x;
    out.y = event.button.y;
    out.button = ButtonNumber(event.button.button);
    out.buttons = ButtonBits(SDL_GetMouseState(nullptr, nullptr));
  }
  if (SdlWindowRecord(window) == nullptr) {
    return true;
  }
  if (!PlatformWindowShapeContains(window, out.x, out.y)) {
    return false;
  }
  WindowRecordSend(window, out);
  return true;
}

bool IsInputEvent(uint32_t type) {
  return (type >= SDL_KEYDOWN && type < SDL_MOUSEMOTION) ||
         (type >= SDL_MOUSEMOTION && type < SDL_JOYAXISMOTION) ||
         (type >= SDL_JOYAXISMOTION && type < SDL_FINGERDOWN);
}

}  // namespace

void NativeSendWindowEvent(platformWindow window, const platformWindowEvent& event) {
  WindowRecordSend(window, event);
}

void NativePostWindowEvent(platformWindow window, const platformWindowEvent& event) {
  WindowRecordSend(window, event);
}

bool NativeCursorPosition(int32_t& x, int32_t& y) {
  SDL_GetGlobalMouseState(&x, &y);
  return true;
}

bool NativeLeftButtonDown() {
  return (SDL_GetGlobalMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) != 0;
}

void PlatformPumpMessages() {
  if (!VideoStart()) {
    return;
  }
  sdlVideoState& state = SdlVideo();
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    if (event.type == state.injectEventType) {
      WindowStateEvent(static_cast<platformWindow>(event.user.windowID),
                       static_cast<platformWindowEventKind>(event.user.code));
    } else if (event.type == SDL_WINDOWEVENT) {
      HandleWindowEvent(event.window);
    } else if (event.type == SDL_QUIT) {
      // SIGTERM or SIGINT (the desktop session ending, Ctrl+C in a terminal): every window is
      // asked to close, as the system's close command would, so the game ends through its
      // normal clean-up and keeps the player's settings.
      WindowsAskAllToClose();
    } else if (IsInputEvent(event.type)) {
      bool isMouse = event.type == SDL_MOUSEMOTION || event.type == SDL_MOUSEBUTTONDOWN ||
                     event.type == SDL_MOUSEBUTTONUP;
      if (!isMouse || HandleMouseEvent(event)) {
        SdlInputHandleEvent(event);
      }
    }
  }
  WindowListFollowDrag();
  AppStateUpdate(WindowsAppMinimized(), WindowsAppActive());
  PlatformKeepAwakeLapse();
}

void PlatformHeadlessInjectWindowEvent(platformWindow window, platformWindowEventKind kind) {
  if (!VideoStart()) {
    return;
  }
  SDL_Event event{};
  event.type = SdlVideo().injectEventType;
  event.user.windowID = static_cast<uint32_t>(window);
  event.user.code = kind;
  SDL_PushEvent(&event);
}
