// The built-in "Menu Controls" set that the script engine's on-screen objects answer to.
#include "input/inputTables.h"

namespace {

void BindPointer(int32_t set, int32_t pointerAction, ControlCode mouse, ControlCode key,
                 int32_t joySub) {
  InputPointerActionBind(set, pointerAction, mouse, 100);
  InputPointerActionBind(set, pointerAction, key, 50);
  for (int32_t j = 0; j < InputJoystickCount(); ++j) {
    InputPointerActionBind(set, pointerAction, InputJoystickControl(j, joySub), 100);
  }
}

int32_t NewAction(int32_t set, const std::string& name, std::initializer_list<ControlCode> codes,
                  int32_t joySub) {
  const int32_t id = InputActionNew(set, name);
  for (ControlCode code : codes) InputActionBind(id, code, 100);
  if (joySub == 0) return id;
  for (int32_t j = 0; j < InputJoystickCount(); ++j) {
    const ControlCode code = InputJoystickControl(j, joySub);
    if (code > 0) InputActionBind(id, code, 100);
  }
  return id;
}

}  // namespace

void InputMenuSetCreate() {
  const int32_t set = InputControlSetNew("Menu Controls", false);
  BindPointer(set, kPointerUp, 126, 17, kJoyYAxisUp);
  BindPointer(set, kPointerDown, 119, 14, kJoyYAxisDown);
  BindPointer(set, kPointerLeft, 120, 15, kJoyXAxisLeft);
  BindPointer(set, kPointerRight, 121, 16, kJoyXAxisRight);
  inputMenuActions& menu = InputState().menu;
  menu.scrollUp = NewAction(set, "Scroll Up", {125, 92}, kJoyZAxisUp);
  menu.scrollDown = NewAction(set, "Scroll Down", {124, 91}, kJoyZAxisDown);
  menu.exit = NewAction(set, "Exit", {36}, 0);
  menu.selectItem = NewAction(set, "Select Item", {114, 34}, 1);
  menu.selectItemSecondary = NewAction(set, "Select Item Secondary", {116}, 2);
  // The module never writes this set, but a player may give it bindings of his own.
  InputControlSetLoad(set);
}
