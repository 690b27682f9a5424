// Level files: sections, tiles, grid rows, briefing, objective, player start and humans, and
// the cells outside the grid.
#include <gtest/gtest.h>

#include "GameLevels.h"
#include "GameTestSupport.h"
#include "services/fwkState.h"

namespace {

int32_t Cell(int32_t column, int32_t row) {
  return Game().map.cells[static_cast<size_t>((column - 1) * kGridSize + row - 1)];
}

class GameLevel : public testing::Test {
 protected:
  void Load(const std::string& text) {
    game.WriteStandardContent();
    game.Write("Bin\\Maps\\Map1.map", text);
    ASSERT_TRUE(game.Start());
    game.Run(1);
  }
  gameSandbox game;
};

TEST_F(GameLevel, TilesAndGridRows) {
  std::vector<std::string> lines{"ignored before any section",
                                 "#tiles",
                                 "1 BLOCK Tiles\\Block.tga",
                                 "2 space Tiles\\Space.tga",
                                 "2 BLOCK Tiles\\Fence.tga",
                                 "4  BLOCK Tiles\\Block.tga",
                                 "5 WALL Tiles\\Block.tga",
                                 "6 BLOCK ",
                                 "0 BLOCK Tiles\\Block.tga",
                                 "7 BLOCK Tiles\\Missing.tga",
                                 "  4 LEFT   Tiles\\Left.tga  ",
                                 "#Map",
                                 "1,x,2",
                                 "1, 2, 1",
                                 "3,4,1,2",
                                 std::string(),
                                 "#OTHER",
                                 "2,2"};
  std::string wide;
  for (int i = 0; i < 31; ++i) wide += (i ? "," : "") + std::to_string(i % 2 + 1);
  lines.push_back("#MAP");
  lines.push_back(wide);
  for (int i = 0; i < 27; ++i) lines.push_back("2");
  lines.push_back("1");  // the 31st grid row
  Load(Lines(lines));
  const mapData& map = Game().map;
  ASSERT_EQ(map.tiles.size(), 4u);
  EXPECT_EQ(map.tiles[0].type, kTileBlock);
  EXPECT_EQ(map.tiles[1].type, kTileSpace);  // the first definition of tile 2 wins
  EXPECT_EQ(map.tiles[2].type, kTileUndefined);
  EXPECT_EQ(map.tiles[2].image, nullptr);
  EXPECT_EQ(map.tiles[3].type, kTileLeft);
  EXPECT_EQ(Cell(1, 1), 0);
  EXPECT_EQ(Cell(2, 1), 1);
  EXPECT_EQ(Cell(3, 1), -1);
  EXPECT_EQ(Cell(1, 2), 0);  // "1, 2, 1": only the first token is a number
  EXPECT_EQ(Cell(2, 2), -1);
  EXPECT_EQ(Cell(1, 3), 2);
  EXPECT_EQ(Cell(2, 3), 3);
  EXPECT_EQ(MapTileType(1, 3), kTileUndefined);
  EXPECT_EQ(Cell(29, 4), 0);
  EXPECT_EQ(Cell(30, 4), -1);
  EXPECT_EQ(map.columns, 29);
  EXPECT_EQ(map.rows, 30);
  EXPECT_EQ(Cell(1, 30), 1);
  EXPECT_NE(game.Log().find("Missing.tga"), std::string::npos);
}

TEST_F(GameLevel, BriefingObjectiveAndStarts) {
  Load(StandardTiles() + RoomMap(Room(10, 6)) +
       Lines({"#BRIEFING",
              "A",
              "+",
              "B",
              "#PC",
              "1,3",
              "#PC",
              "11,3",
              "#PC",
              "4,6",
              "#PC",
              "4, 3",
              "#OBJECTIVE",
              "LOCATION=10,3",
              "LOCATION=9,6",
              "VAMPS=250",
              "location = 2,2",
              "#objective",
              "VAMPS=-5",
              "VAMPS=x",
              "LOCATION=9,5",
              "#NPC",
              "TYPE=Guard",
              "LOCATION=10,0",
              "#NPC",
              "type=Nubile",
              "LOCATION=1,5",
              "OBJECTIVE=yes",
              "#NPC",
              "LOCATION=11,2",
              "#BRIEFING",
              "C"}));
  const gameData& g = Game();
  EXPECT_EQ(g.briefing, "A\r\n\r\nB\r\nC\r\n\r\nPress SPACE to begin.");
  EXPECT_EQ(StateGet(), kStateBriefing);
  // No "#PC" line was taken: the player stays where the game put him.
  EXPECT_EQ(g.agents[0].x, 0);
  EXPECT_EQ(g.objectiveColumn, 9);
  EXPECT_EQ(g.objectiveRow, 5);
  EXPECT_EQ(g.vampsPercent, 0);
  ASSERT_EQ(g.agents.size(), 4u);
  EXPECT_EQ(g.agents[1].name, "NPC 1");
  EXPECT_EQ(g.agents[1].type, "Guard");
  EXPECT_EQ(g.agents[1].x, 9 * 64 + 31);
  EXPECT_EQ(g.agents[1].y, -1);
  EXPECT_EQ(g.agents[1].spawnX, g.agents[1].x);
  EXPECT_EQ(g.agents[1].currentAnimation, kSlotStandLeft);
  EXPECT_FALSE(g.agents[1].objective);
  EXPECT_EQ(g.agents[2].name, "NPC 2");
  EXPECT_EQ(g.agents[2].x, 31);
  EXPECT_EQ(g.agents[2].y, 5 * 64 - 1);
  EXPECT_TRUE(g.agents[2].objective);
  EXPECT_EQ(g.agents[2].cycles[4].frames.size(), 1u);
  EXPECT_EQ(g.agents[3].x, 0);
}

TEST_F(GameLevel, VampsAboveAHundredAndAPlayerStart) {
  Load(StandardTiles() + RoomMap(Room(10, 6)) + Lines({"#OBJECTIVE", "VAMPS=250", "#PC", "2,5"}));
  EXPECT_EQ(Game().vampsPercent, 100);
  EXPECT_EQ(Game().agents[0].x, 64 + 31);
  EXPECT_EQ(Game().agents[0].y, 5 * 64 - 1);
  EXPECT_EQ(StateGet(), kStatePlay);  // no briefing
}

TEST_F(GameLevel, CellsOutsideTheGridAreSolidAndEmptyCellsUndefined) {
  Load(StandardTiles() + Lines({"#MAP", "2,2,2", "2,2", "1,1,1", "#PC", "2,2"}));
  EXPECT_EQ(MapTileType(0, 1), kTileBlock);
  EXPECT_EQ(MapTileType(1, 0), kTileBlock);
  EXPECT_EQ(MapTileType(31, 1), kTileBlock);
  EXPECT_EQ(MapTileType(1, 31), kTileBlock);
  EXPECT_EQ(MapTileType(-5000, 70000), kTileBlock);
  EXPECT_EQ(MapTileType(3, 2), kTileUndefined);
  EXPECT_EQ(MapTileType(30, 30), kTileUndefined);
  EXPECT_EQ(MapCellOf(-1), 0);
  EXPECT_EQ(MapCellOf(0), 1);
  EXPECT_EQ(MapCellOf(63), 1);
  EXPECT_EQ(MapCellOf(64), 2);
  // Walking left out of the first column stops at the world's edge.
  Game().agents[0].x = 5;
  for (int i = 0; i < 5; ++i) AgentStep(0, -10, false, false);
  EXPECT_EQ(Game().agents[0].x, 0);
}

TEST_F(GameLevel, AMissingLevelEndsTheGameWithoutAnError) {
  game.WriteStandardContent();
  ASSERT_TRUE(game.Start());
  game.Run(1);
  EXPECT_EQ(StateGet(), kStateExit);
  EXPECT_FALSE(GameRun());
  EXPECT_EQ(game.Log().find("Error: "), std::string::npos) << game.Log();
}

}  // namespace
