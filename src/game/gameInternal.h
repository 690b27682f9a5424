// The game's own records and the operations its parts share. Only the files of src/game and
// the test-facing header include this; the rest of the program sees UntGame.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/fwkGraphics.h"

struct model;

// One picture of an animation.
struct frame {
  std::string imagePath;
  model* image = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t prevX = 0;
  int32_t prevY = 0;
  int32_t nextX = 0;
  int32_t nextY = 0;
  int32_t spriteX = 0;
  int32_t spriteY = 0;
  int32_t repeat = 0;
  int32_t repeatCounter = 0;
};

// One animation read from an exposure sheet.
struct cycle {
  std::string sheet;
  bool loaded = false;
  bool hold = false;
  std::vector<frame> frames;
};

// Animation slots of an agent.
constexpr int32_t kSlotStandRight = 0;
constexpr int32_t kSlotStandLeft = 1;
constexpr int32_t kSlotWalkRight = 2;
constexpr int32_t kSlotWalkLeft = 3;
constexpr int32_t kSlotOneShot = 8;
constexpr int32_t kSlotCount = 9;

// Reactions.
constexpr int32_t kReactionCollapse = 2;
constexpr int32_t kReactionNormal = 3;
constexpr int32_t kReactionPushedRight = 4;
constexpr int32_t kReactionPushedLeft = 5;

struct agent {
  std::string name;
  int32_t baseAnimation = 1;
  int32_t x = 0;
  int32_t y = 0;
  int32_t spawnX = 0;
  int32_t spawnY = 0;
  bool active = true;
  std::string type;
  std::vector<cycle> cycles;
  int32_t currentAnimation = 1;
  int32_t currentFrame = 0;
  bool vampire = false;
  int32_t victim = -1;
  uint32_t animationTick = 0;
  int32_t walkMode = 0;
  uint32_t nextDecision = 0;
  uint8_t alert = 0;
  int32_t health = 100;
  uint32_t respawnTime = 0;
  int32_t reaction = kReactionNormal;
  bool objective = false;
};

// Tile types.
constexpr uint8_t kTileUndefined = 0;
constexpr uint8_t kTileBlock = 1;
constexpr uint8_t kTileBlockNpc = 2;
constexpr uint8_t kTileLeft = 3;
constexpr uint8_t kTileRight = 4;
constexpr uint8_t kTileSpace = 5;

constexpr int32_t kTileSize = 64;
// How far above its feet a figure's alert mark is drawn.
constexpr int32_t kMarkHeight = 128;
constexpr int32_t kGridSize = 30;
constexpr int32_t kMaxColumns = 29;
constexpr int32_t kMaxRows = 30;

struct tileDefinition {
  uint8_t type = kTileUndefined;
  model* image = nullptr;
};

struct mapData {
  std::vector<tileDefinition> tiles;
  std::array<int32_t, kGridSize * kGridSize> cells{};  // column-major, -1 empty
  int32_t columns = 0;
  int32_t rows = 0;
};

// The game's states.
constexpr int32_t kStateBriefing = 1;
constexpr int32_t kStateDead = 2;
constexpr int32_t kStateFatal = 3;
constexpr int32_t kStatePlay = 4;
constexpr int32_t kStateLoad = 5;
constexpr int32_t kStateExit = 6;
constexpr int32_t kStateWin = 7;

constexpr int32_t kFogPhaseForming = 6;
constexpr int32_t kFogPhaseSteady = 3;

// The picture the game draws, whatever the window's size.
constexpr int32_t kViewWidth = 1280;
constexpr int32_t kViewHeight = 720;

struct gameActions {
  int32_t set = 0;
  int32_t bite = 0;
  int32_t down = 0;
  int32_t left = 0;
  int32_t power = 0;
  int32_t right = 0;
  int32_t start = 0;
  int32_t menu = 0;
};

