// The game's script slot. A level without a script file leaves the slot at 0, and every
// script call made with it does nothing.
#include "game/gameInternal.h"
#include "script/fwkScript.h"
#include "services/fwkDataFile.h"

void GameScriptLoad(int32_t mapNumber) {
  GameScriptClose();
  const std::string path = "Bin\\Scripts\\Map" + std::to_string(mapNumber) + ".vmc";
  // Most levels have no script: only a file that is there is opened, so its absence is no error.
  const int32_t probe = DataFileOpen(path);
  if (probe == 0) return;
  DataFileClose(probe);
  Game().scriptId = ScriptOpen(path);
}

void GameScriptStep() {
  const int32_t script = Game().scriptId;
  if (ScriptIsWaiting(script)) {
    ScriptThreadResume(script, -1);
  } else {
    ScriptStep(script);
  }
}

void GameScriptClose() {
  gameData& game = Game();
  if (game.scriptId > 0) ScriptClose(game.scriptId);
  game.scriptId = 0;
}
