// The game's entry points: set-up, one pass of the main loop, tear-down, and the fullscreen and
// minimise switches.
#include "game/UntGame.h"

#include <random>

#include "audio/fwkAudio.h"
#include "game/gameInternal.h"
#include "graphics/fwkFont.h"
#include "graphics/fwkGraphics.h"
#include "graphics/fwkModel.h"
#include "graphics/fwkModelImage.h"
#include "graphics/fwkTexture.h"
#include "input/fwkInput.h"
#include "platform/platform.h"
#include "script/fwkScript.h"
#include "services/fwkIni.h"
#include "services/fwkLog.h"
#include "services/fwkState.h"
#include "services/fwkUtilities.h"
#include "shell/UntMain.h"

namespace {

gameData theGame;
std::mt19937 generator;
bool seedChosen = false;
uint32_t chosenSeed = 0;
int32_t firstLevel = 1;

struct actionDefault {
  const char* name;
  ControlCode key;
  int32_t gameActions::*field;
};

constexpr actionDefault kActions[] = {
    {"Bite", 32, &gameActions::bite},   {"Down", 98, &gameActions::down},
    {"Left", 11, &gameActions::left},   {"Power", 95, &gameActions::power},
    {"Right", 29, &gameActions::right}, {"Start", 104, &gameActions::start},
};

void RegisterActions() {
  theGame.actions = gameActions{};
  theGame.actions.set = InputControlSetNew("Game", true);
  for (const actionDefault& entry : kActions) {
    const int32_t action = InputActionNew(theGame.actions.set, entry.name);
    theGame.actions.*entry.field = action;
    InputActionBind(action, entry.key, 100);
  }
  // Opens a level script's pause panel; a level without a script ignores it.
  theGame.actions.menu = InputActionNew(theGame.actions.set, "Menu");
  GameMenuBind(theGame.actions.menu);
  GameBindNewPads();
  // A player rebinds by editing the settings file; what it holds replaces the defaults.
  InputControlSetLoad(theGame.actions.set);
}

}  // namespace

void GameControlsDefault() {
  for (const actionDefault& entry : kActions) {
    const int32_t action = theGame.actions.*entry.field;
    InputActionUnbindAll(action);
    InputActionBind(action, entry.key, 100);
  }
  InputActionUnbindAll(theGame.actions.menu);
  GameMenuBind(theGame.actions.menu);
  // Every pad plugged in so far gets its default bindings again.
  theGame.padsBound = 0;
  GameBindNewPads();
}

namespace {

void CreatePlayer() {
  const int32_t index = AgentAdd("Dracula");
  if (index < 0) return;
  agent& player = theGame.agents[static_cast<size_t>(index)];
  player.vampire = true;
  player.type = "Dracula";
  AgentLoadAnimation(index, 4, "Bin\\Sprites\\Dracula\\Vampire Stand\\Vampire Stand Right.exp");
  AgentLoadAnimation(index, 5, "Bin\\Sprites\\Dracula\\Vampire Stand\\Vampire Stand Left.exp");
  AgentLoadAnimation(index, 6, "Bin\\Sprites\\Dracula\\Vampire Walk\\Vampire Walk Right.exp");
  AgentLoadAnimation(index, 7, "Bin\\Sprites\\Dracula\\Vampire Walk\\Vampire Walk Left.exp");
  AgentSetAnimation(index, kSlotStandRight);
}

void CreateHud() {
  theGame.healthIcon = ModelOpenImage(theGame.display, "Bin\\HUD\\Health.tga", true);
  theGame.healthBar = HudBarNew();
  ModelMove(theGame.healthIcon, 5.0f, 5.0f, 0.0f);
  ModelMove(theGame.healthBar, 5.0f, 5.0f, 0.0f);
  theGame.fogIcon = ModelOpenImage(theGame.display, "Bin\\HUD\\Fog.tga", true);
  theGame.fogBar = HudBarNew();
  ModelMove(theGame.fogIcon, 1225.0f, 5.0f, 0.0f);
  ModelMove(theGame.fogBar, 1225.0f, 5.0f, 0.0f);
}

}  // namespace

gameData& Game() { return theGame; }

void GameRandomSeed(uint32_t seed) { generator.seed(seed); }

int32_t GameRandom(int32_t count) {
  if (count <= 0) return 0;
  return static_cast<int32_t>(generator() % static_cast<uint32_t>(count));
}

void GameSeed(uint32_t seed) {
  seedChosen = true;
  chosenSeed = seed;
  GameRandomSeed(seed);
}

void GameStartLevel(int32_t level) { firstLevel = level < 1 ? 1 : level; }

