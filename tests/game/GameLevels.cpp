#include "GameLevels.h"

#include <sstream>

#include "GameTestSupport.h"

std::vector<std::string> Room(int columns, int rows) {
  std::vector<std::string> grid;
  for (int r = 1; r <= rows; ++r) {
    std::string line;
    for (int c = 1; c <= columns; ++c) {
      const bool wall = r == 1 || r == rows || c == 1 || c == columns;
      line += std::string(c > 1 ? "," : "") + (wall ? "1" : "2");
    }
    grid.push_back(line);
  }
  return grid;
}

std::string RoomMap(std::vector<std::string> rows, const std::vector<std::vector<int>>& changes) {
  for (const std::vector<int>& change : changes) {
    std::string& line = rows[static_cast<size_t>(change[1] - 1)];
    std::vector<std::string> cells;
    std::stringstream stream(line);
    std::string cell;
    while (std::getline(stream, cell, ',')) cells.push_back(cell);
    cells[static_cast<size_t>(change[0] - 1)] = std::to_string(change[2]);
    line.clear();
    for (size_t i = 0; i < cells.size(); ++i) line += (i ? "," : "") + cells[i];
  }
  std::vector<std::string> lines{"#MAP"};
  lines.insert(lines.end(), rows.begin(), rows.end());
  return Lines(lines);
}
