// Arbitrary bytes as a level file. Whatever the numbers say, the record stays inside the
// game's bounds: the grid within 29 x 30, every cell naming a tile that exists, at most 1024
// tiles and 255 humans, places the game can use, and findings in line order within the file.
// Pictures whose path holds "x" cannot be had, so both branches of the picture question run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/gameLevelRead.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  // Only numbers past the last one defined are asked for: each picture the game opens is kept.
  int32_t defined = 0;
  const levelData level = LevelReadText(text, [&](int32_t number, const std::string& path) {
    Require(number > defined && number <= kLevelMaxTileNumber && path.rfind("Bin\\", 0) == 0);
    if (path.find('x') != std::string::npos) return false;
    defined = number;
    return true;
  });
  Require(static_cast<int32_t>(level.tiles.size()) == defined);
  const int32_t tiles = static_cast<int32_t>(level.tiles.size());
  Require(tiles <= kLevelMaxTileNumber);
  Require(level.columns >= 0 && level.columns <= kLevelMaxColumns && level.rows >= 0 &&
          level.rows <= kLevelMaxRows);
  for (int32_t column = 1; column <= kLevelGrid; ++column) {
    for (int32_t row = 1; row <= kLevelGrid; ++row) {
      const int32_t tile = level.TileAt(column, row);
      Require(tile >= 0 && tile <= tiles);
      Require(tile == 0 || (column <= level.columns && row <= level.rows));
    }
  }
  for (const levelTile& tile : level.tiles)
    Require((tile.type == kLevelUndefined) == tile.path.empty());
  Require(level.vampsPercent >= 0 && level.vampsPercent <= 100);
  Require(level.objectiveColumn == -1 ||
          (level.objectiveColumn >= 1 && level.objectiveColumn < level.columns &&
           level.objectiveRow >= 1));
  Require(!level.playerPlaced || (level.playerX > kLevelTile && level.playerY > 0));
  Require(level.humans.size() <= static_cast<size_t>(kLevelMaxHumans));
  for (const levelHuman& human : level.humans) {
    Require(human.type == (human.types.empty() ? std::string() : human.types.back().name));
    Require(human.located || (human.x == 0 && human.y == 0));
  }
  const int32_t lines = static_cast<int32_t>(LevelSplitLines(text).size());
  int32_t previous = 1;
  for (const levelFinding& finding : level.findings) {
    Require(finding.line >= previous && finding.line <= lines && !finding.message.empty());
    previous = finding.line;
  }
  return 0;
}
