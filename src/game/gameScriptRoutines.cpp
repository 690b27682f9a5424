// What the level scripts may ask of the game: the pause (the world and the script's threads
// stand still and the menu controls drive the script's panel, their pointer where the script
// puts it), restarting the level, quitting, and the facts the hint panels and the progress
// label show. Escape (or a pad's Back button) raises the event "AppScriptMenu" (code 2) on the
// script; without a script it does nothing.
#include <cstdlib>
#include <iterator>

#include "game/gameInternal.h"
#include "input/fwkInput.h"
#include "script/fwkScript.h"
#include "services/fwkState.h"

namespace {

constexpr int32_t kMenuEvent = 2;
constexpr int32_t kPadStepEvent = 3;
constexpr int32_t kPadPush = 50;
constexpr ControlCode kKeyEscape = 36;
// Matches the bite's reach, so the bite hint shows when a bite would take.
constexpr int32_t kNearDistance = 100;

int32_t Pause(int32_t scriptId, int32_t threadId) {
  GamePauseSet(ScriptParamBool(scriptId, threadId, 1));
  return 1;
}

// P1, P2 := where the menu pointer goes, in script coordinates: a panel puts it on the item
// that keys and pads start from.
int32_t PointerPlace(int32_t scriptId, int32_t threadId) {
  ScriptPointerPlace(scriptId, ScriptParamInt(scriptId, threadId, 1),
                     ScriptParamInt(scriptId, threadId, 2));
  return 1;
}

int32_t Restart(int32_t, int32_t) {
  GamePauseSet(false);
  StateSet(kStateLoad);
  return 1;
}

// P1: true for fullscreen, false for the window (switched at the start of the next pass).
int32_t Fullscreen(int32_t scriptId, int32_t threadId) {
  GameFullscreenRequest(ScriptParamBool(scriptId, threadId, 1));
  return 1;
}

int32_t ControlsDefault(int32_t, int32_t) {
  GameControlsDefault();
  return 1;
}

int32_t Quit(int32_t, int32_t) {
  StateSet(kStateExit);
  return 1;
}

// P1 := humans turned, P2 := humans in the level, P3 := share (percent) that must be turned.
int32_t Humans(int32_t scriptId, int32_t threadId) {
  const gameData& game = Game();
  int32_t turned = 0;
  for (size_t i = 1; i < game.agents.size(); ++i)
    if (game.agents[i].vampire) ++turned;
  ScriptParamSetInt(scriptId, threadId, 1, turned);
  ScriptParamSetInt(scriptId, threadId, 2,
                    game.agents.empty() ? 0 : static_cast<int32_t>(game.agents.size()) - 1);
  ScriptParamSetInt(scriptId, threadId, 3, game.vampsPercent);
  return 1;
}

// P1 := the player has walked a tile's width in this level; blows that push him do not count.
int32_t Walked(int32_t scriptId, int32_t threadId) {
  ScriptParamSetBool(scriptId, threadId, 1, Game().walked >= kTileSize);
  return 1;
}

// P1 := a human who can still be bitten stands within reach.
int32_t HumanNear(int32_t scriptId, int32_t threadId) {
  const gameData& game = Game();
  bool near = false;
  for (size_t i = 1; i < game.agents.size() && !game.agents.empty(); ++i) {
    const agent& human = game.agents[i];
    if (human.vampire || !human.active) continue;
    if (std::abs(human.x - game.agents[0].x) < kNearDistance &&
        std::abs(human.y - game.agents[0].y) < kNearDistance)
      near = true;
  }
  ScriptParamSetBool(scriptId, threadId, 1, near);
  return 1;
}

// P1 := fog form can be taken (the maiden is turned).
int32_t FogReady(int32_t scriptId, int32_t threadId) {
  ScriptParamSetBool(scriptId, threadId, 1, PlayerVampireNubileExists());
  return 1;
}

// A pad alone steps the panels' pointer as the arrow keys do: its stick, hat or d-pad pushed
// at least half way raises event 3 on the script with the arrow key's code as the event's name
// (its steering of the pointer moves it only when the push changes).
void PadSteps() {
  gameData& game = Game();
  struct direction {
    int32_t subControl;
    platformPadButton padButton;
    bool hasPadButton;
    const char* arrow;
  };
  static constexpr direction kDirections[] = {{kJoyXAxisLeft, PLATFORM_PAD_LEFT, true, "15"},
                                              {kJoyXAxisRight, PLATFORM_PAD_RIGHT, true, "16"},
                                              {kJoyYAxisDown, PLATFORM_PAD_DOWN, true, "14"},
                                              {kJoyYAxisUp, PLATFORM_PAD_DOWN, false, "17"}};
  constexpr size_t kCount = std::size(kDirections);
  const int32_t set = InputControlSetActive();
  const int32_t pads = InputJoystickCount();
  game.padPushed.resize(static_cast<size_t>(pads) * kCount, 0);
  for (int32_t pad = 0; pad < pads; ++pad) {
    for (size_t d = 0; d < kCount; ++d) {
      const direction& way = kDirections[d];
      const ControlCode button = way.hasPadButton ? InputJoystickPadControl(pad, way.padButton) : 0;
      const bool pushed =
          InputControlValue(set, InputJoystickControl(pad, way.subControl)) >= kPadPush ||
          (button > 0 && InputControlValue(set, button) >= kPadPush);
      uint8_t& was = game.padPushed[static_cast<size_t>(pad) * kCount + d];
      if (pushed && was == 0) ScriptRoutineRun(game.scriptId, kPadStepEvent, way.arrow);
      was = pushed ? 1 : 0;
    }
  }
}

bool MenuReleased(int32_t set, int32_t action) {
  inputBuffer events;
  InputActionEventsTake(set, events);
  for (const inputEvent& event : events.events)
    if (event.identifier == action && event.value == 0 && event.handled == 0) return true;
  return false;
}

}  // namespace

