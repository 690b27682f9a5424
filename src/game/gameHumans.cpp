// The humans' behaviour: wandering, noticing vampires, attacking them, dying and coming back.
#include <algorithm>
#include <cstdlib>

#include "game/gameInternal.h"
#include "game/gameText.h"
#include "services/fwkState.h"

namespace {

constexpr int32_t kViewDistance = 320;
constexpr int32_t kHumanReach = 32;
constexpr int32_t kHitDamage = 34;
constexpr uint32_t kRespawnDelay = 5000;
// Alert levels: the "?" mark is drawn from 1 to 100, the "!" above; humans attack above 100.
constexpr int32_t kAlertHeard = 50;
constexpr int32_t kAlertAttack = 100;

// Rows a figure looks from or can be seen in: its own and the one above, and one more while it
// stands on a slope rather than a flat floor.
std::vector<int32_t> SightRows(const agent& a) {
  const int32_t row = MapCellOf(a.y);
  std::vector<int32_t> rows{row, row - 1};
  if (((a.y % kTileSize) + kTileSize) % kTileSize != 63) rows.push_back(row - 2);
  return rows;
}

bool InFront(const agent& watcher, const agent& target) {
  return AgentFacesRight(watcher) ? target.x >= watcher.x : target.x <= watcher.x;
}

bool ViewBlocked(int32_t row, int32_t ownColumn, int32_t targetColumn, bool facingRight) {
  if (ownColumn == targetColumn) return false;
  const int32_t first = std::min(ownColumn, targetColumn);
  const int32_t last = std::max(ownColumn, targetColumn);
  bool blocked = false;
  for (int32_t column = first; column <= last; ++column) {
    const uint8_t type = MapTileType(column, row);
    if (type == kTileBlock) blocked = true;
    const int32_t slopeOpenLeft = facingRight ? ownColumn : targetColumn;
    const int32_t slopeOpenRight = facingRight ? targetColumn : ownColumn;
    if (type == kTileLeft && column != slopeOpenLeft) blocked = true;
    if (type == kTileRight && column != slopeOpenRight) blocked = true;
  }
  return blocked;
}

void Die(agent& human) {
  human.active = false;
  human.vampire = false;
  human.respawnTime = StateTime(kStatePlay) + kRespawnDelay;
  if (!PlayerVampireNubileExists()) PlayerEndFogForm();
}

void ChooseWalkMode(int32_t index) {
  agent& human = Game().agents[static_cast<size_t>(index)];
  const int32_t column = MapCellOf(human.x);
  const int32_t row = MapCellOf(human.y);
  const uint8_t right = MapTileType(column + 1, row);
  const uint8_t left = MapTileType(column - 1, row);
  const bool rightClosed = right == kTileBlock || right == kTileBlockNpc || right == kTileLeft;
  const bool leftClosed = left == kTileBlock || left == kTileBlockNpc || left == kTileRight;
  int32_t mode = 0;
  for (int32_t attempt = 0; attempt < 20; ++attempt) {
    mode = GameRandom(5);
    if (mode == 0 && human.walkMode == 0) continue;
    if ((mode == 1 || mode == 2) && rightClosed) continue;
    if ((mode == 3 || mode == 4) && leftClosed) continue;
    break;
  }
  human.walkMode = mode;
  human.nextDecision = StateTime(kStatePlay) + 2000 + 1000 * static_cast<uint32_t>(GameRandom(5));
}

void Walk(int32_t index) {
  static const int32_t kSpeed[5] = {0, 5, 5, -5, -5};
  const int32_t mode = Game().agents[static_cast<size_t>(index)].walkMode;
  if (mode < 0 || mode > 4) return;
  AgentWalk(index, kSpeed[mode], mode == 2 || mode == 4);
}

}  // namespace

