// The humans: noticing vampires and the view test, alert rising and falling, the choice of walk
// modes, attacks, deaths and respawning.
#include <gtest/gtest.h>

#include "GameLevels.h"
#include "GameTestSupport.h"
#include "platform/platform.h"
#include "services/fwkState.h"

namespace {

class GameHumans : public testing::Test {
 protected:
  // A room of 24 x 10 cells, floor on row 9; the player in column 3, guards in columns 8 and 20.
  void Load(const std::vector<std::vector<int>>& changes = {}) {
    game.WriteStandardContent();
    game.Write("Bin\\Maps\\Map1.map",
               StandardTiles() + RoomMap(Room(24, 10), changes) +
                   Lines({"#PC", "3,9", "#NPC", "TYPE=Guard", "LOCATION=8,9", "#NPC", "TYPE=Guard",
                          "LOCATION=20,9", "#OBJECTIVE", "VAMPS=100"}));
    ASSERT_TRUE(game.Start());
    game.EnterPlay();
    for (agent& a : Game().agents) a.nextDecision = 0xFFFFFFFFu;  // no wandering unless a test asks
  }
  agent& At(int32_t index) { return Game().agents[static_cast<size_t>(index)]; }
  void PlaceAt(int32_t index, int32_t x) {
    agent& a = At(index);
    AgentMove(a, x - a.x, 0);
  }
  void Place(int32_t index, int32_t column) {
    agent& a = At(index);
    AgentMove(a, (column - 1) * 64 + 31 - a.x, 0);
  }
  gameSandbox game;
};

TEST_F(GameHumans, AlertRisesWhileTheVampireIsSeenAndFallsToItsFloor) {
  Load();
  // Facing left towards the player five columns away: two rows match, two points a step.
  for (int i = 0; i < 10; ++i) HumanNotice(1);
  EXPECT_EQ(At(1).alert, 20);
  // Turned away, the same human sees nothing.
  AgentSetAnimation(1, kSlotStandRight);
  for (int i = 0; i < 5; ++i) HumanNotice(1);
  EXPECT_EQ(At(1).alert, 15);
  Game().biteCount = 1;
  for (int i = 0; i < 20; ++i) HumanNotice(1);
  EXPECT_EQ(At(1).alert, 10);  // not below 10 x bites
  // Beyond 320 pixels nothing is seen.
  AgentSetAnimation(2, kSlotStandLeft);
  for (int i = 0; i < 5; ++i) HumanNotice(2);
  EXPECT_EQ(At(2).alert, 0);
}

TEST_F(GameHumans, BlocksAndSlopesHideTheVampire) {
  Load({{5, 9, 1}, {5, 8, 1}});
  for (int i = 0; i < 5; ++i) HumanNotice(1);
  EXPECT_EQ(At(1).alert, 0);
}

TEST_F(GameHumans, OneOpenRowIsEnoughAndSlopesBlockFromTheirHighSide) {
  Load({{5, 8, 1}, {6, 9, 4}});
  // Row 9 holds a rising slope in column 6: facing left it blocks unless it is the own column.
  for (int i = 0; i < 5; ++i) HumanNotice(1);
  EXPECT_EQ(At(1).alert, 0);
  Place(1, 6);
  AgentMove(At(1), 0, 8 * 64 + 63 - At(1).x % 64 - At(1).y);
  for (int i = 0; i < 5; ++i) HumanNotice(1);
  EXPECT_GT(At(1).alert, 0);
}

TEST_F(GameHumans, BitesRaiseEveryHumansAlertUpToElevenBites) {
  Load();
  for (int i = 0; i < 15; ++i) AgentAlarmAll();
  EXPECT_EQ(Game().biteCount, 11);
  EXPECT_EQ(At(1).alert, 110);
  At(2).alert = 195;
  Game().biteCount = 3;
  AgentAlarmAll();
  EXPECT_EQ(At(2).alert, 200);
}

TEST_F(GameHumans, StandingIsNeverChosenTwiceInARow) {
  Load();
  agent& guard = At(1);
  int32_t zeros = 0;
  int32_t previous = -1;
  for (int i = 0; i < 400; ++i) {
    Place(1, 12);
    guard.nextDecision = 0;
    PlatformClockAdvance(1);
    HumanUpdate(1);
    if (previous == 0) {
      EXPECT_NE(guard.walkMode, 0);
    }
    zeros += guard.walkMode == 0;
    previous = guard.walkMode;
    EXPECT_GE(guard.nextDecision, StateTime(kStatePlay) + 2000);
    EXPECT_LE(guard.nextDecision, StateTime(kStatePlay) + 6000);
  }
  EXPECT_GT(zeros, 20);
  // Against a wall on the right, walking right is not chosen.
  for (int i = 0; i < 100; ++i) {
    Place(1, 23);
    guard.nextDecision = 0;
    PlatformClockAdvance(1);
    HumanUpdate(1);
    EXPECT_TRUE(guard.walkMode == 0 || guard.walkMode >= 3) << guard.walkMode;
  }
}

TEST_F(GameHumans, ThreeHitsKillAFreshVampire) {
  Load();
  PlaceAt(1, At(0).x + 20);
  At(1).alert = 150;
  AgentSetAnimation(1, kSlotStandLeft);
  std::vector<int32_t> health;
  for (int hit = 0; hit < 3; ++hit) {
    At(1).currentAnimation = kSlotStandLeft;
    At(0).reaction = kReactionNormal;
    HumanAttack(1);
    health.push_back(At(0).health);
  }
  EXPECT_EQ(health, (std::vector<int32_t>{66, 32, -2}));
  EXPECT_EQ(At(0).reaction, kReactionCollapse);
  EXPECT_EQ(At(1).currentAnimation, kSlotOneShot);
  for (int i = 0; i < 40 && StateGet() == kStatePlay; ++i) game.LogicSteps(1);
  EXPECT_EQ(StateGet(), kStateDead);
  EXPECT_FALSE(At(0).active);
}

TEST_F(GameHumans, AHitPushesTheVampireAwayAndIsOnlyDealtInFront) {
  Load();
  PlaceAt(1, At(0).x + 20);
  At(1).alert = 150;
  AgentSetAnimation(1, kSlotStandRight);  // facing away from the player on its left
  HumanAttack(1);
  EXPECT_EQ(At(0).health, 100);
  AgentSetAnimation(1, kSlotStandLeft);
  const int32_t x = At(0).x;
  HumanAttack(1);
  EXPECT_EQ(At(0).reaction, kReactionPushedLeft);
  game.LogicSteps(3);
  EXPECT_EQ(At(0).x, x - 30);
}

TEST_F(GameHumans, AKilledVampireHumanComesBackAsAHumanAfterFiveSeconds) {
  Load();
  PlaceAt(2, At(1).x + 20);
  At(2).vampire = true;
  AgentSetAnimation(2, kSlotStandLeft);
  AgentSetAnimation(1, kSlotStandRight);
  At(1).alert = 150;
  for (int hit = 0; hit < 3; ++hit) {
    At(1).currentAnimation = kSlotStandRight;
    HumanAttack(1);
  }
  EXPECT_EQ(At(2).health, -2);
  At(1).alert = 0;
  for (int i = 0; i < 40 && At(2).active; ++i) game.LogicSteps(1);
  EXPECT_FALSE(At(2).active);
  EXPECT_FALSE(At(2).vampire);
  const uint32_t died = StateTime(kStatePlay);
  while (!At(2).active && StateTime(kStatePlay) < died + 6000) game.LogicSteps(1);
  EXPECT_GT(StateTime(kStatePlay), died + 5000);
  EXPECT_LE(StateTime(kStatePlay), died + 5000 + 17);
  EXPECT_TRUE(At(2).active);
  EXPECT_FALSE(At(2).vampire);
  EXPECT_EQ(At(2).health, 100);
  EXPECT_EQ(At(2).x, At(2).spawnX);
  EXPECT_EQ(At(2).spawnX, 19 * 64 + 31);
  EXPECT_EQ(At(2).currentAnimation, kSlotStandLeft);
}

}  // namespace
