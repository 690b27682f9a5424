// The game's states and screens: briefing, the result screens, level loading, the play step
// with the fog meter and the win condition, and the HUD bars.
#include <algorithm>

#include "game/gameInternal.h"
#include "graphics/fwkFont.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "graphics/fwkModelImage.h"
#include "input/fwkInput.h"
#include "script/fwkScript.h"
#include "services/fwkState.h"
#include "shell/RunControl.h"

namespace {

constexpr uint32_t kStepInterval = 16;
constexpr uint32_t kResultScreenTime = 4999;
constexpr uint32_t kBriefingColour = 0xFF400000u;

// A screen picture, loaded on first use and kept, placed at (x, y) as the screen wants it.
void PlaceScreenImage(model*& image, const std::string& path, bool briefingRule) {
  if (image == nullptr) image = ModelOpenImage(Game().display, path, false);
  if (image == nullptr) return;
  const int32_t width = static_cast<int32_t>(ModelWidth(image));
  const int32_t height = static_cast<int32_t>(ModelHeight(image));
  const int32_t x = (kViewWidth - width) / 2;
  const int32_t y = briefingRule ? (kViewWidth - width) / 2 : (kViewHeight - height) / 2;
  ModelSetPosition(image, static_cast<float>(x), static_cast<float>(y), ModelGetPosition(image).z);
}

// True when the screen asked to be left.
bool ScreenInput() {
  gameData& game = Game();
  inputBuffer events;
  InputActionEventsTake(game.actions.set, events);
  bool leaving = false;
  for (const inputEvent& event : events.events) {
    if (event.value != 0) continue;
    if (event.identifier == game.actions.start) {
      StateSet(StateGet() == kStateBriefing ? kStatePlay : kStateLoad);
      leaving = true;
    }
    // Escape at the briefing: play begins paused, with the panel up.
    if (event.identifier == game.actions.menu && StateGet() == kStateBriefing) {
      game.menuFromBriefing = true;
      StateSet(kStatePlay);
      leaving = true;
    }
  }
  return leaving;
}

// Passes from a play step, or from the pass that enters play, to the next step: each draws.
uint32_t PassesToPlayPicture() { return RunControlPassesFor(kStepInterval + 1); }

void DrawScreen(model* image) {
  MapDraw(false);
  GraphicsSet2D(kViewWidth, kViewHeight);
  ModelDraw(image);
}

void BriefingEnter(int32_t) {
  gameData& game = Game();
  GameDiscardEvents();
  PlaceScreenImage(game.briefingImage, "Bin\\Sprites\\Briefing.tga", true);
  const std::string nights = NightsBriefingLine();
  if (!nights.empty()) game.briefing += "\r\n\r\n" + nights;
  game.briefing += "\r\n\r\nPress SPACE to begin.";
}

void BriefingUpdate() {
  gameData& game = Game();
  const bool leaving = ScreenInput();
  if (!RunControlPictureSeen(leaving ? PassesToPlayPicture() : 1)) return;
  DrawScreen(game.briefingImage);
  FontSetColour(game.font, kBriefingColour);
  FontDrawWrapped(game.font, 300, 60, 930, game.briefing);
  GraphicsRenderEnd(game.display);
}

void ResultUpdate(model* image, int32_t state) {
  const bool timeUp = StateTime(state) > kResultScreenTime;
  const bool leaving = ScreenInput() || timeUp;
  // Leaving, the loading pass draws nothing; the briefing or play after it draws.
  if (RunControlPictureSeen(leaving ? 1 + PassesToPlayPicture() : 1)) {
    DrawScreen(image);
    GraphicsRenderEnd(Game().display);
  }
  if (timeUp) StateSet(kStateLoad);
}

void DeadEnter(int32_t) {
  GameDiscardEvents();
  GameAmbienceOff();
  GameSoundPlay(kSoundDead);
  PlaceScreenImage(Game().deadImage, "Bin\\Sprites\\You Are Dead.tga", false);
  StateTimerReset();
}

void DeadUpdate() { ResultUpdate(Game().deadImage, kStateDead); }

void WinEnter(int32_t) {
  GameDiscardEvents();
  GameAmbienceOff();
  GameSoundPlay(kSoundWin);
  PlaceScreenImage(Game().winImage, "Bin\\Sprites\\You Win.tga", false);
  NightsWon(Game().mapNumber);
  ++Game().mapNumber;
  StateTimerReset();
}

void WinUpdate() { ResultUpdate(Game().winImage, kStateWin); }

void FatalUpdate() {}

void PlayEnter(int32_t) {
  GameDiscardEvents();
  GameAmbienceOn();
  const uint32_t now = StateTime(kStatePlay);
  for (agent& a : Game().agents) a.animationTick = now;
  ScriptRoutineRun(Game().scriptId, 1, "AppScriptEnter");
  if (Game().menuFromBriefing) GameMenuOpen();
  Game().menuFromBriefing = false;
}

void FogStep() {
  gameData& game = Game();
  if (!game.fogForm) {
    game.fogMeter = std::min(100, game.fogMeter + 1);
    HudBarSet(game.fogBar, game.fogMeter);
    return;
  }
  if (game.fogPhase == kFogPhaseSteady && game.fogMeter > 0) {
    --game.fogMeter;
    HudBarSet(game.fogBar, game.fogMeter);
  }
  if (!AgentPlayOnceStep(game.fog)) return;
  if (game.fogPhase == kFogPhaseForming) game.fogPhase = kFogPhaseSteady;
  if (game.fogMeter > 0) {
    AgentPlayOnce(game.fog, "Bin\\Sprites\\Dracula\\Fog\\Fog 2.exp", true);
  } else {
    game.fog.active = false;
  }
}

void PlayUpdate() {
  gameData& game = Game();
  if (StateTime(kStatePlay) <= game.lastStep + kStepInterval) return;
  GamePlayStep();
  if (RunControlPictureSeen(PassesToPlayPicture())) MapDraw(true);
  game.lastStep = StateTime(kStatePlay);
}

void LoadUpdate() {
  gameData& game = Game();
  if (!MapLoadLevel(game.mapNumber)) {
    StateSet(kStateExit);
    return;
  }
  GamePauseSet(false);
  GameScriptLoad(game.mapNumber);
  StateSet(game.briefing.empty() ? kStatePlay : kStateBriefing);
}

void ExitUpdate() { StateSet(0); }

}  // namespace

