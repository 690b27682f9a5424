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

gameData game;
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
  game.actions = gameActions{};
  game.actions.set = InputControlSetNew("Game", true);
  for (const actionDefault& entry : kActions) {
    const int32_t action = InputActionNew(game.actions.set, entry.name);
    game.actions.*entry.field = action;
    InputActionBind(action, entry.key, 100);
  }
  // Opens a level script's pause panel; a level without a script ignores it.
  game.actions.menu = InputActionNew(game.actions.set, "Menu");
  GameMenuBind(game.actions.menu);
  GameBindNewPads();
  // A player rebinds by editing the settings file; what it holds replaces the defaults.
  InputControlSetLoad(game.actions.set);
}

}  // namespace

void GameControlsDefault() {
  for (const actionDefault& entry : kActions) {
    const int32_t action = game.actions.*entry.field;
    InputActionUnbindAll(action);
    InputActionBind(action, entry.key, 100);
  }
  InputActionUnbindAll(game.actions.menu);
  GameMenuBind(game.actions.menu);
  // Every pad plugged in so far gets its default bindings again.
  game.padsBound = 0;
  GameBindNewPads();
}

namespace {

void CreatePlayer() {
  const int32_t index = AgentAdd("Dracula");
  if (index < 0) return;
  agent& player = game.agents[static_cast<size_t>(index)];
  player.vampire = true;
  player.type = "Dracula";
  AgentLoadAnimation(index, 4, "Bin\\Sprites\\Dracula\\Vampire Stand\\Vampire Stand Right.exp");
  AgentLoadAnimation(index, 5, "Bin\\Sprites\\Dracula\\Vampire Stand\\Vampire Stand Left.exp");
  AgentLoadAnimation(index, 6, "Bin\\Sprites\\Dracula\\Vampire Walk\\Vampire Walk Right.exp");
  AgentLoadAnimation(index, 7, "Bin\\Sprites\\Dracula\\Vampire Walk\\Vampire Walk Left.exp");
  AgentSetAnimation(index, kSlotStandRight);
}

void CreateHud() {
  game.healthIcon = ModelOpenImage(game.display, "Bin\\HUD\\Health.tga", true);
  game.healthBar = HudBarNew();
  ModelMove(game.healthIcon, 5.0f, 5.0f, 0.0f);
  ModelMove(game.healthBar, 5.0f, 5.0f, 0.0f);
  game.fogIcon = ModelOpenImage(game.display, "Bin\\HUD\\Fog.tga", true);
  game.fogBar = HudBarNew();
  ModelMove(game.fogIcon, 1225.0f, 5.0f, 0.0f);
  ModelMove(game.fogBar, 1225.0f, 5.0f, 0.0f);
}

}  // namespace

gameData& Game() { return game; }

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
  game = gameData{};
  GameRandomSeed(seedChosen ? chosenSeed : PlatformTickCount());
  MapClear();

  game.monitor = MainGetPrimaryMonitorId();
  const gameVideo video = GameChooseVideo(game.monitor);
  if (video.mode.width == 0) {
    LogError("GameInit - Unable to find suitable display mode.");
    return false;
  }
  game.display = MainThreadDisplayAdd(game.monitor, "Primary", true);
  if (game.display == -1) {
    LogError("GameInit - Unable to add \"Primary\" display.");
    return false;
  }
  game.video = video;
  MainThreadDisplayResize(game.display, video.windowWidth, video.windowHeight);
  GraphicsDisplaySetMode(game.display, video.mode);
  if (GraphicsIsFullscreen()) GameSetFullscreen(true);
  if (IniReadBool("Video", "Fullscreen", false)) GameSetFullscreen(true);
  game.sleep = UtilCommandLineValue("-sleep", 0);
  GraphicsSetCullMode(1);

  RegisterActions();
  GameRegisterStates();
  GameScriptRoutinesRegister();
  NightsRoutinesRegister();
  NightsLoad();

  game.font = FontOpen(game.display, "Bin\\Fonts\\Menu Description Small.fot");
  game.mapNumber = firstLevel;
  CreatePlayer();
  AgentReset(game.fog, "Fog");
  game.fogForm = false;
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
  while (!game.agents.empty()) AgentRemove(static_cast<int32_t>(game.agents.size()) - 1);
  AgentFree(game.fog);
  MapClear();
  for (model** image : {&game.briefingImage, &game.deadImage, &game.winImage, &game.fogIcon,
                        &game.fogBar, &game.healthIcon, &game.healthBar})
    ModelFree(*image);

  const graphicsMode mode = GameSavedVideoMode();
  IniWriteInteger("Video", "Width", mode.width);
  IniWriteInteger("Video", "Height", mode.height);
  IniWriteInteger("Video", "BPP", mode.bitsPerPixel);
  IniWriteBool("Video", "Fullscreen", GraphicsIsFullscreen());

  LogTimerStart("GameCleanup - Close Displays");
  MainThreadDisplayClose(game.display);
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

void GameFullscreenKey() { game.fullscreenWanted = kFullscreenToggle; }

void GameFullscreenRequest(bool on) { game.fullscreenWanted = on ? 1 : 0; }

void GameFullscreenApply() {
  const int32_t wanted = game.fullscreenWanted;
  game.fullscreenWanted = kFullscreenUnchanged;
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
