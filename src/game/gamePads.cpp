// Game pads in the "Game" set: each controller gets the default pad bindings when it first
// shows up, at start or plugged in later, unless the player's settings already bind it.
#include "game/gameInternal.h"
#include "input/fwkInput.h"

namespace {

constexpr int32_t kXAxisLeft = 40;
constexpr int32_t kXAxisRight = 41;
constexpr int32_t kYAxisDown = 42;

bool BoundAlready(int32_t set, int32_t pad) {
  const ControlCode first = pad * kControlsPerJoystick + 127;
  for (ControlCode code = first; code < first + kControlsPerJoystick; ++code)
    if (InputActionOfControl(set, code) > 0) return true;
  return false;
}

void Bind(int32_t action, ControlCode code) {
  if (code > 0) InputActionBind(action, code, 100);
}

void BindPad(const gameActions& actions, int32_t pad) {
  if (BoundAlready(actions.set, pad)) return;
  Bind(actions.left, InputJoystickPadControl(pad, PLATFORM_PAD_LEFT));
  Bind(actions.left, InputJoystickControl(pad, kXAxisLeft));
  Bind(actions.right, InputJoystickPadControl(pad, PLATFORM_PAD_RIGHT));
  Bind(actions.right, InputJoystickControl(pad, kXAxisRight));
  Bind(actions.down, InputJoystickPadControl(pad, PLATFORM_PAD_DOWN));
  Bind(actions.down, InputJoystickControl(pad, kYAxisDown));
  Bind(actions.bite, InputJoystickPadControl(pad, PLATFORM_PAD_SOUTH));
  Bind(actions.power, InputJoystickPadControl(pad, PLATFORM_PAD_EAST));
  Bind(actions.start, InputJoystickPadControl(pad, PLATFORM_PAD_START));
  Bind(actions.menu, InputJoystickPadControl(pad, PLATFORM_PAD_BACK));
}

// While the night is paused the menu controls are active: a pad's Back button leaves a panel
// there as Escape does, so that a pad alone can work the panels.
void BindPadExit(int32_t pad) {
  const ControlCode back = InputJoystickPadControl(pad, PLATFORM_PAD_BACK);
  const int32_t menu = InputControlSetFind("Menu Controls");
  if (back > 0 && InputActionOfControl(menu, back) <= 0)
    InputActionBind(InputMenuActions().exit, back, 100);
}

}  // namespace

void GameBindNewPads() {
  gameData& game = Game();
  const int32_t count = InputJoystickCount();
  for (; game.padsBound < count; ++game.padsBound) {
    BindPad(game.actions, game.padsBound);
    BindPadExit(game.padsBound);
  }
}
