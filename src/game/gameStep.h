// One movement step of a figure over the tile grid, with no display behind it: the game moves
// its agents by it and the level checker works out where figures can go by the same rule.
#pragma once

#include <cstdint>
#include <functional>

#include "game/gameLevelRead.h"

// A position in world pixels: the point on which a figure stands.
struct levelPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator<(const levelPoint& other) const { return x != other.x ? x < other.x : y < other.y; }
  bool operator==(const levelPoint& other) const = default;
};

// The tile type of a cell (column, row, counting from 1) for any cell the step looks at,
// including cells outside the grid.
using levelTypeAt = std::function<uint8_t(int32_t column, int32_t row)>;

// The column or row of a world coordinate, counting from 1. Rounded down, so that points left
// of or above the world lie in cell 0 (outside the grid, and so solid to the game).
int32_t LevelCellOf(int32_t coordinate);

// The game's view of a cell of a level: outside the 30 x 30 grid a cell is BLOCK, so no figure
// leaves the world; an empty cell, or one holding a number that names no tile, is undefined.
uint8_t LevelCellType(const levelData& level, int32_t column, int32_t row);

// One horizontal move of dx pixels with walls, slopes and falling; drop lets the figure go down
// where two slopes meet, solidForHumans makes BLOCKNPC cells walls. Returns the new position.
levelPoint LevelStep(const levelTypeAt& typeAt, levelPoint from, int32_t dx, bool drop,
                     bool solidForHumans);
