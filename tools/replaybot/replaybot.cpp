// replaybot: the real program with a scripted player. It leaves the first briefing, carries out
// the plan (botPlan.h) on the level, lets go of every key when the level ends, and closes once
// the next briefing shows. With "-record FILE" the run becomes a replay that sanguor plays back
// pass for pass; "-trace" prints the player and the humans four times a second.
//
//   replaybot -headless -seed 1 -level 3 -plan Map3-win.plan -record Map3-win.replay [-trace]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "botPlan.h"
#include "game/UntGame.h"
#include "game/UntGameTesting.h"
#include "input/fwkInput.h"
#include "platform/platform.h"
#include "services/fwkState.h"
#include "services/fwkUtilities.h"
#include "shell/Modules.h"
#include "shell/RunControl.h"
#include "shell/UntMain.h"

namespace {

// The game's default bindings: Space, A, D, S, E, Q.
enum key { kSpace, kLeft, kRight, kDown, kBite, kPower, kKeys };
constexpr ControlCode kCodes[kKeys] = {104, 11, 29, 98, 32, 95};
constexpr int32_t kReach = 32;
constexpr uint32_t kBriefingTime = 300;

std::vector<botStep> plan;
size_t stepIndex = 0;
uint32_t stepStart = 0;
bool stepStarted = false;
bool held[kKeys] = {};
int32_t lastState = 0;
int32_t briefingsSeen = 0;
uint32_t briefingShown = 0;
bool levelOver = false;
uint32_t closeAt = 0;
bool trace = false;
uint32_t nextTrace = 0;

void Set(key k, bool down) {
  if (held[k] == down) return;
  held[k] = down;
  InputControlPost(InputControlSetActive(), kCodes[k], down ? 100 : 0);
}

void ReleaseAll() {
  for (int k = 0; k < kKeys; ++k) Set(static_cast<key>(k), false);
}

void Walk(int32_t direction, bool down) {
  Set(kLeft, direction < 0);
  Set(kRight, direction > 0);
  Set(kDown, down);
}

// One pass of the current step; true when its goal is met.
bool StepPass(const botStep& step, uint32_t now) {
  gameData& game = Game();
  const agent& player = game.agents[0];
  switch (step.verb) {
    case botVerb::right:
    case botVerb::left: {
      const int32_t column = MapCellOf(player.x);
      const bool right = step.verb == botVerb::right;
      if (right ? column >= step.number : column <= step.number) return true;
      Walk(right ? 1 : -1, step.down);
      return false;
    }
    case botVerb::bite: {
      if (static_cast<size_t>(step.number) >= game.agents.size()) return true;
      const agent& human = game.agents[static_cast<size_t>(step.number)];
      if (human.vampire) {
        Set(kBite, false);
        return true;
      }
      if (held[kBite]) {
        // Let go when the bite was broken off or never began; the next pass tries again.
        if (player.victim != step.number) Set(kBite, false);
        return false;
      }
      const int32_t dx = human.x - player.x;
      if (std::abs(dx) < kReach - 12 && std::abs(human.y - player.y) < kReach && human.active) {
        Walk(0, false);
        Set(kBite, true);
      } else {
        Walk(std::abs(dx) < kReach - 12 ? 0 : dx, false);
      }
      return false;
    }
    case botVerb::meet: {
      if (static_cast<size_t>(step.number) >= game.agents.size()) return true;
      // Stand where the human looks, within his reach.
      const agent& human = game.agents[static_cast<size_t>(step.number)];
      const int32_t dx = human.x + (AgentFacesRight(human) ? 20 : -20) - player.x;
      Walk(std::abs(dx) < 8 ? 0 : dx, false);
      return false;
    }
    case botVerb::fog:
      Walk(0, false);
      if (!held[kPower]) {
        Set(kPower, true);
        return false;
      }
      Set(kPower, false);
      return true;
    case botVerb::wait:
      Walk(0, false);
      return now - stepStart >= static_cast<uint32_t>(step.number);
    case botVerb::stay: Walk(0, false); return false;
  }
  return true;
}

void Trace(uint32_t now) {
  const gameData& game = Game();
  if (game.agents.empty()) return;
  const agent& p = game.agents[0];
  std::printf("%6u step %zu  player %d,%d cell %d,%d health %d fog %d%s", now, stepIndex + 1, p.x,
              p.y, MapCellOf(p.x), MapCellOf(p.y), p.health, game.fogMeter,
              game.fogForm ? " (fog)" : "");
  for (size_t i = 1; i < game.agents.size(); ++i) {
    const agent& h = game.agents[i];
    std::printf(" | %zu %s %d,%d a%d h%d%s%s", i, h.type.c_str(), MapCellOf(h.x), MapCellOf(h.y),
                h.alert, h.health, h.vampire ? " V" : "", h.active ? "" : " -");
  }
  std::printf("\n");
}

void BotPass() {
  const uint32_t now = RunControlProgramTime();
  const int32_t state = StateGet();
  if (state != lastState) {
    if (state == kStateBriefing) {
      ++briefingsSeen;
      briefingShown = now;
    }
    if (state == kStateWin) std::printf("%u won level %d\n", now, Game().mapNumber - 1);
    if (state == kStateDead) std::printf("%u died on level %d\n", now, Game().mapNumber);
    if (state == kStateWin || state == kStateDead) levelOver = true;
    if (state == kStateBriefing && levelOver) {
      std::printf("%u briefing of level %d\n", now, Game().mapNumber);
      closeAt = now + 500;
    }
    lastState = state;
  }
  if (closeAt != 0 && now >= closeAt) {
    closeAt = 0;
    MainAppAskToClose();
  }
  if (levelOver) {
    ReleaseAll();
  } else if (state == kStateBriefing && briefingsSeen == 1) {
    // Read for a moment (a screenshot can show it), then Space, which acts when let go.
    if (now >= briefingShown + kBriefingTime)
      Set(kSpace, now < briefingShown + kBriefingTime + 100);
  } else if (state == kStatePlay && !Game().agents.empty()) {
    Set(kSpace, false);
    if (stepIndex < plan.size()) {
      if (!stepStarted) {
        stepStart = now;
        stepStarted = true;
      }
      if (StepPass(plan[stepIndex], now)) {
        ++stepIndex;
        stepStarted = false;
      }
    } else {
      Walk(0, false);
    }
    if (trace && now >= nextTrace) {
      Trace(now);
      nextTrace = now + 250;
    }
  }
  RunControlPass(now);
}

bool ReadPlan() {
  std::string path;
  const std::vector<std::string>& arguments = PlatformArguments();
  for (size_t i = 0; i + 1 < arguments.size(); ++i)
    if (arguments[i] == "-plan") path = arguments[i + 1];
  std::ifstream file(path, std::ios::binary);
  if (path.empty() || !file) {
    std::fprintf(stderr, "replaybot: give a readable plan with -plan FILE\n");
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  std::string problem;
  if (!BotPlanParse(text.str(), plan, problem)) {
    std::fprintf(stderr, "replaybot: %s: %s\n", path.c_str(), problem.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  PlatformInit(argc, argv);
  trace = UtilCommandLineHas("-trace");
  if (!ReadPlan()) return kExitNotStarted;
  ModulesInit();
  int exitCode = kExitNotStarted;
  if (RunControlStart(GameSeed, GameStartLevel)) {
    MainSetPassHook(BotPass);
    exitCode = MainApplicationRun();
  }
  RunControlFinish();
  ModulesFinal();
  // The video part first: it gives back the GL library it loaded, with what SDL kept for it.
  PlatformVideoShutdown();
  PlatformShutdown();
  return exitCode;
}
