// Agents: the records of every figure, their animation slots, movement by the shared step
// (gameStep.cpp) over the game's map, walking animation and drawing with the alert mark.
#include <algorithm>

#include "game/gameInternal.h"
#include "game/gameStep.h"
#include "game/gameText.h"
#include "graphics/fwkFont.h"
#include "graphics/fwkModel.h"
#include "services/fwkState.h"

namespace {

constexpr uint32_t kWalkFrameInterval = 100;

agent* At(int32_t index) {
  std::vector<agent>& agents = Game().agents;
  if (index < 0 || index >= static_cast<int32_t>(agents.size())) return nullptr;
  return &agents[static_cast<size_t>(index)];
}

bool IsWalking(int32_t slot) { return slot == 2 || slot == 3 || slot == 6 || slot == 7; }

// Continues the walking animation one way, or turns to it.
void WalkAnimate(agent& a, bool right) {
  const int32_t shift = a.vampire ? 4 : 0;
  const int32_t current = a.currentAnimation;
  const bool continuing = right ? (current == 2 || current == 6) : (current == 3 || current == 7);
  const uint32_t now = StateTime(kStatePlay);
  if (continuing) {
    if (now > a.animationTick + kWalkFrameInterval) {
      const size_t frames = a.cycles.size() > static_cast<size_t>(current)
                                ? a.cycles[static_cast<size_t>(current)].frames.size()
                                : 0;
      ++a.currentFrame;
      if (a.currentFrame < 0 || static_cast<size_t>(a.currentFrame) >= frames) a.currentFrame = 0;
      a.animationTick = now;
    }
    return;
  }
  a.currentAnimation = (right ? kSlotWalkRight : kSlotWalkLeft) + shift;
  a.baseAnimation = (right ? kSlotStandRight : kSlotStandLeft) + shift;
  a.currentFrame = 0;
  a.animationTick = now;
}

}  // namespace

bool AgentFacesRight(const agent& a) {
  return a.currentAnimation == 0 || a.currentAnimation == 2 || a.currentAnimation == 4 ||
         a.currentAnimation == 6;
}

void AgentReset(agent& a, const std::string& name) {
  AgentFree(a);
  a = agent{};
  a.name = GameUpper(name);
  a.animationTick = StateTime(kStatePlay);
}

void AgentFree(agent& a) {
  for (cycle& c : a.cycles) AnimationFree(c);
  a.cycles.clear();
}

int32_t AgentFind(const std::string& name) {
  const std::string wanted = GameUpper(name);
  const std::vector<agent>& agents = Game().agents;
  for (size_t i = 0; i < agents.size(); ++i)
    if (agents[i].name == wanted) return static_cast<int32_t>(i);
  return -1;
}

int32_t AgentAdd(const std::string& name) {
  if (AgentFind(name) != -1) return -1;
  std::vector<agent>& agents = Game().agents;
  agents.emplace_back();
  AgentReset(agents.back(), name);
  return static_cast<int32_t>(agents.size()) - 1;
}

void AgentRemove(int32_t index) {
  agent* a = At(index);
  if (a == nullptr) return;
  AgentFree(*a);
  std::vector<agent>& agents = Game().agents;
  agents.erase(agents.begin() + index);
}

void AgentSetAnimation(int32_t index, int32_t slot) {
  agent* a = At(index);
  if (a == nullptr) return;
  if (a->vampire) slot += 4;
  a->currentAnimation = slot;
  a->baseAnimation = slot;
  a->currentFrame = 0;
}

void AgentLoadAnimation(int32_t index, int32_t slot, const std::string& path) {
  agent* a = At(index);
  if (a == nullptr || slot < 0 || slot >= kSlotCount) return;
  if (a->cycles.size() <= static_cast<size_t>(slot))
    a->cycles.resize(static_cast<size_t>(slot) + 1);
  cycle& c = a->cycles[static_cast<size_t>(slot)];
  if (path == c.sheet) return;
  if (!AnimationOpen(c, path, true)) return;
  for (frame& f : c.frames)
    if (f.image == nullptr) AnimationLoadFrame(f, a->x, a->y);
}

void AgentMove(agent& a, int32_t dx, int32_t dy) {
  a.x += dx;
  a.y += dy;
  for (cycle& c : a.cycles)
    for (frame& f : c.frames)
      ModelMove(f.image, static_cast<float>(dx), static_cast<float>(dy), 0.0f);
}

agentStepResult AgentStep(int32_t index, int32_t dx, bool drop, bool solidForHumans) {
  agent* a = At(index);
  if (a == nullptr) return {};
  const levelPoint from{a->x, a->y};
  const levelPoint to = LevelStep(MapTileType, from, dx, drop, solidForHumans);
  AgentMove(*a, to.x - from.x, to.y - from.y);
  return {to.x - from.x, to.y - from.y};
}

void AgentWalk(int32_t index, int32_t dx, bool drop) {
  agent* a = At(index);
  if (a == nullptr) return;
  const int32_t moved = AgentStep(index, dx, drop, index != 0).dx;
  if (moved == 0) {
    if (IsWalking(a->currentAnimation)) {
      a->currentAnimation -= 2;
      a->baseAnimation = a->currentAnimation;
      a->currentFrame = 0;
    }
    return;
  }
  WalkAnimate(*a, moved > 0);
}

void AgentUpdate(int32_t index) {
  if (index == 0) {
    PlayerUpdate();
  } else {
    HumanUpdate(index);
  }
}

void AgentDraw(const agent& a) {
  if (!a.active) return;
  if (a.currentAnimation >= 0 && static_cast<size_t>(a.currentAnimation) < a.cycles.size()) {
    const cycle& c = a.cycles[static_cast<size_t>(a.currentAnimation)];
    if (a.currentFrame >= 0 && static_cast<size_t>(a.currentFrame) < c.frames.size()) {
      model* image = c.frames[static_cast<size_t>(a.currentFrame)].image;
      const modelVertex at = ModelGetPosition(image);
      if (image != nullptr && at.z != -5.0f) ModelSetPosition(image, at.x, at.y, -5.0f);
      ModelDraw(image);
    }
  }
  if (a.vampire || a.alert == 0) return;
  const int32_t font = Game().font;
  std::string mark;
  if (a.alert <= 100) {
    mark = "?";
    FontSetColour(font, (static_cast<uint32_t>(a.alert * 255 / 100) << 24) | 0x00FFFF00u);
  } else {
    mark = "!";
    FontSetColour(font, 0xFFFF0000u);
  }
  FontDrawText(font, a.x - FontTextWidth(font, mark) / 2, a.y - kMarkHeight, mark);
}

void AgentAlarmAll() {
  gameData& game = Game();
  if (game.biteCount >= 11) return;
  ++game.biteCount;
  for (agent& a : game.agents)
    if (!a.vampire) a.alert = static_cast<uint8_t>(std::min(200, a.alert + 10));
}