void HumanNotice(int32_t index) {
  gameData& game = Game();
  agent& human = game.agents[static_cast<size_t>(index)];
  if (!human.active || human.vampire) return;
  const std::vector<int32_t> eyes = SightRows(human);
  const int32_t ownColumn = MapCellOf(human.x);
  const bool facingRight = AgentFacesRight(human);
  const uint8_t alertBefore = human.alert;
  bool seen = false;
  for (size_t t = 0; t < game.agents.size(); ++t) {
    const agent& target = game.agents[t];
    if (!target.vampire || !target.active || (t == 0 && game.fogForm)) continue;
    if (std::abs(target.x - human.x) > kViewDistance || !InFront(human, target)) continue;
    const int32_t targetColumn = MapCellOf(target.x);
    for (int32_t eye : eyes) {
      for (int32_t row : SightRows(target)) {
        if (eye != row || ViewBlocked(row, ownColumn, targetColumn, facingRight)) continue;
        seen = true;
        human.alert = static_cast<uint8_t>(std::min(200, human.alert + 1));
      }
    }
  }
  if (!seen && human.alert > 10 * game.biteCount) --human.alert;
  // Heard as the "?" grows half bright and as it turns to "!".
  if (alertBefore <= kAlertHeard && human.alert > kAlertHeard) GameSoundPlay(kSoundSuspicious);
  if (alertBefore <= kAlertAttack && human.alert > kAlertAttack) GameSoundPlay(kSoundAttack);
}

void HumanAttack(int32_t index) {
  gameData& game = Game();
  agent& human = game.agents[static_cast<size_t>(index)];
  if (human.alert <= 100 || human.vampire) return;
  for (size_t t = 0; t < game.agents.size(); ++t) {
    agent& target = game.agents[t];
    if (t == 0 && game.fogForm) continue;
    if (!target.vampire || !target.active || target.health < 1) continue;
    if (std::abs(target.x - human.x) >= kHumanReach || std::abs(target.y - human.y) >= kHumanReach)
      continue;
    if (!InFront(human, target)) continue;

    const bool fromLeft = human.x < target.x;
    const std::string own = "Bin\\Sprites\\" + human.type;
    AgentPlayOnce(human,
                  own + (fromLeft ? "\\Attack\\Attack Right.exp" : "\\Attack\\Attack Left.exp"),
                  false);
    if (target.victim >= 0 && static_cast<size_t>(target.victim) < game.agents.size())
      game.agents[static_cast<size_t>(target.victim)].active = true;
    target.victim = -1;
    target.health -= kHitDamage;
    if (t == 0) {
      HudBarSet(game.healthBar, target.health);
      GameSoundPlay(target.health > 0 ? kSoundPlayerHit : kSoundCollapse);
    }
    const std::string theirs = "Bin\\Sprites\\" + target.type;
    if (target.health > 0) {
      const bool started =
          AgentPlayOnce(target,
                        theirs + (fromLeft ? "\\Vampire Hit\\Vampire Hit Left.exp"
                                           : "\\Vampire Hit\\Vampire Hit Right.exp"),
                        false);
      // Without a hit sequence nothing would end the push-back, so there is none.
      target.reaction = !started   ? kReactionNormal
                        : fromLeft ? kReactionPushedRight
                                   : kReactionPushedLeft;
      return;
    }
    if (AgentPlayOnce(target, theirs + "\\Vampire Collapse\\Vampire Collapse.exp", false)) {
      target.reaction = kReactionCollapse;
      return;
    }
    // Without a collapse sequence the figure dies at once rather than living on at no health.
    target.reaction = kReactionNormal;
    if (t == 0) {
      target.active = false;
      StateSet(kStateDead);
    } else {
      Die(target);
    }
    return;
  }
}

void HumanUpdate(int32_t index) {
  gameData& game = Game();
  if (index < 1 || index >= static_cast<int32_t>(game.agents.size())) return;
  agent& human = game.agents[static_cast<size_t>(index)];
  const uint32_t now = StateTime(kStatePlay);
  if (human.currentAnimation == kSlotOneShot) {
    if (human.reaction == kReactionPushedRight) AgentStep(index, 10, false, false);
    if (human.reaction == kReactionPushedLeft) AgentStep(index, -10, false, false);
    if (AgentPlayOnceStep(human)) {
      if (human.health < 1) Die(human);
      human.reaction = kReactionNormal;
    }
    return;
  }
  if (human.health < 1) {
    if (now > human.respawnTime) {
      human.health = 100;
      human.active = true;
      human.vampire = false;
      AgentMove(human, human.spawnX - human.x, human.spawnY - human.y);
      AgentSetAnimation(index, kSlotStandLeft);
    }
    return;
  }
  if (!human.active) return;
  if (now > human.nextDecision) ChooseWalkMode(index);
  Walk(index);
  HumanNotice(index);
  HumanAttack(index);
}