void GameScriptRoutinesRegister() {
  ScriptAppRoutineRegister("GamePause", Pause);
  ScriptAppRoutineRegister("GamePointerPlace", PointerPlace);
  ScriptAppRoutineRegister("GameRestart", Restart);
  ScriptAppRoutineRegister("GameQuit", Quit);
  ScriptAppRoutineRegister("GameFullscreen", Fullscreen);
  ScriptAppRoutineRegister("GameControlsDefault", ControlsDefault);
  ScriptAppRoutineRegister("GameHumans", Humans);
  ScriptAppRoutineRegister("GameWalked", Walked);
  ScriptAppRoutineRegister("GameHumanNear", HumanNear);
  ScriptAppRoutineRegister("GameFogReady", FogReady);
  ScriptSetStateClock(GameNightTime);
}

uint32_t GameNightTime(int32_t stateId) {
  if (stateId != kStatePlay) return StateTime(stateId);
  const gameData& game = Game();
  return (game.paused ? game.pausedAt : StateTime(kStatePlay)) - game.pausedFor;
}

void GameMenuBind(int32_t action) { InputActionBind(action, kKeyEscape, 100); }

void GamePauseSet(bool on) {
  gameData& game = Game();
  if (game.paused == on) return;
  game.paused = on;
  if (on) {
    game.pausedAt = StateTime(kStatePlay);
  } else {
    game.pausedFor += StateTime(kStatePlay) - game.pausedAt;
  }
  // The script's own timing (hints that wait and fade in play steps) stands still with the night.
  ScriptThreadsHold(game.scriptId, on);
  inputBuffer discarded;
  if (on) {
    const int32_t menu = InputControlSetFind("Menu Controls");
    InputControlSetActivate(menu);
    InputActionEventsTake(menu, discarded);
  } else {
    InputControlSetActivate(game.actions.set);
    GameDiscardEvents();
  }
}

void GameMenuOpen() { ScriptRoutineRun(Game().scriptId, kMenuEvent, "AppScriptMenu"); }

void GameMenuCheck() {
  gameData& game = Game();
  if (game.paused) {
    // The script's pointer pass has had its look; what it left is the menu's to take.
    if (MenuReleased(InputControlSetActive(), InputMenuActions().exit))
      ScriptRoutineRun(game.scriptId, kMenuEvent, "AppScriptMenu");
    PadSteps();
    return;
  }
  inputBuffer events;
  InputActionEventsRead(game.actions.set, events, false);
  for (const inputEvent& event : events.events)
    if (event.identifier == game.actions.menu && event.value == 0)
      ScriptRoutineRun(game.scriptId, kMenuEvent, "AppScriptMenu");
}