bool GameInit() {
  LogMemory("GameInit - Start");
  // Models of an earlier run went with their display; only the records are dropped here.
  theGame = gameData{};
  GameRandomSeed(seedChosen ? chosenSeed : PlatformTickCount());
  MapClear();

  theGame.monitor = MainGetPrimaryMonitorId();
  const gameVideo video = GameChooseVideo(theGame.monitor);
  if (video.mode.width == 0) {
    LogError("GameInit - Unable to find suitable display mode.");
    return false;
  }
  theGame.display = MainThreadDisplayAdd(theGame.monitor, "Primary", true);
  if (theGame.display == -1) {
    LogError("GameInit - Unable to add \"Primary\" display.");
    return false;
  }
  theGame.video = video;
  MainThreadDisplayResize(theGame.display, video.windowWidth, video.windowHeight);
  GraphicsDisplaySetMode(theGame.display, video.mode);
  if (GraphicsIsFullscreen()) GameSetFullscreen(true);
  if (IniReadBool("Video", "Fullscreen", false)) GameSetFullscreen(true);
  theGame.sleep = UtilCommandLineValue("-sleep", 0);
  GraphicsSetCullMode(1);

  RegisterActions();
  GameRegisterStates();
  GameScriptRoutinesRegister();
  NightsRoutinesRegister();
  NightsLoad();

  theGame.font = FontOpen(theGame.display, "Bin\\Fonts\\Menu Description Small.fot");
  theGame.mapNumber = firstLevel;
  CreatePlayer();
  AgentReset(theGame.fog, "Fog");
  theGame.fogForm = false;
  CreateHud();
  GameSoundsOpen();

  StateSet(kStateLoad);
  LogMemory("GameInit - End");
  return true;
}

bool GameRun() {
  const int32_t state = StateGet();
  if (state == kStateExit || state == kStateFatal) return false;
  if (GraphicsDisplayLostTake()) GameSetFullscreen(GraphicsIsFullscreen());
  GameFullscreenApply();
  GameBindNewPads();
  StateRun();
  GameRest();
  return true;
}

void GameCleanup() {
  LogMemory("GameCleanup - Start");
  LogTimerStart("GameCleanup - Overall");
  LogTimerStart("GameCleanup - Script Closures");
  GameScriptClose();
  ScriptSetStateClock(nullptr);
  LogTimerStop("GameCleanup - Script Closures");

  GameSoundsClose();
  while (!theGame.agents.empty()) AgentRemove(static_cast<int32_t>(theGame.agents.size()) - 1);
  AgentFree(theGame.fog);
  MapClear();
  for (model** image : {&theGame.briefingImage, &theGame.deadImage, &theGame.winImage,
                        &theGame.fogIcon, &theGame.fogBar, &theGame.healthIcon, &theGame.healthBar})
    ModelFree(*image);

  const graphicsMode mode = GameSavedVideoMode();
  IniWriteInteger("Video", "Width", mode.width);
  IniWriteInteger("Video", "Height", mode.height);
  IniWriteInteger("Video", "BPP", mode.bitsPerPixel);
  IniWriteBool("Video", "Fullscreen", GraphicsIsFullscreen());

  LogTimerStart("GameCleanup - Close Displays");
  MainThreadDisplayClose(theGame.display);
  LogTimerStop("GameCleanup - Close Displays");
  LogTimerStop("GameCleanup - Overall");
  LogMemory("GameCleanup - End");
}

void GameSetFullscreen(bool on) {
  AudioPauseAll();
  GraphicsSetChanging(true);
  ModelAssetsRelease();
  GraphicsDisplaysFreeRC();
  GraphicsSetFullscreen(on);
  MainThreadDisplaySetFullscreen(on);
  GraphicsDisplaysCreateRC();
  ModelAssetsRecompile();
  // New contexts start with culling off; the game draws with the culling it set up at start.
  GraphicsSetCullMode(1);
  GraphicsSetChanging(false);
  AudioResumeAll();
}

void GameFullscreenKey() { theGame.fullscreenWanted = kFullscreenToggle; }

void GameFullscreenRequest(bool on) { theGame.fullscreenWanted = on ? 1 : 0; }

void GameFullscreenApply() {
  const int32_t wanted = theGame.fullscreenWanted;
  theGame.fullscreenWanted = kFullscreenUnchanged;
  if (wanted == kFullscreenUnchanged) return;
  const bool on = wanted == kFullscreenToggle ? !GraphicsIsFullscreen() : wanted == 1;
  if (on == GraphicsIsFullscreen()) return;
  GameSetFullscreen(on);
  // Kept at once, so that the choice outlives a run that does not end through its clean-up.
  IniWriteBool("Video", "Fullscreen", on);
}

void GameMinimize() {
  if (!GraphicsIsFullscreen()) return;
  GraphicsSetChanging(true);
  GraphicsMonitorsRestoreDesktop();
  GraphicsSetChanging(false);
  MainThreadMinimize();
}
