// Module start-up and shutdown, and the small helpers the other files share.
#include <limits>

#include "input/inputTables.h"
#include "services/fwkLog.h"

namespace {

inputModuleState inputState;

}  // namespace

inputModuleState& InputState() { return inputState; }

void InputInit() {
  // A fresh start: tests call this again to reset the module, so hooks left on go first.
  InputKeyboardHookOff();
  InputMouseHookOff();
  inputState = inputModuleState{};
  LogVersionAdd("fwkInput - Version 1.0");
  InputJoystickEnumerate();
  InputMenuSetCreate();
  PlatformJoystickSetHandler(InputJoystickEvent);
}

void InputFinal() {
  InputKeyboardHookOff();
  InputMouseHookOff();
  InputControlSetSaveAll();
  PlatformJoystickSetHandler(nullptr);
  inputState = inputModuleState{};
}

void InputSetDisplayQueries(inputFullscreenQuery isFullscreen,
                            inputCurrentWindowQuery currentWindow) {
  inputState.isFullscreen = isFullscreen;
  inputState.currentWindow = currentWindow;
}

bool InputProgramIsFullscreen() {
  return inputState.isFullscreen != nullptr && inputState.isFullscreen();
}

platformWindow InputProgramCurrentWindow() {
  return inputState.currentWindow != nullptr ? inputState.currentWindow() : 0;
}

const inputMenuActions& InputMenuActions() { return inputState.menu; }

std::string InputUpper(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

int32_t InputSaturate(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

void inputQueue::Push(const inputEvent& event) {
  if (events_.size() >= kCapacity) events_.pop_front();
  events_.push_back(event);
}

void inputQueue::CopyTo(std::vector<inputEvent>& out) const {
  out.assign(events_.begin(), events_.end());
}
