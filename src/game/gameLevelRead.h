// Reading a level file's text into a plain record, with no display behind it. The game builds
// its map and figures from the record; the level checker reports from the same record, so both
// follow one set of rules. Everything the game passes over is kept with its line and why.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Tile types as the game numbers them; 0 is a number that names no tile.
constexpr uint8_t kLevelUndefined = 0;
constexpr uint8_t kLevelBlock = 1;
constexpr uint8_t kLevelBlockNpc = 2;
constexpr uint8_t kLevelLeft = 3;
constexpr uint8_t kLevelRight = 4;
constexpr uint8_t kLevelSpace = 5;

constexpr int32_t kLevelTile = 64;
constexpr int32_t kLevelGrid = 30;
constexpr int32_t kLevelMaxColumns = 29;
constexpr int32_t kLevelMaxRows = 30;
// Bounds that keep a damaged or hostile file from growing the tables without limit; real
// levels stay far below them. Tile numbers above the first and humans past the second are
// passed over.
constexpr int32_t kLevelMaxTileNumber = 1024;
constexpr int32_t kLevelMaxHumans = 255;

// A human's looping animations, slot by slot: "Bin\Sprites\" + type + sheet.
inline constexpr std::array<const char*, 8> kLevelHumanSheets = {
    "\\Stand\\Stand Right.exp",
    "\\Stand\\Stand Left.exp",
    "\\Walk\\Walk Right.exp",
    "\\Walk\\Walk Left.exp",
    "\\Vampire Stand\\Vampire Stand Right.exp",
    "\\Vampire Stand\\Vampire Stand Left.exp",
    "\\Vampire Walk\\Vampire Walk Right.exp",
    "\\Vampire Walk\\Vampire Walk Left.exp",
};

// One thing the game passes over or reads in a way a level's author may not expect.
struct levelFinding {
  int32_t line = 0;
  std::string message;
};

// A "TYPE" line of a human: the value as written and where.
struct levelHumanType {
  int32_t line = 0;
  std::string name;
};

struct levelHuman {
  int32_t headerLine = 0;
  // Every TYPE line in order; the game loads each in turn, so the last one stays.
  std::vector<levelHumanType> types;
  std::string type;  // the last of them, empty without any
  // Where the human stands: the sum of its LOCATION offsets from (0, 0).
  bool located = false;
  int32_t x = 0;
  int32_t y = 0;
  bool objective = false;
};

struct levelTile {
  uint8_t type = kLevelUndefined;
  std::string path;  // as written after the keyword; the picture is "Bin\" + path
};

struct levelData {
  std::vector<levelTile> tiles;                        // index = tile number - 1
  std::array<int32_t, kLevelGrid * kLevelGrid> cells;  // column-major, tile index, -1 empty
  int32_t columns = 0;
  int32_t rows = 0;
  std::string briefing;
  int32_t objectiveColumn = -1;
  int32_t objectiveRow = -1;
  int32_t vampsPercent = 0;
  // The player's start: the standing point (middle of the column, floor of the row) of the
  // last "#PC" cell taken.
  bool playerPlaced = false;
  int32_t playerX = 0;
  int32_t playerY = 0;
  std::vector<levelHuman> humans;
  // In line order; line numbers count from 1 over every line, empty ones included.
  std::vector<levelFinding> findings;

  levelData() { cells.fill(-1); }
  // The tile number (from 1) of a cell inside the grid, 0 when empty.
  int32_t TileAt(int32_t column, int32_t row) const;
};

// Asked for a tile definition that is taken unless its picture (a content path such as
// "Bin\Tiles\Stone.tga") cannot be had. It is asked at most once per number that ends up
// defined, so the game opens the picture right there and keeps it.
using levelPictureOpen = std::function<bool(int32_t number, const std::string& contentPath)>;

// Splits text into lines the way the game's data files do: a carriage return ends a line and
// line feeds are dropped wherever they stand.
std::vector<std::string> LevelSplitLines(const std::string& text);

levelData LevelReadLines(const std::vector<std::string>& lines, const levelPictureOpen& picture);
levelData LevelReadText(const std::string& text, const levelPictureOpen& picture);
