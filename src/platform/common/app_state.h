// The application's activation and minimised state, kept the same way by every backend from
// its windows' records (which have `visible`, `minimized` and `focused`), and the handler told
// of its changes.
#pragma once

#include "platform/platform_video.h"

struct appState {
  platformAppHandler handler = nullptr;
  void* handlerContext = nullptr;
  bool active = false;
  bool minimized = false;
  // Headless runs have no focus to follow: injected events and bringing a window to the
  // front decide.
  bool headless = false;
  bool headlessActive = true;
};

appState& AppState();
// The video part starts: a headless application is active from the start, as a real one is
// once its first window takes the focus.
void AppStateStart(bool headless);
// The video part stops: the handler and the state are forgotten.
void AppStateReset();
// Compares the state the windows give with the last one and tells the handler what changed. A
// window coming back from the task bar is restored before it is activated.
void AppStateUpdate(bool minimized, bool active);

// What a window event says about the window's flags (injected events carry the same
// meaning as real ones).
template <typename Record>
void WindowApplyStateEvent(Record& record, platformWindowEventKind kind) {
  switch (kind) {
    case PLATFORM_EVENT_ACTIVATE:
      record.focused = true;
      AppState().headlessActive = true;
      break;
    case PLATFORM_EVENT_DEACTIVATE:
      record.focused = false;
      AppState().headlessActive = false;
      break;
    case PLATFORM_EVENT_MINIMIZE: record.minimized = true; break;
    case PLATFORM_EVENT_RESTORE: record.minimized = false; break;
    default: break;
  }
}
