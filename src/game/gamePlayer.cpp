// The player: walking, biting, fog form and the meters.
#include <algorithm>
#include <cstdlib>

#include "game/gameInternal.h"
#include "game/gameText.h"
#include "input/fwkInput.h"
#include "services/fwkState.h"

namespace {

constexpr int32_t kBiteReach = 32;
constexpr int32_t kPlayerSpeed = 10;
constexpr int32_t kBiteHealth = 50;

int32_t FindBiteVictim(const agent& player) {
  const std::vector<agent>& agents = Game().agents;
  for (size_t i = 1; i < agents.size(); ++i) {
    const agent& human = agents[i];
    // A hidden human (dead, or already being bitten) is not there to be bitten.
    if (human.vampire || !human.active) continue;
    if (std::abs(human.x - player.x) < kBiteReach && std::abs(human.y - player.y) < kBiteReach)
      return static_cast<int32_t>(i);
  }
  return -1;
}

void BiteStart() {
  gameData& game = Game();
  agent& player = game.agents[0];
  // A repeated press while biting (a held key repeating) must not restart the bite.
  if (player.victim != -1) return;
  const int32_t index = FindBiteVictim(player);
  if (index < 0) return;
  player.victim = index;
  agent& human = game.agents[static_cast<size_t>(index)];
  human.active = false;
  human.walkMode = 0;
  human.reaction = kReactionNormal;
  AgentSetAnimation(index, kSlotStandLeft);
  AgentPlayOnce(player, "Bin\\Sprites\\" + human.type + "\\Vamped\\Vamped.exp", false);
  GameSoundPlay(kSoundBite);
  AgentAlarmAll();
}

void BiteRelease() {
  gameData& game = Game();
  agent& player = game.agents[0];
  if (player.victim == -1) return;
  if (static_cast<size_t>(player.victim) < game.agents.size())
    game.agents[static_cast<size_t>(player.victim)].active = true;
  player.victim = -1;
  if (player.currentAnimation == kSlotOneShot) AgentSetAnimation(0, kSlotStandLeft);
}

void PowerRelease() {
  gameData& game = Game();
  if (game.fogPhase == kFogPhaseForming) return;
  if (game.fogForm) {
    PlayerEndFogForm();
    return;
  }
  if (!PlayerVampireNubileExists() || game.fogMeter <= 0) return;
  game.fogForm = true;
  game.fogPhase = kFogPhaseForming;
  const agent& player = game.agents[0];
  AgentMove(game.fog, player.x - game.fog.x, player.y - game.fog.y);
  // A cloud that ran dry earlier forms again with the new fog form.
  game.fog.active = true;
  AgentPlayOnce(game.fog, "Bin\\Sprites\\Dracula\\Fog\\Fog 1.exp", false);
  GameSoundPlay(kSoundFog);
}

void BiteComplete(agent& player) {
  gameData& game = Game();
  player.health = std::min(100, player.health + kBiteHealth);
  HudBarSet(game.healthBar, player.health);
  const int32_t index = player.victim;
  player.victim = -1;
  if (index < 1 || static_cast<size_t>(index) >= game.agents.size()) return;
  agent& human = game.agents[static_cast<size_t>(index)];
  human.vampire = true;
  human.active = true;
  AgentSetAnimation(index, kSlotStandLeft);
  if (GameUpper(human.type) == "NUBILE") {
    game.fogMeter = 100;
    HudBarSet(game.fogBar, 100);
  }
}

}  // namespace

bool PlayerVampireNubileExists() {
  const std::vector<agent>& agents = Game().agents;
  for (size_t i = 1; i < agents.size(); ++i)
    if (agents[i].vampire && GameUpper(agents[i].type) == "NUBILE") return true;
  return false;
}

void PlayerEndFogForm() {
  Game().fogForm = false;
  Game().fogPhase = kFogPhaseSteady;
}

void PlayerInput() {
  gameData& game = Game();
  if (game.agents.empty()) return;
  if (game.agents[0].reaction != kReactionNormal) return;
  if (game.agents[0].victim == -1) {
    const bool drop = InputActionValue(game.actions.down) != 0;
    const int32_t from = game.agents[0].x;
    if (InputActionValue(game.actions.left) != 0) {
      AgentWalk(0, -kPlayerSpeed, drop);
    } else if (InputActionValue(game.actions.right) != 0) {
      AgentWalk(0, kPlayerSpeed, drop);
    } else {
      AgentWalk(0, 0, drop);
    }
    game.walked = std::min(game.walked + std::abs(game.agents[0].x - from), kTileSize);
  }
  inputBuffer events;
  InputActionEventsTake(game.actions.set, events);
  for (const inputEvent& event : events.events) {
    if (event.identifier == game.actions.bite) {
      if (event.value != 0) {
        BiteStart();
      } else {
        BiteRelease();
      }
    } else if (event.identifier == game.actions.power && event.value == 0) {
      PowerRelease();
    }
  }
}

void PlayerUpdate() {
  gameData& game = Game();
  if (game.agents.empty()) return;
  agent& player = game.agents[0];
  if (player.reaction == kReactionPushedRight) AgentStep(0, 10, false, false);
  if (player.reaction == kReactionPushedLeft) AgentStep(0, -10, false, false);
  // Only a sequence that is playing can end; a bite whose sequence could not start lasts
  // until the key is let go.
  if (player.currentAnimation != kSlotOneShot || !AgentPlayOnceStep(player)) return;
  if (player.health < 1) {
    player.active = false;
    StateSet(kStateDead);
  } else if (player.victim != -1) {
    BiteComplete(player);
  }
  player.reaction = kReactionNormal;
}
