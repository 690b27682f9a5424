// Level texts for the game tests.
#pragma once

#include <string>
#include <vector>

// A room of SPACE tiles (2) walled with BLOCK tiles (1) on every side: columns x rows cells.
std::vector<std::string> Room(int columns, int rows);
// The grid lines of a room, with one cell replaced (1-based column and row) by a tile number.
std::string RoomMap(std::vector<std::string> rows,
                    const std::vector<std::vector<int>>& changes = {});