void GamePlayStep() {
  gameData& game = Game();
  // Paused by the level script's panel: only the script runs, the world waits.
  if (game.paused) {
    GameScriptStep();
    GameMenuCheck();
    return;
  }
  for (size_t i = 0; i < game.agents.size(); ++i) AgentUpdate(static_cast<int32_t>(i));
  FogStep();
  if (GameWinConditionMet()) StateSet(kStateWin);
  GameScriptStep();
  GameMenuCheck();
  PlayerInput();
  if (!game.agents.empty()) {
    const agent& player = game.agents[0];
    AgentMove(game.fog, player.x - game.fog.x, player.y - game.fog.y);
  }
}

model* HudBarNew() {
  model* bar = ModelNew(Game().display, 1);
  ModelSetVertex(bar, 0, 0.0f, 0.0f, -5.0f);
  ModelSetVertex(bar, 1, 50.0f, 0.0f, -5.0f);
  ModelSetVertex(bar, 2, 50.0f, 50.0f, -5.0f);
  ModelSetVertex(bar, 3, 0.0f, 50.0f, -5.0f);
  modelPolygon polygon;
  polygon.corners = {modelCorner{0, 0, 0}, modelCorner{2, 0, 0}, modelCorner{1, 0, 0}};
  ModelSetPolygon(bar, 0, polygon);
  polygon.corners = {modelCorner{0, 0, 0}, modelCorner{3, 0, 0}, modelCorner{2, 0, 0}};
  ModelSetPolygon(bar, 1, polygon);
  ModelSetColour(bar, 192, 0, 0, 255);
  return bar;
}

void HudBarSet(model* bar, int32_t value) {
  if (bar == nullptr) return;
  const int32_t top = (5000 - 50 * std::clamp(value, 0, 100)) / 100;
  for (int32_t index = 0; index < 2; ++index) {
    const modelVertex vertex = ModelGetVertex(bar, index);
    ModelSetVertex(bar, index, vertex.x, static_cast<float>(top), vertex.z);
  }
}

void GameDiscardEvents() {
  gameData& game = Game();
  InputControlSetActivate(game.actions.set);
  inputBuffer discarded;
  InputActionEventsTake(game.actions.set, discarded);
}

bool GameWinConditionMet() {
  const gameData& game = Game();
  if (game.agents.empty()) return false;
  int32_t humans = 0;
  int32_t vampires = 0;
  for (size_t i = 1; i < game.agents.size(); ++i) {
    const agent& human = game.agents[i];
    if (human.objective && !human.vampire) return false;
    ++humans;
    if (human.vampire) ++vampires;
  }
  if (humans > 0 && vampires * 100 / humans < game.vampsPercent) return false;
  if (game.objectiveColumn != -1 && game.objectiveRow != -1) {
    const agent& player = game.agents[0];
    if (MapCellOf(player.x) != game.objectiveColumn || MapCellOf(player.y) != game.objectiveRow)
      return false;
  }
  return true;
}

void GameRegisterStates() {
  StateSetEnterHandler(kStateBriefing, BriefingEnter);
  StateSetUpdateHandler(kStateBriefing, BriefingUpdate);
  StateSetEnterHandler(kStateDead, DeadEnter);
  StateSetUpdateHandler(kStateDead, DeadUpdate);
  StateSetUpdateHandler(kStateFatal, FatalUpdate);
  StateSetEnterHandler(kStatePlay, PlayEnter);
  StateSetUpdateHandler(kStatePlay, PlayUpdate);
  StateSetSaveName(kStatePlay, "Game");
  StateSetUpdateHandler(kStateLoad, LoadUpdate);
  StateSetUpdateHandler(kStateExit, ExitUpdate);
  StateSetEnterHandler(kStateWin, WinEnter);
  StateSetUpdateHandler(kStateWin, WinUpdate);
}
