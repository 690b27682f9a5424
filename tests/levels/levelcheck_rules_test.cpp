// The level checker's reading of level files against the game's rules, and its grid faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "levelReach.h"
#include "levelRead.h"

namespace {

// Every picture exists except those whose path holds "Missing".
bool Exists(const std::string& path) { return path.find("Missing") == std::string::npos; }

levelData Read(const std::vector<std::string>& lines) { return LevelRead(lines, Exists); }

// The game's view of the level's cells, as the checker steps over them.
levelTypeAt TypesOf(const levelData& level) {
  return [&level](int32_t column, int32_t row) { return LevelCellType(level, column, row); };
}

bool Reports(const levelData& level, int32_t line, const std::string& part) {
  return std::any_of(level.findings.begin(), level.findings.end(), [&](const levelFinding& f) {
    return f.line == line && f.message.find(part) != std::string::npos;
  });
}

std::string Findings(const levelData& level) {
  std::string text;
  for (const levelFinding& f : level.findings)
    text += std::to_string(f.line) + ": " + f.message + "\n";
  return text;
}

const std::vector<std::string> kTiles = {"#TILES",
                                         "1 BLOCK Tiles\\Stone.tga",
                                         "2 SPACE Tiles\\Sky.tga",
                                         "3 LEFT Tiles\\Down.tga",
                                         "4 RIGHT Tiles\\Up.tga",
                                         "5 BLOCKNPC Tiles\\Gate.tga",
                                         "7 SPACE Tiles\\Sky2.tga"};
// Number 6 is skipped over by the definitions: a cell holding it takes a column but no tile.
const char kHole = '6';

// A closed 20 x 12 room: walls left and right, a floor in rows 11 and 12, row 10 to walk in.
std::vector<std::string> Room(const std::vector<std::string>& extra = {}) {
  std::vector<std::string> lines = kTiles;
  lines.push_back("#MAP");
  for (int row = 1; row <= 12; ++row) {
    std::string line;
    for (int column = 1; column <= 20; ++column) {
      const bool solid = row >= 11 || column == 1 || column == 20;
      line += std::string(column > 1 ? "," : "") + (solid ? "1" : "2");
    }
    lines.push_back(line);
  }
  lines.push_back("#PC");
  lines.push_back("3,10");
  lines.insert(lines.end(), extra.begin(), extra.end());
  return lines;
}

TEST(LevelReadTest, SectionsTilesAndRowsFollowTheGamesRules) {
  levelData level = Read({"stray line", "#tiles", "1 BLOCK Tiles\\A.tga", "1 SPACE Tiles\\B.tga",
                          "2  SPACE Tiles\\B.tga", "3 WATER Tiles\\C.tga",
                          "4 SPACE Tiles\\Missing.tga", "x SPACE Tiles\\D.tga",
                          "5 space Tiles\\E.tga", "#Map", "1,x,5", "1, 5", "#SOUNDS", "loud"});
  EXPECT_TRUE(Reports(level, 1, "before the first section"));
  EXPECT_TRUE(Reports(level, 4, "already defined"));
  EXPECT_TRUE(Reports(level, 5, "not BLOCK"));  // two blanks leave an empty keyword
  EXPECT_TRUE(Reports(level, 6, "\"WATER\""));
  EXPECT_TRUE(Reports(level, 7, "missing tile picture \"Bin\\Tiles\\Missing.tga\""));
  EXPECT_TRUE(Reports(level, 8, "not a tile number"));
  ASSERT_EQ(level.tiles.size(), 5u);
  EXPECT_EQ(level.tiles[0].type, kLevelBlock);
  EXPECT_EQ(level.tiles[1].type, kLevelUndefined);  // numbers skipped over name no tile
  EXPECT_EQ(level.tiles[4].type, kLevelSpace);
  // "1,x,5": x takes no column; "1, 5": the blank makes the second token fail.
  EXPECT_EQ(level.TileAt(1, 1), 1);
  EXPECT_EQ(level.TileAt(2, 1), 5);
  EXPECT_TRUE(Reports(level, 11, "\"x\" ignored"));
  EXPECT_EQ(level.TileAt(1, 2), 1);
  EXPECT_EQ(level.TileAt(2, 2), 0);
  EXPECT_TRUE(Reports(level, 12, "\" 5\" ignored"));
  EXPECT_TRUE(Reports(level, 13, "unknown section"));
  EXPECT_TRUE(Reports(level, 14, "unknown section \"#SOUNDS\""));
  EXPECT_EQ(level.columns, 2);
  EXPECT_EQ(level.rows, 2);
}

TEST(LevelReadTest, RowsPast29ColumnsAnd30RowsAreDropped) {
  std::vector<std::string> lines = {"#TILES", "1 SPACE Tiles\\A.tga", "#MAP"};
  std::string wide = "1";
  for (int i = 1; i < 31; ++i) wide += ",1";
  for (int i = 0; i < 31; ++i) lines.push_back(wide);
  const levelData level = Read(lines);
  EXPECT_EQ(level.columns, 29);
  EXPECT_EQ(level.rows, 30);
  EXPECT_TRUE(Reports(level, 4, "at most 29 columns"));
  EXPECT_TRUE(Reports(level, 34, "at most 30 rows"));
  EXPECT_FALSE(Reports(level, 33, "at most 30 rows"));
}

TEST(LevelReadTest, StartsObjectivesAndHumansUseTheMapReadSoFar) {
  levelData level =
      Read(Room({"1,10", "#OBJECTIVE", "LOCATION=20,5", "LOCATION=19,11", "VAMPS=250", "vamps=-5",
                 "VAMPS = 5", "SPEED=3", "#NPC", "TYPE=GUARD", "LOCATION=20,0", "OBJECTIVE",
                 "HAT=1", "#NPC", "LOCATION=4,10", "LOCATION=1,1", "TYPE=Missing"}));
  const int32_t base = static_cast<int32_t>(kTiles.size()) + 13 + 2;  // the line "3,10"
  EXPECT_TRUE(Reports(level, base + 1, "player start ignored"));      // column 1 never
  EXPECT_EQ(level.playerX, 2 * 64 + 31);                              // the good "3,10" stands
  EXPECT_EQ(level.playerY, 10 * 64 - 1);
  EXPECT_TRUE(Reports(level, base + 3, "must lie left of the last column"));
  EXPECT_EQ(level.objectiveColumn, 19);
  EXPECT_EQ(level.objectiveRow, 11);
  EXPECT_EQ(level.vampsPercent, 0);  // 250 gave 100, then -5 gave 0
  EXPECT_TRUE(Reports(level, base + 7, "\"VAMPS \" is not LOCATION"));
  EXPECT_TRUE(Reports(level, base + 8, "\"SPEED\""));
  ASSERT_EQ(level.humans.size(), 2u);
  EXPECT_EQ(level.humans[0].x, 19 * 64 + 31);  // the last column and row 0 are accepted
  EXPECT_EQ(level.humans[0].y, -1);
  EXPECT_TRUE(level.humans[0].objective);
  EXPECT_TRUE(Reports(level, base + 13, "\"HAT\""));
  EXPECT_TRUE(Reports(level, base + 16, "given twice"));
  EXPECT_EQ(level.humans[1].x, 3 * 64 + 31 + 31);  // both offsets add up
  EXPECT_TRUE(
      Reports(level, base + 17, "has no sheet \"Bin\\Sprites\\Missing\\Vamped\\Vamped.exp\""));
}

TEST(LevelReadTest, BriefingLinesAndLineEnds) {
  const levelData level = LevelReadBytes("#BRIEFING\r\n  A  \r\n+\r\n\r\nB\r\n", Exists);
  EXPECT_EQ(level.briefing, "A\r\n\r\nB");
  const levelData unix = LevelReadBytes("#BRIEFING\nA\n", Exists);
  EXPECT_TRUE(Reports(unix, 0, "no carriage returns"));
  EXPECT_TRUE(Reports(unix, 0, "no usable player start"));
  EXPECT_EQ(LevelSplitLines("a\rb\n\rc"), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(LevelStepTest, WallsFallsAndSlopeJoints) {
  std::vector<std::string> lines = kTiles;
  // Row 3 is walked in; row 4 is the floor. Column 5 is a wall, columns 2 and 3 a V of
  // stairs with a flight going on down in row 4 below the V's right side.
  lines.insert(lines.end(),
               {"#MAP", "1,2,2,2,1,2", "1,2,2,2,1,2", "1,3,4,2,1,2", "1,1,3,1,1,2", "1,1,1,1,1,1"});
  const levelData level = Read(lines);
  const levelTypeAt types = TypesOf(level);
  // Against the wall in column 5.
  EXPECT_EQ(LevelStep(types, {3 * 64 + 60, 3 * 64 - 1}, 10, false, true).x, 4 * 64 - 1);
  // Falling: one row per step.
  EXPECT_EQ(LevelStep(types, {3 * 64 + 10, 1 * 64 - 1}, 0, false, true).y, 2 * 64 - 1);
  // From the V's left side to the right: up the other flight, or down with the drop key.
  const levelPoint up = LevelStep(types, {1 * 64 + 60, 2 * 64 + 60}, 10, false, false);
  EXPECT_EQ(LevelCellOf(up.y), 3);
  const levelPoint down = LevelStep(types, {1 * 64 + 60, 2 * 64 + 60}, 10, true, false);
  EXPECT_EQ(LevelCellOf(down.y), 4);
  EXPECT_EQ(down.y, 3 * 64 + 6);
  // A gate stops humans only.
  std::vector<std::string> gated = kTiles;
  gated.insert(gated.end(), {"#MAP", "2,2,5,2", "1,1,1,1"});
  const levelData gate = Read(gated);
  const levelTypeAt gateTypes = TypesOf(gate);
  EXPECT_EQ(LevelStep(gateTypes, {64 + 60, 63}, 5, false, true).x, 2 * 64 - 1);
  EXPECT_EQ(LevelStep(gateTypes, {64 + 60, 63}, 10, false, false).x, 2 * 64 + 6);
}

TEST(LevelGridTest, AClosedRoomHasNoFaults) {
  levelData level = Read(Room({"#NPC", "TYPE=GUARD", "LOCATION=15,10", "OBJECTIVE"}));
  LevelCheckGrid(level);
  EXPECT_TRUE(level.findings.empty()) << Findings(level);
}

TEST(LevelGridTest, EmptyCellsWalkedIntoLookedAcrossOrOnScreen) {
  std::vector<std::string> lines = Room({"#NPC", "TYPE=GUARD", "LOCATION=8,10"});
  const size_t map = kTiles.size() + 1;  // index of row 1
  // An opening in the right wall at the walking row: the row ends one column early.
  lines[map + 9] = lines[map + 9].substr(0, lines[map + 9].size() - 2);
  // A hole at head height between the guard and the player's start: only looked across.
  lines[map + 8][2 * 5] = kHole;
  // A hole in the sky, far from anyone: only seen on screen.
  lines[map + 1][2 * 10] = kHole;
  levelData level = Read(lines);
  LevelCheckGrid(level);
  EXPECT_TRUE(
      Reports(level, 0, "cell 20,10 is empty or off the map, but a figure can walk into it"))
      << Findings(level);
  EXPECT_TRUE(Reports(level, 0, "cell 6,9 is empty or off the map, but a human can look across it"))
      << Findings(level);
  EXPECT_TRUE(Reports(level, 0, "cell 11,2 is empty: it shows as a hole on screen"));
  EXPECT_FALSE(Reports(level, 0, "cell 11,2 is empty or off"));
}

TEST(LevelGridTest, SmallMapsAndUnreachableObjectives) {
  // A wall in column 10 splits the room: the objectives lie beyond it.
  std::vector<std::string> lines = Room({"#OBJECTIVE", "LOCATION=15,10", "VAMPS=100", "#NPC",
                                         "TYPE=GUARD", "LOCATION=16,10", "OBJECTIVE"});
  const size_t map = kTiles.size() + 1;
  for (size_t row = 1; row <= 10; ++row) lines[map + row - 1].replace(2 * 9, 1, "1");
  levelData level = Read(lines);
  LevelCheckGrid(level);
  EXPECT_TRUE(Reports(level, 0, "cannot reach the objective cell 15,10"));
  EXPECT_TRUE(
      Reports(level, static_cast<int32_t>(lines.size()) - 3, "never reach this objective human"));
  EXPECT_TRUE(Reports(level, 0, "VAMPS 100 needs more humans"));

  levelData small = Read({"#TILES", "1 BLOCK Tiles\\A.tga", "#MAP", "1,1", "1,1", "#PC", "2,1"});
  LevelCheckGrid(small);
  EXPECT_TRUE(Reports(small, 0, "the map is 2 x 2 cells"));
}

}  // namespace
