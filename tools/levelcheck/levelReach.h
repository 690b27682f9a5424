// Where the level's figures can go and what they look across, by the game's movement and
// sight rules, and the cells among them that hold no tile.
#pragma once

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "levelRead.h"

struct levelPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator<(const levelPoint& other) const { return x != other.x ? x < other.x : y < other.y; }
};

// One step of a walker with collision and ground following, as the game moves its agents.
// Every cell the step consults is added to consulted.
levelPoint LevelStep(const levelData& level, levelPoint from, int32_t dx, bool drop, bool solidForHumans,
                     std::set<std::pair<int32_t, int32_t>>& consulted);

// The cell (column, row) of a point, rounded down.
int32_t LevelCellOf(int32_t coordinate);

// Every point reachable from start by walking (any speed the walker has, with and without the
// drop key) and by being knocked back.
std::vector<levelPoint> LevelReachable(const levelData& level, levelPoint start, bool human,
                                       std::set<std::pair<int32_t, int32_t>>& consulted);

// Adds the faults of the level's grid: empty cells the figures step on or look across, empty
// cells on screen, a map smaller than the screen, and objectives the player cannot meet.
void LevelCheckGrid(levelData& level);