// The settings' video mode and what the game makes of it on its monitor.
struct gameVideo {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
  bool listed = false;  // the monitor lists the settings' mode
  int32_t windowWidth = 0;
  int32_t windowHeight = 0;
  graphicsMode mode;  // the display's mode: the fullscreen resolution
};

constexpr int32_t kFullscreenUnchanged = -2;
constexpr int32_t kFullscreenToggle = -1;

struct gameData {
  int32_t display = -1;
  int32_t monitor = 0;
  gameVideo video;
  std::vector<agent> agents;
  agent fog;
  mapData map;
  int32_t mapNumber = 1;
  std::string briefing;
  int32_t objectiveColumn = -1;
  int32_t objectiveRow = -1;
  int32_t vampsPercent = 0;
  int32_t fogMeter = 100;
  bool fogForm = false;
  int32_t fogPhase = kFogPhaseSteady;
  int32_t biteCount = 0;
  // Pixels the player has walked in this level on his own legs (pushes by blows not counted).
  int32_t walked = 0;
  uint32_t lastStep = 0;
  int32_t sleep = 0;
  int32_t scriptId = 0;
  // Set by the level script's pause panel: the world stands still, the menu controls are active.
  bool paused = false;
  // The play state's time when the pause began, and all the play time spent paused before it:
  // the night's own clock leaves them out.
  uint32_t pausedAt = 0;
  uint32_t pausedFor = 0;
  int32_t font = 0;
  model* briefingImage = nullptr;
  model* deadImage = nullptr;
  model* winImage = nullptr;
  model* healthBar = nullptr;
  model* healthIcon = nullptr;
  model* fogBar = nullptr;
  model* fogIcon = nullptr;
  gameActions actions;
  // A switch between the window and fullscreen asked for by the fullscreen key (-1: the other
  // one) or the pause panel (0 windowed, 1 fullscreen), made at the start of the next pass.
  int32_t fullscreenWanted = kFullscreenUnchanged;
  // The highest night won in any run (kept in the settings), and Escape at the briefing: play
  // begins with the pause panel up.
  int32_t nightsWon = 0;
  int32_t nightsLast = 0;  // the last night the content has
  bool menuFromBriefing = false;
  int32_t padsBound = 0;           // controllers that have had their default bindings
  std::vector<uint8_t> padPushed;  // per pad and direction: pushed at the last paused step
};

gameData& Game();

// The display's mode and window size from the settings and the monitor (gameVideo.cpp).
gameVideo GameChooseVideo(int32_t monitor);
// The mode written back to the settings at the end.
graphicsMode GameSavedVideoMode();

// Default bindings for controllers not seen before (gamePads.cpp).
void GameBindNewPads();

// The end of a game pass: the "-sleep" value, then a wait for the next step or frame
// (gameRest.cpp).
void GameRest();

// Random numbers: one generator for the whole game.
void GameRandomSeed(uint32_t seed);
// 0 .. count - 1.
int32_t GameRandom(int32_t count);

// Exposure sheets (gameAnimation.cpp).
bool AnimationOpen(cycle& c, const std::string& path, bool hold);
// Loads the frame's image and places its anchor at (x, y).
void AnimationLoadFrame(frame& f, int32_t x, int32_t y);
void AnimationFree(cycle& c);
// One advance of the agent's one-shot slot; true when the sequence has ended.
bool AgentPlayOnceStep(agent& a);
// False when the sheet could not be opened (the agent keeps its animation).
bool AgentPlayOnce(agent& a, const std::string& path, bool hold);

// The tile map (gameMap.cpp).
void MapClear();
// Column or row of a world coordinate; counts from 1, below 1 left of or above the world.
int32_t MapCellOf(int32_t coordinate);
uint8_t MapTileType(int32_t column, int32_t row);
// Reads level number n; false when its file cannot be opened.
bool MapLoadLevel(int32_t number);
void MapDraw(bool present);
// The letterbox: where the 1280 x 720 picture lies in a window of that size.
void MapViewport(int32_t windowWidth, int32_t windowHeight, int32_t& x, int32_t& y, int32_t& width,
                 int32_t& height);

