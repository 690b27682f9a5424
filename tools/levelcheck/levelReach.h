// Where the level's figures can go and what they look across, by the game's movement and
// sight rules, and the cells among them that hold no tile.
#pragma once

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "game/gameStep.h"
#include "levelRead.h"

// Every point reachable from start by walking (any speed the walker has, with and without the
// drop key) and by being knocked back, by the game's own step. Every cell the steps and the
// humans' choice of direction look at is added to consulted.
std::vector<levelPoint> LevelReachable(const levelData& level, levelPoint start, bool human,
                                       std::set<std::pair<int32_t, int32_t>>& consulted);

// Adds the faults of the level's grid: empty cells the figures step on or look across, empty
// cells on screen, a map smaller than the screen, and objectives the player cannot meet.
void LevelCheckGrid(levelData& level);
