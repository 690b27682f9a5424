// Reading a level file by the rules the game reads it with, keeping every line and token the
// game would pass over, and why.
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
// The game's own bounds on damaged files: tile numbers above this and humans past this many
// are passed over.
constexpr int32_t kLevelMaxTileNumber = 1024;
constexpr int32_t kLevelMaxHumans = 255;

// One thing the game would ignore or get wrong; line 0 speaks of the level as a whole.
struct levelFinding {
    int32_t line = 0;
    std::string message;
};

struct levelHuman {
    int32_t headerLine = 0;
    std::string type;
    bool located = false;
    int32_t x = 0;
    int32_t y = 0;
    bool objective = false;
};

struct levelTile {
    uint8_t type = kLevelUndefined;
    std::string path;
};

struct levelData {
    std::vector<levelTile> tiles;                      // index = tile number - 1
    std::array<int32_t, kLevelGrid * kLevelGrid> cells;  // column-major, -1 empty
    int32_t columns = 0;
    int32_t rows = 0;
    std::string briefing;
    int32_t objectiveColumn = -1;
    int32_t objectiveRow = -1;
    int32_t vampsPercent = 0;
    bool playerPlaced = false;
    int32_t playerX = 0;
    int32_t playerY = 0;
    std::vector<levelHuman> humans;
    std::vector<levelFinding> findings;

    levelData() { cells.fill(-1); }
    // The tile number (from 1) of a cell inside the grid, 0 when empty.
    int32_t TileAt(int32_t column, int32_t row) const;
};

// Answers whether a content path ("Bin\Tiles\Stone Block.tga") can be opened.
using levelContentExists = std::function<bool(const std::string& contentPath)>;

// Splits a file's bytes into lines the way the game's data files do: a carriage return ends a
// line and line feeds are dropped wherever they stand.
std::vector<std::string> LevelSplitLines(const std::string& bytes);

// Reads the lines; findings collect everything passed over, tile pictures and human sheets
// that cannot be opened, and a missing player start.
levelData LevelRead(const std::vector<std::string>& lines, const levelContentExists& exists);
// The same from a file's bytes; a file with line feeds but no carriage return is one line to
// the game, which is reported first.
levelData LevelReadBytes(const std::string& bytes, const levelContentExists& exists);

// Helpers with the game's text rules.
std::string LevelTrim(const std::string& text);
std::string LevelUpper(const std::string& text);
bool LevelParseInteger(const std::string& text, int32_t& value);
bool LevelParsePair(const std::string& text, int32_t& first, int32_t& second);
