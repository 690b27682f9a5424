// The nights a player has reached: the highest night won is kept in the settings, the pause
// panel lists every night up to the one after it, and a chosen night is played from its
// briefing. A briefing of an earlier night tells how to get back to the night reached.
#include <algorithm>

#include "game/gameInternal.h"
#include "script/fwkScript.h"
#include "services/fwkDataFile.h"
#include "services/fwkIni.h"
#include "services/fwkState.h"

namespace {

constexpr const char* kSection = "Progress";
constexpr const char* kKey = "Highest Night Won";
// The "-level" switch's range: no level number above it is ever played.
constexpr int32_t kNightsMost = 999;

bool NightExists(int32_t night) {
  const int32_t file = DataFileOpen("Bin\\Maps\\Map" + std::to_string(night) + ".map");
  if (file == 0) return false;
  DataFileClose(file);
  return true;
}

// P1 := the last night the player may choose, P2 := this night, P3 := the panel was asked for
// from the briefing (so that it starts on the night reached rather than on Resume).
int32_t Nights(int32_t scriptId, int32_t threadId) {
  const gameData& game = Game();
  ScriptParamSetInt(scriptId, threadId, 1, NightsReached());
  ScriptParamSetInt(scriptId, threadId, 2, game.mapNumber);
  ScriptParamSetBool(scriptId, threadId, 3, game.menuFromBriefing);
  return 1;
}

// P1: the night to play from its briefing; nights not reached yet are refused.
int32_t Night(int32_t scriptId, int32_t threadId) {
  const int32_t night = ScriptParamInt(scriptId, threadId, 1);
  if (night < 1 || night > NightsReached()) return 1;
  Game().mapNumber = night;
  GamePauseSet(false);
  StateSet(kStateLoad);
  return 1;
}

}  // namespace

void NightsLoad() {
  gameData& game = Game();
  game.nightsLast = 0;
  while (game.nightsLast < kNightsMost && NightExists(game.nightsLast + 1)) ++game.nightsLast;
  // A value the game's own nights cannot have come from (edited, or from other content) is
  // brought within them.
  game.nightsWon = std::clamp(IniReadInteger(kSection, kKey, 0), 0, game.nightsLast);
}

void NightsWon(int32_t night) {
  gameData& game = Game();
  if (night <= game.nightsWon || night > kNightsMost) return;
  game.nightsWon = night;
  IniWriteInteger(kSection, kKey, night);
}

int32_t NightsReached() {
  // The night after the last one won, unless the game has no such night (all were won).
  const gameData& game = Game();
  return std::max(std::min(game.nightsWon + 1, game.nightsLast), 1);
}

std::string NightsBriefingLine() {
  const int32_t reached = NightsReached();
  if (reached <= Game().mapNumber) return "";
  return "You have reached night " + std::to_string(reached) +
         ": Escape, then Enter, takes you there.";
}

void NightsRoutinesRegister() {
  ScriptAppRoutineRegister("GameNights", Nights);
  ScriptAppRoutineRegister("GameNight", Night);
}
