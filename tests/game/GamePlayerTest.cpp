// The player: bites that complete or are broken off, health, fog form and its meter, and the
// win condition.
#include <gtest/gtest.h>

#include "GameLevels.h"
#include "GameTestSupport.h"
#include "services/fwkState.h"

namespace {

class GamePlayer : public testing::Test {
 protected:
  // The player in column 3 of a 20 x 8 room; a guard and a nubile stand on him, a second guard
  // further right. Winning needs every human turned unless a test changes it.
  void Load(const std::string& extra = Lines({"#OBJECTIVE", "VAMPS=100"})) {
    game.WriteStandardContent();
    game.Write("Bin\\Maps\\Map1.map",
               StandardTiles() + RoomMap(Room(20, 8)) +
                   Lines({"#PC", "3,7", "#NPC", "TYPE=Guard", "LOCATION=3,7", "#NPC", "TYPE=Nubile",
                          "LOCATION=3,7", "#NPC", "TYPE=Guard", "LOCATION=12,7"}) +
                   extra);
    ASSERT_TRUE(game.Start());
    game.EnterPlay();
    for (agent& a : Game().agents) a.nextDecision = 0xFFFFFFFFu;
  }
  agent& At(int32_t index) { return Game().agents[static_cast<size_t>(index)]; }
  // Holds "Bite" until the bite ends (at most 40 steps).
  void BiteThrough() {
    game.Press(kKeyBite);
    game.LogicSteps(1);
    for (int i = 0; i < 40 && At(0).victim != -1; ++i) game.LogicSteps(1);
    game.Release(kKeyBite);
    game.LogicSteps(1);
  }
  gameSandbox game;
};

TEST_F(GamePlayer, ACompletedBiteTurnsTheHumanAndHeals) {
  Load();
  At(0).health = 80;
  game.Press(kKeyBite);
  game.LogicSteps(1);
  EXPECT_EQ(At(0).victim, 1);
  EXPECT_FALSE(At(1).active);
  EXPECT_EQ(At(0).currentAnimation, kSlotOneShot);
  EXPECT_EQ(Game().biteCount, 1);
  EXPECT_EQ(At(3).alert, 10);
  for (int i = 0; i < 40 && At(0).victim != -1; ++i) game.LogicSteps(1);
  EXPECT_EQ(At(0).victim, -1);
  EXPECT_EQ(At(0).health, 100);
  EXPECT_TRUE(At(1).vampire);
  EXPECT_TRUE(At(1).active);
  EXPECT_EQ(At(1).currentAnimation, 5);
  EXPECT_EQ(At(0).reaction, kReactionNormal);
}

TEST_F(GamePlayer, LettingGoBreaksTheBiteOff) {
  Load();
  game.Press(kKeyBite);
  game.LogicSteps(2);
  game.Release(kKeyBite);
  game.LogicSteps(1);
  EXPECT_EQ(At(0).victim, -1);
  EXPECT_TRUE(At(1).active);
  EXPECT_FALSE(At(1).vampire);
  EXPECT_EQ(At(0).currentAnimation, 5);
  EXPECT_EQ(Game().biteCount, 1);  // the alarm it raised stays
  game.LogicSteps(30);
  EXPECT_FALSE(At(1).vampire);
}

TEST_F(GamePlayer, AHitBreaksTheBiteOff) {
  Load();
  game.Press(kKeyBite);
  game.LogicSteps(1);
  agent& guard = At(3);
  AgentMove(guard, At(0).x + 10 - guard.x, 0);
  guard.alert = 150;
  HumanAttack(3);
  EXPECT_EQ(At(0).victim, -1);
  EXPECT_TRUE(At(1).active);
  EXPECT_EQ(At(0).health, 66);
  game.LogicSteps(40);
  EXPECT_FALSE(At(1).vampire);
}

TEST_F(GamePlayer, NoHumanInReachNoBite) {
  Load();
  AgentMove(At(0), 0, 0);
  for (int32_t i = 1; i <= 2; ++i) AgentMove(At(i), 32, 0);
  game.Press(kKeyBite);
  game.LogicSteps(1);
  EXPECT_EQ(At(0).victim, -1);
  EXPECT_EQ(Game().biteCount, 0);
  EXPECT_NE(At(0).currentAnimation, kSlotOneShot);
}

TEST_F(GamePlayer, FogFormNeedsATurnedNubileAndHidesThePlayer) {
  Load();
  game.Tap(kKeyPower);
  game.LogicSteps(1);
  EXPECT_FALSE(Game().fogForm);
  AgentMove(At(1), 200, 0);  // the guard steps away, so the nubile is bitten
  BiteThrough();
  ASSERT_TRUE(At(2).vampire);
  EXPECT_EQ(Game().fogMeter, 100);
  game.Tap(kKeyPower);
  game.LogicSteps(1);
  EXPECT_TRUE(Game().fogForm);
  EXPECT_EQ(Game().fogPhase, kFogPhaseForming);
  game.Tap(kKeyPower);  // while forming: ignored
  game.LogicSteps(1);
  EXPECT_TRUE(Game().fogForm);
  for (int i = 0; i < 30 && Game().fogPhase == kFogPhaseForming; ++i) game.LogicSteps(1);
  EXPECT_EQ(Game().fogPhase, kFogPhaseSteady);
  const int32_t meter = Game().fogMeter;
  game.LogicSteps(10);
  EXPECT_EQ(Game().fogMeter, meter - 10);
  // A guard facing him next door neither notices nor strikes him (the nubile steps away).
  AgentMove(At(2), 600, 0);
  agent& guard = At(3);
  AgentMove(guard, At(0).x + 10 - guard.x, 0);
  AgentSetAnimation(3, kSlotStandLeft);
  guard.alert = 150;
  game.LogicSteps(5);
  EXPECT_EQ(At(0).health, 100);
  guard.alert = 0;
  HumanNotice(3);
  EXPECT_EQ(guard.alert, 0);
  game.Tap(kKeyPower);
  game.LogicSteps(1);
  EXPECT_FALSE(Game().fogForm);
  const int32_t left = Game().fogMeter;
  game.LogicSteps(1);
  EXPECT_EQ(Game().fogMeter, left + 1);
}

TEST_F(GamePlayer, ADryMeterLeavesFogFormOnAndTheCloudGone) {
  Load();
  AgentMove(At(1), 200, 0);
  BiteThrough();
  game.Tap(kKeyPower);
  game.LogicSteps(1);
  for (int i = 0; i < 200 && Game().fog.active; ++i) game.LogicSteps(1);
  EXPECT_EQ(Game().fogMeter, 0);
  EXPECT_FALSE(Game().fog.active);
  EXPECT_TRUE(Game().fogForm);
  // Leaving and entering fog form again brings the cloud back.
  game.Tap(kKeyPower);
  game.LogicSteps(5);
  game.Tap(kKeyPower);
  game.LogicSteps(1);
  EXPECT_TRUE(Game().fogForm);
  EXPECT_TRUE(Game().fog.active);
}

TEST_F(GamePlayer, TheLastNubilesDeathEndsFogForm) {
  Load();
  AgentMove(At(1), 200, 0);
  BiteThrough();
  game.Tap(kKeyPower);
  game.LogicSteps(1);
  ASSERT_TRUE(Game().fogForm);
  At(2).health = 1;
  agent& guard = At(3);
  AgentMove(guard, At(2).x + 10 - guard.x, 0);
  AgentSetAnimation(3, kSlotStandLeft);
  guard.alert = 150;
  HumanAttack(3);
  for (int i = 0; i < 40 && Game().fogForm; ++i) game.LogicSteps(1);
  EXPECT_FALSE(Game().fogForm);
  EXPECT_FALSE(At(2).active);
}

TEST_F(GamePlayer, WinConditions) {
  Load(Lines({"#OBJECTIVE", "VAMPS=60", "LOCATION=10,7", "#NPC", "TYPE=Guard", "LOCATION=15,7",
              "OBJECTIVE="}));
  EXPECT_FALSE(GameWinConditionMet());
  for (int32_t i = 1; i <= 3; ++i) At(i).vampire = true;  // 75 %
  EXPECT_FALSE(GameWinConditionMet());                    // the objective human is still human
  At(4).vampire = true;
  At(3).vampire = false;
  At(2).vampire = false;  // 50 %
  EXPECT_FALSE(GameWinConditionMet());
  At(3).vampire = true;
  EXPECT_FALSE(GameWinConditionMet());  // 75 %, but not in the objective cell
  AgentMove(At(0), 9 * 64 + 5 - At(0).x, 0);
  EXPECT_TRUE(GameWinConditionMet());
  game.LogicSteps(1);
  EXPECT_EQ(StateGet(), kStateWin);
}

TEST_F(GamePlayer, ALevelWithoutHumansIsWonInItsObjectiveCell) {
  game.WriteStandardContent();
  game.Write("Bin\\Maps\\Map1.map",
             StandardTiles() + RoomMap(Room(20, 8)) +
                 Lines({"#PC", "3,7", "#OBJECTIVE", "LOCATION=4,7", "VAMPS=100"}));
  ASSERT_TRUE(game.Start());
  game.EnterPlay();
  game.LogicSteps(1);
  EXPECT_EQ(StateGet(), kStatePlay);
  game.Press(kKeyRight);
  for (int i = 0; i < 20 && StateGet() == kStatePlay; ++i) game.LogicSteps(1);
  EXPECT_EQ(StateGet(), kStateWin);
  EXPECT_EQ(MapCellOf(At(0).x), 4);
}

}  // namespace