// Agents (gameAgents.cpp).
int32_t AgentFind(const std::string& name);
int32_t AgentAdd(const std::string& name);
void AgentRemove(int32_t index);
void AgentReset(agent& a, const std::string& name);
void AgentFree(agent& a);
void AgentSetAnimation(int32_t index, int32_t slot);
void AgentLoadAnimation(int32_t index, int32_t slot, const std::string& path);
void AgentMove(agent& a, int32_t dx, int32_t dy);
struct agentStepResult {
  int32_t dx = 0;
  int32_t dy = 0;
};
agentStepResult AgentStep(int32_t index, int32_t dx, bool drop, bool solidForHumans);
void AgentWalk(int32_t index, int32_t dx, bool drop);
void AgentUpdate(int32_t index);
void AgentDraw(const agent& a);
void AgentAlarmAll();
bool AgentFacesRight(const agent& a);
// The human's update, the noticing and attacking parts (gameHumans.cpp).
void HumanUpdate(int32_t index);
void HumanNotice(int32_t index);
void HumanAttack(int32_t index);

// The player (gamePlayer.cpp).
void PlayerInput();
void PlayerUpdate();
bool PlayerVampireNubileExists();
void PlayerEndFogForm();

// The HUD and the states (gameStates.cpp).
model* HudBarNew();
void HudBarSet(model* bar, int32_t value);
void GameRegisterStates();
// What a play step changes, without the drawing that follows it.
void GamePlayStep();
// The level's script, "Bin\Scripts\Map" + number + ".vmc" when the level has one: loaded with
// the level (closing the previous level's), advanced each play step, closed at clean-up.
void GameScriptLoad(int32_t mapNumber);
void GameScriptStep();
void GameScriptClose();
void GameDiscardEvents();
// The routines level scripts call (GamePause, GameRestart, GameQuit and the facts for hints).
void GameScriptRoutinesRegister();
// The nights reached (gameNights.cpp): read from the settings at start, raised when a night
// is won; the last night the player may choose; the briefing's line about it (empty when this
// night is the one reached); the level scripts' routines GameNights and GameNight.
void NightsLoad();
void NightsWon(int32_t night);
int32_t NightsReached();
std::string NightsBriefingLine();
void NightsRoutinesRegister();
// The shipped bindings of the "Game" actions again: keys, Escape and every pad's defaults
// (the Controls panel's Defaults button).
void GameControlsDefault();
// Raises the script's menu event (Escape) at once.
void GameMenuOpen();
// The fullscreen switch of the pause panel: made at the start of the next pass, as the key's.
void GameFullscreenRequest(bool on);
// Makes the switch the key or the panel asked for, and keeps the choice in the settings.
void GameFullscreenApply();
// Milliseconds in the state as the level scripts see them (built-in 1): the play state's time
// stands still while the night is paused.
uint32_t GameNightTime(int32_t stateId);
// Binds the "Menu" action to Escape; pads bind their Back button when they show up.
void GameMenuBind(int32_t action);
void GamePauseSet(bool on);
// In a play step, after the script's step: a released Menu (or, paused, Exit) raises
// "AppScriptMenu" on the script.
void GameMenuCheck();
bool GameWinConditionMet();

// The game's sounds (gameSounds.cpp): opened with the game, closed with it. A sound whose file
// is missing was logged when it was opened and stays silent.
enum gameSound {
  kSoundBite,
  kSoundSuspicious,
  kSoundAttack,
  kSoundPlayerHit,
  kSoundCollapse,
  kSoundFog,
  kSoundWin,
  kSoundDead,
  kSoundCount
};
void GameSoundsOpen();
void GameSoundsClose();
// Starts the sound from its beginning, unless it started less than a moment of play ago.
void GameSoundPlay(gameSound sound);
// The night's ambience loops through play and is quiet on the result screens.
void GameAmbienceOn();
void GameAmbienceOff();
