// The level reader the game and the checker share: the bounds on damaged files, when tile
// pictures are asked for, line ends and numbering, human settings, and the number rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/gameLevelRead.h"
#include "game/gameText.h"

namespace {

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Records every picture asked for; those whose path holds "Missing" cannot be had.
struct pictureLog {
  std::vector<std::pair<int32_t, std::string>> asked;
  levelPictureOpen Open() {
    return [this](int32_t number, const std::string& path) {
      asked.emplace_back(number, path);
      return path.find("Missing") == std::string::npos;
    };
  }
};

levelData Read(const std::vector<std::string>& lines) {
  pictureLog pictures;
  return LevelReadText(Join(lines), pictures.Open());
}

bool Reports(const levelData& level, int32_t line, const std::string& part) {
  return std::any_of(level.findings.begin(), level.findings.end(), [&](const levelFinding& f) {
    return f.line == line && f.message.find(part) != std::string::npos;
  });
}

TEST(LevelReaderTest, PicturesAreAskedForOnlyWhenTheDefinitionWouldBeTaken) {
  pictureLog pictures;
  const levelData level =
      LevelReadText(Join({"#TILES", "2 SPACE Tiles\\Missing.tga", "1 BLOCK  Tiles\\A.tga",
                          "1 BLOCK Tiles\\A.tga", "1 SPACE Tiles\\B.tga", "#MAP", "1,2,1", "#TILES",
                          "2 LEFT Tiles\\C.tga", "#MAP", "1,2,1"}),
                    pictures.Open());
  // The failed picture leaves 2 undefined, so the first row skips it and a later definition
  // still takes the number; a repeated number is refused before its picture is asked for.
  const std::vector<std::pair<int32_t, std::string>> expected = {
      {2, "Bin\\Tiles\\Missing.tga"}, {1, "Bin\\Tiles\\A.tga"}, {2, "Bin\\Tiles\\C.tga"}};
  EXPECT_EQ(pictures.asked, expected);
  ASSERT_EQ(level.tiles.size(), 2u);
  EXPECT_EQ(level.tiles[0].path, "Tiles\\A.tga");
  EXPECT_EQ(level.tiles[1].type, kLevelLeft);
  EXPECT_EQ(level.TileAt(1, 1), 1);
  EXPECT_EQ(level.TileAt(2, 1), 1);
  EXPECT_EQ(level.TileAt(3, 1), 0);
  EXPECT_EQ(level.TileAt(2, 2), 2);
  EXPECT_EQ(level.TileAt(3, 2), 1);
  EXPECT_TRUE(Reports(level, 7, "tile 2 is not defined"));
}

TEST(LevelReaderTest, DamagedFilesCannotGrowTheTables) {
  levelData level =
      Read({"#TILES", "1025 BLOCK Tiles\\A.tga", "1024 BLOCK Tiles\\A.tga", "#MAP", "1,1024,1025"});
  EXPECT_TRUE(Reports(level, 2, "from 1 to 1024"));
  ASSERT_EQ(level.tiles.size(), 1024u);
  EXPECT_EQ(level.tiles[0].type, kLevelUndefined);
  // A number skipped over by the definitions still takes a column.
  EXPECT_EQ(level.TileAt(1, 1), 1);
  EXPECT_EQ(level.TileAt(2, 1), 1024);
  EXPECT_EQ(level.columns, 2);

  std::vector<std::string> lines = {"#TILES", "1 SPACE Tiles\\A.tga", "#MAP", "1,1,1", "1,1,1",
                                    "1,1,1"};
  for (int i = 0; i < 256; ++i) lines.insert(lines.end(), {"#NPC", "TYPE=Guard", "LOCATION=2,1"});
  level = Read(lines);
  ASSERT_EQ(level.humans.size(), 255u);
  const int32_t last = static_cast<int32_t>(lines.size()) - 2;  // the 256th header
  EXPECT_TRUE(Reports(level, last, "human ignored: the game keeps at most 255 humans"));
  EXPECT_TRUE(Reports(level, last + 1, "line ignored"));
  EXPECT_EQ(level.humans.back().headerLine, last - 3);

  // Many LOCATION lines add up without overflowing: past a bound they are refused.
  lines = {"#TILES", "1 SPACE Tiles\\A.tga", "#MAP", "1,1,1", "1,1,1", "1,1,1", "#NPC"};
  lines.insert(lines.end(), 110000, "LOCATION=3,2");
  level = Read(lines);
  ASSERT_EQ(level.humans.size(), 1u);
  EXPECT_LE(level.humans[0].x, 1 << 24);
  EXPECT_EQ(level.humans[0].x % (2 * 64 + 31), 0);
  EXPECT_TRUE(Reports(level, static_cast<int32_t>(lines.size()), "far off the map"));
}

TEST(LevelReaderTest, LineEndsAndLineNumbers) {
  // CR ends a line wherever it stands, LF is dropped; empty lines still count.
  const levelData level = LevelReadText("x\r\r\n#BRIE\nFING\r\n\r\nA\r  B  \rstray",
                                        [](int32_t, const std::string&) { return true; });
  EXPECT_TRUE(Reports(level, 1, "before the first section"));
  EXPECT_EQ(level.briefing, "A\r\nB\r\nstray");
  EXPECT_EQ(level.findings.size(), 1u);
  EXPECT_EQ(LevelSplitLines("a\r\n\rb\r"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(LevelSplitLines("").empty());
}

TEST(LevelReaderTest, HumanSettingsKeepTheirValuesAsWritten) {
  const levelData level =
      Read({"#TILES", "1 SPACE Tiles\\A.tga", "#MAP", "1,1,1", "1,1,1", "#OBJECTIVE",
            "LOCATION=2,1", "#npc", "type=Guard", "objective", "TYPE=nubile", "Location=1,0",
            "#NPC", "TYPE", "LOCATION", "OBJECTIVE=no", "TYPE = Guard"});
  EXPECT_EQ(level.objectiveColumn, 2);
  ASSERT_EQ(level.humans.size(), 2u);
  const levelHuman& first = level.humans[0];
  ASSERT_EQ(first.types.size(), 2u);
  EXPECT_EQ(first.types[0].line, 9);
  EXPECT_EQ(first.types[0].name, "Guard");
  EXPECT_EQ(first.type, "nubile");
  EXPECT_TRUE(first.objective);
  EXPECT_EQ(first.x, 31);
  EXPECT_EQ(first.y, -1);
  // Without "=" the whole line is the key: an empty type, a location that does not parse,
  // and any value marks an objective.
  const levelHuman& second = level.humans[1];
  ASSERT_EQ(second.types.size(), 1u);
  EXPECT_EQ(second.type, "");
  EXPECT_FALSE(second.located);
  EXPECT_TRUE(Reports(level, 15, "needs COLUMN,ROW"));
  EXPECT_TRUE(second.objective);
  EXPECT_TRUE(Reports(level, 17, "\"TYPE \" is not TYPE"));
}

TEST(LevelReaderTest, NumbersAreDecimalWithAnOptionalMinus) {
  int32_t value = 0;
  EXPECT_TRUE(GameParseInteger("007", value));
  EXPECT_EQ(value, 7);
  EXPECT_TRUE(GameParseInteger("-12", value));
  EXPECT_EQ(value, -12);
  EXPECT_FALSE(GameParseInteger("-", value));
  EXPECT_FALSE(GameParseInteger("", value));
  EXPECT_FALSE(GameParseInteger("1-2", value));
  EXPECT_FALSE(GameParseInteger("+3", value));
  EXPECT_TRUE(GameParseInteger("99999999999", value));
  EXPECT_EQ(value, 2147483647);
  EXPECT_TRUE(GameParseInteger("-99999999999", value));
  EXPECT_EQ(value, -2147483647 - 1);
  int32_t a = 0;
  int32_t b = 0;
  EXPECT_FALSE(GameParsePair("3, 4", a, b));
  EXPECT_FALSE(GameParsePair("3", a, b));
  EXPECT_TRUE(GameParsePair("3,-4", a, b));
  EXPECT_EQ(b, -4);
  EXPECT_FALSE(GameParsePair("3,4,5", a, b));
}

}  // namespace
