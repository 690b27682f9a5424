// The movement step the game and the checker share, on small grids given cell by cell: the
// rules that play over the shipped levels does not reach, each one a way a wrong rule would
// let a figure through a wall, off a flight or out of the world.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/gameStep.h"

namespace {

// Rows from the top; each character a column from the left: a digit 1 to 5 is a cell of that
// tile type, '.' an empty cell, '9' a number that names no tile.
levelData Grid(const std::vector<std::string>& rows) {
  levelData level;
  for (uint8_t type = kLevelBlock; type <= kLevelSpace; ++type)
    level.tiles.push_back({type, "Tiles\\T.tga"});
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c)
      level.cells[c * kLevelGrid + r] = rows[r][c] == '.' ? -1 : rows[r][c] - '1';
  level.rows = static_cast<int32_t>(rows.size());
  level.columns = static_cast<int32_t>(rows.front().size());
  return level;
}

// Steps n times, keeping every position passed.
std::vector<levelPoint> Walk(const levelData& level, levelPoint from, int32_t dx, int n,
                             bool drop = false, bool solidForHumans = false) {
  const levelTypeAt types = [&level](int32_t column, int32_t row) {
    return LevelCellType(level, column, row);
  };
  std::vector<levelPoint> path;
  for (int i = 0; i < n; ++i)
    path.push_back(from = LevelStep(types, from, dx, drop, solidForHumans));
  return path;
}

TEST(LevelStepTest, ARisingFlightIsWalkedDownLeftwardsButIsAWallAtItsFoot) {
  // A flight of two RIGHT cells from the floor of row 4 up to the floor of row 2.
  const levelData level = Grid({"5555555", "5555555", "5555411", "1554111", "1111111"});
  for (const levelPoint& p : Walk(level, {5 * 64 + 31, 2 * 64 - 1}, -5, 70)) {
    const int32_t column = LevelCellOf(p.x);
    const int32_t along = p.x % 64;
    const int32_t expected = column == 6   ? 2 * 64 - 1
                             : column == 5 ? 2 * 64 + 63 - along
                             : column == 4 ? 3 * 64 + 63 - along
                                           : 4 * 64 - 1;
    EXPECT_EQ(p.y, expected) << p.x;
  }
  EXPECT_EQ(Walk(level, {5 * 64 + 31, 2 * 64 - 1}, -5, 70).back(), (levelPoint{64, 4 * 64 - 1}));

  // Walked into from the floor beside its foot, the flight's first cell is a wall.
  const levelData foot = Grid({"5555555", "5555555", "5554555", "1111111"});
  EXPECT_EQ(Walk(foot, {5 * 64 + 31, 3 * 64 - 1}, -10, 10).back(),
            (levelPoint{4 * 64, 3 * 64 - 1}));
}

TEST(LevelStepTest, AValleyIsCrossedLeftwardsOnItsLevelOrLeftDownwardsWithTheDropKey) {
  // A V of LEFT and RIGHT in row 3, a RIGHT cell below its left side.
  const levelData level = Grid({"155551", "155551", "153411", "154111", "111111"});
  const levelPoint start{3 * 64 + 2, 2 * 64 + 61};  // on the RIGHT side, at the bottom of the V
  EXPECT_EQ(Walk(level, start, -10, 1).back(), (levelPoint{3 * 64 - 8, 2 * 64 + 56}));
  EXPECT_EQ(Walk(level, start, -10, 1, true).back(), (levelPoint{3 * 64 - 8, 3 * 64 + 7}));
}

TEST(LevelStepTest, AGateIsAFloorToThePlayerAndAWallToHumansOnlyInTheirOwnRow) {
  const levelData level = Grid({"55555", "15251", "11111"});
  EXPECT_EQ(Walk(level, {64 + 60, 2 * 64 - 1}, 10, 1).back(), (levelPoint{2 * 64 + 6, 2 * 64 - 1}));
  EXPECT_EQ(Walk(level, {64 + 60, 2 * 64 - 1}, 5, 3, false, true).back(),
            (levelPoint{2 * 64 - 1, 2 * 64 - 1}));
  // Coming down a slope into a gate one row lower, a human is not stopped.
  const levelData low = Grid({"55555", "13551", "11251", "11111"});
  EXPECT_EQ(Walk(low, {2 * 64 - 3, 64 + 61}, 5, 1, false, true).back(),
            (levelPoint{2 * 64 + 2, 3 * 64 - 1}));
}

TEST(LevelStepTest, EmptyCellsAndNumbersNamingNoTileLeaveTheHeightAlone) {
  const levelData level = Grid({"5.95", "5.95", "1111"});
  EXPECT_EQ(Walk(level, {64 + 20, 64 + 20}, 0, 3).back(), (levelPoint{64 + 20, 64 + 20}));
  EXPECT_EQ(Walk(level, {2 * 64 + 20, 64 + 20}, 0, 3).back(), (levelPoint{2 * 64 + 20, 64 + 20}));
  EXPECT_EQ(Walk(level, {20, 64 + 20}, 0, 1).back(),
            (levelPoint{20, 2 * 64 - 1}));  // SPACE takes its floor
}

TEST(LevelStepTest, NoFigureLeavesTheGrid) {
  // Open space everywhere: the only walls are the grid's edges.
  const levelData level = Grid(std::vector<std::string>(kLevelGrid, std::string(kLevelGrid, '5')));
  const int32_t floor = kLevelGrid * 64 - 1;
  EXPECT_EQ(Walk(level, {20, floor}, -10, 5).back(), (levelPoint{0, floor}));
  EXPECT_EQ(Walk(level, {kLevelGrid * 64 - 20, floor}, 10, 5).back(),
            (levelPoint{kLevelGrid * 64 - 1, floor}));
  EXPECT_EQ(Walk(level, {100, floor - 50}, 0, 3).back(),
            (levelPoint{100, floor}));  // the bottom holds
  EXPECT_EQ(LevelCellOf(-1), 0);
  EXPECT_EQ(LevelCellOf(0), 1);
  EXPECT_EQ(LevelCellOf(-64), 0);
  EXPECT_EQ(LevelCellOf(-65), -1);
}

}  // namespace
