// The checker and the game read every shipped level alike: the same grid, objectives, start,
// humans and briefing. The game loads them headless out of the built archive.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/GameTestSupport.h"
#include "levelRead.h"

namespace fs = std::filesystem;

TEST(ShippedLevelsGameTest, TheGameReadsEveryLevelAsTheCheckerDoes) {
  gameSandbox sandbox;
  fs::copy_file(CONTENT_ARCHIVE, sandbox.app + "Sanguor.qza");
  ASSERT_TRUE(sandbox.Start());
  int number = 1;
  for (;; ++number) {
    const fs::path file =
        fs::path(CONTENT_STAGE) / "Bin" / "Maps" / ("Map" + std::to_string(number) + ".map");
    if (!fs::exists(file)) break;
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const levelData level = LevelReadBytes(bytes.str(), [](const std::string&) { return true; });
    ASSERT_TRUE(MapLoadLevel(number));
    const gameData& game = Game();
    SCOPED_TRACE("level " + std::to_string(number));
    EXPECT_EQ(game.map.columns, level.columns);
    EXPECT_EQ(game.map.rows, level.rows);
    EXPECT_TRUE(std::equal(game.map.cells.begin(), game.map.cells.end(), level.cells.begin()));
    ASSERT_EQ(game.map.tiles.size(), level.tiles.size());
    for (size_t i = 0; i < level.tiles.size(); ++i)
      EXPECT_EQ(game.map.tiles[i].type, level.tiles[i].type);
    EXPECT_EQ(game.objectiveColumn, level.objectiveColumn);
    EXPECT_EQ(game.objectiveRow, level.objectiveRow);
    EXPECT_EQ(game.vampsPercent, level.vampsPercent);
    EXPECT_EQ(game.briefing, level.briefing);
    EXPECT_EQ(game.agents[0].x, level.playerX);
    EXPECT_EQ(game.agents[0].y, level.playerY);
    ASSERT_EQ(game.agents.size(), level.humans.size() + 1);
    for (size_t i = 0; i < level.humans.size(); ++i) {
      EXPECT_EQ(game.agents[i + 1].type, level.humans[i].type);
      EXPECT_EQ(game.agents[i + 1].x, level.humans[i].x);
      EXPECT_EQ(game.agents[i + 1].y, level.humans[i].y);
      EXPECT_EQ(game.agents[i + 1].objective, level.humans[i].objective);
    }
  }
  EXPECT_GE(number, 7);
  sandbox.Stop();
}
