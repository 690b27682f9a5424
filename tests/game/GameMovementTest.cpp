// Movement with tile collision: floors, walls, fences that stop only humans, slopes, slope
// joints with and without "Down", and falling one row per step.
#include <gtest/gtest.h>

#include "GameLevels.h"
#include "GameTestSupport.h"
#include "platform/platform.h"

namespace {

class GameMovement : public testing::Test {
 protected:
  // A room of 20 x 10 cells; the player on the floor of row 9 in column 3, one guard.
  void Load(const std::vector<std::vector<int>>& changes) {
    game.WriteStandardContent();
    game.Write("Bin\\Maps\\Map1.map",
               StandardTiles() + RoomMap(Room(20, 10), changes) +
                   Lines({"#PC", "3,9", "#NPC", "TYPE=Guard", "LOCATION=3,9"}));
    ASSERT_TRUE(game.Start());
    game.EnterPlay();
  }
  void Place(int32_t index, int32_t x, int32_t y) {
    agent& a = Game().agents[static_cast<size_t>(index)];
    AgentMove(a, x - a.x, y - a.y);
  }
  const agent& At(int32_t index) { return Game().agents[static_cast<size_t>(index)]; }
  gameSandbox game;
};

TEST_F(GameMovement, FlatFloorsAndWalls) {
  Load({{7, 9, 1}});
  EXPECT_EQ(At(0).y, 9 * 64 - 1);
  const agentStepResult moved = AgentStep(0, 10, false, false);
  EXPECT_EQ(moved.dx, 10);
  EXPECT_EQ(moved.dy, 0);
  for (int i = 0; i < 40; ++i) AgentStep(0, 10, false, false);
  EXPECT_EQ(At(0).x, 6 * 64 - 1);  // stopped against the block in column 7
  EXPECT_EQ(At(0).y, 9 * 64 - 1);
  EXPECT_EQ(AgentStep(0, 10, false, false).dx, 0);
  for (int i = 0; i < 40; ++i) AgentStep(0, -10, false, false);
  EXPECT_EQ(At(0).x, 64);  // the room's wall in column 1
}

TEST_F(GameMovement, FencesStopHumansButNotThePlayer) {
  Load({{6, 9, 5}});
  for (int i = 0; i < 30; ++i) {
    AgentStep(0, 10, false, false);
    AgentStep(1, 10, false, true);
  }
  EXPECT_EQ(At(1).x, 5 * 64 - 1);
  EXPECT_GT(At(0).x, 6 * 64);
  EXPECT_EQ(At(0).y, 9 * 64 - 1);
  // The humans' walk treats fences as walls, the player's does not.
  Place(1, 4 * 64 + 31, 9 * 64 - 1);
  for (int i = 0; i < 30; ++i) AgentWalk(1, 5, false);
  EXPECT_EQ(At(1).x, 5 * 64 - 1);
}

TEST_F(GameMovement, SlopesCarryFiguresUpAndDown) {
  // Up a rising slope in column 6 onto blocks in columns 7 and 8, down a falling one in 9.
  Load({{6, 9, 4}, {7, 9, 1}, {8, 9, 1}, {9, 9, 3}});
  std::vector<std::pair<int32_t, int32_t>> path;
  for (int i = 0; i < 120; ++i) {
    AgentStep(0, 4, false, false);
    path.emplace_back(At(0).x, At(0).y);
  }
  for (const auto& [x, y] : path) {
    const int32_t column = MapCellOf(x);
    if (column <= 5 || column >= 10) {
      EXPECT_EQ(y, 9 * 64 - 1) << x;
    } else if (column == 6) {
      EXPECT_EQ(y, 8 * 64 + 63 - x % 64) << x;
    } else if (column == 9) {
      EXPECT_EQ(y, 8 * 64 + x % 64) << x;
    } else {
      EXPECT_EQ(y, 8 * 64 - 1) << x;
    }
  }
  EXPECT_GE(MapCellOf(At(0).x), 10);
}

TEST_F(GameMovement, AFallingSlopeIsAWallFromItsLowSide) {
  Load({{6, 9, 3}});
  for (int i = 0; i < 30; ++i) AgentStep(0, 10, false, false);
  EXPECT_EQ(At(0).x, 5 * 64 - 1);
}

TEST_F(GameMovement, SlopeJointsKeepTheLevelUnlessDownIsHeld) {
  // A falling slope in column 5 meets a rising one in column 6 on row 8, over open space.
  Load({{5, 8, 3}, {6, 8, 4}});
  const int32_t x = 5 * 64 - 3;
  Place(0, x, 7 * 64 + x % 64);
  AgentStep(0, 10, false, false);
  EXPECT_EQ(At(0).x, x + 10);
  EXPECT_EQ(At(0).y, 7 * 64 + 63 - (x + 10) % 64);
  Place(0, x, 7 * 64 + x % 64);
  AgentStep(0, 10, true, false);
  EXPECT_EQ(MapCellOf(At(0).y), 9);  // through the joint into the open row below
  // Leftwards over the same joint.
  const int32_t back = 5 * 64 + 2;
  Place(0, back, 7 * 64 + 63 - back % 64);
  AgentStep(0, -10, false, false);
  EXPECT_EQ(At(0).y, 7 * 64 + (back - 10) % 64);
}

TEST_F(GameMovement, FallingTakesOneRowPerStep) {
  Load({});
  Place(0, 2 * 64 + 31, 3 * 64 - 1);
  std::vector<int32_t> heights;
  for (int i = 0; i < 8; ++i) heights.push_back(AgentStep(0, 0, false, false).dy);
  EXPECT_EQ(heights, (std::vector<int32_t>{64, 64, 64, 64, 64, 64, 0, 0}));
  EXPECT_EQ(At(0).y, 9 * 64 - 1);
}

TEST_F(GameMovement, WalkingAnimationFollowsTheMovement) {
  Load({});
  AgentWalk(0, 10, false);
  EXPECT_EQ(At(0).currentAnimation, 6);
  EXPECT_EQ(At(0).baseAnimation, 4);
  PlatformClockAdvance(101);
  AgentWalk(0, 10, false);
  EXPECT_EQ(At(0).currentFrame, 1);
  PlatformClockAdvance(101);
  AgentWalk(0, 10, false);
  EXPECT_EQ(At(0).currentFrame, 0);  // two frames: wraps
  AgentWalk(0, -10, false);
  EXPECT_EQ(At(0).currentAnimation, 7);
  EXPECT_EQ(At(0).baseAnimation, 5);
  AgentWalk(0, 0, false);
  EXPECT_EQ(At(0).currentAnimation, 5);
  AgentWalk(1, 5, false);
  EXPECT_EQ(At(1).currentAnimation, 2);
  EXPECT_TRUE(AgentFacesRight(At(1)));
}

}  // namespace
