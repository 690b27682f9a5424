// The rest at the end of a game pass: the "-sleep" value as before, then, with a real clock,
// a wait until the pass can do something: the next play step, or the next picture of a screen.
// Steps still run at the first pass whose play time is due, so the game's speed is that of a
// loop that never rests; a virtual clock never waits, so headless runs and replays stay the
// same pass for pass.
#include <algorithm>

#include "game/gameInternal.h"
#include "platform/platform_system.h"
#include "services/fwkState.h"

namespace {

// One frame at about 60 per second, the pace of the play step.
constexpr uint32_t kFramePeriod = 17;
// The briefing and result screens show still pictures over a level that does not move: ten a
// second keep a key's answer under a tenth of a second, while a frame of the software renderer
// (the level, a 1280 x 720 picture and its text) costs tens of milliseconds of processor time.
constexpr uint32_t kScreenPeriod = 100;

uint32_t lastRest = 0;

// Milliseconds until the play step is due; a paused play state is woken a frame later to
// keep the message pump going.
uint32_t PlayStepDueIn() {
  const gameData& game = Game();
  const uint32_t since = StateTime(kStatePlay) - game.lastStep;
  return since >= kFramePeriod ? 0 : kFramePeriod - since;
}

uint32_t ScreenDueIn() {
  const uint32_t since = PlatformTickCount() - lastRest;
  return since >= kScreenPeriod ? 0 : kScreenPeriod - since;
}

}  // namespace

void GameRest() {
  const gameData& game = Game();
  PlatformSleep(static_cast<uint32_t>(std::max(0, game.sleep)));
  if (PlatformClockIsVirtual()) return;
  const uint32_t wait =
      StateGet() == kStatePlay ? std::min(PlayStepDueIn(), kFramePeriod) : ScreenDueIn();
  PlatformRestFor(wait);
  lastRest = PlatformTickCount();
}
