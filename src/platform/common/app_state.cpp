#include "platform/common/app_state.h"

namespace {

void Tell(platformAppEventKind kind) {
  const appState& state = AppState();
  if (state.handler != nullptr) state.handler(kind, state.handlerContext);
}

}  // namespace

appState& AppState() {
  static appState state;
  return state;
}

void AppStateStart(bool headless) {
  appState& state = AppState();
  state.headless = headless;
  state.headlessActive = true;
  state.active = headless;
  state.minimized = false;
}

void AppStateReset() { AppState() = appState{}; }

void AppStateUpdate(bool minimized, bool active) {
  appState& state = AppState();
  if (minimized != state.minimized) {
    state.minimized = minimized;
    if (!minimized) Tell(PLATFORM_APP_RESTORE);
  }
  if (active != state.active) {
    state.active = active;
    Tell(active ? PLATFORM_APP_ACTIVATE : PLATFORM_APP_DEACTIVATE);
  }
}

void PlatformAppSetHandler(platformAppHandler handler, void* context) {
  appState& state = AppState();
  state.handler = handler;
  state.handlerContext = handler != nullptr ? context : nullptr;
}
