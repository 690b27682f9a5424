#include "levelReach.h"

#include <algorithm>
#include <map>
#include <string>

namespace {

using cellSet = std::set<std::pair<int32_t, int32_t>>;

bool Filled(const levelData& level, int32_t column, int32_t row) {
  if (column < 1 || column > level.columns || row < 1 || row > level.rows) return false;
  const int32_t tile = level.TileAt(column, row);
  return tile >= 1 && level.tiles[static_cast<size_t>(tile - 1)].type != kLevelUndefined;
}

// Rows a figure's eyes (or body) take part in sight tests with.
std::vector<int32_t> SightRows(levelPoint p) {
  const int32_t row = LevelCellOf(p.y);
  std::vector<int32_t> rows{row, row - 1};
  if (((p.y % kLevelTile) + kLevelTile) % kLevelTile != 63) rows.push_back(row - 2);
  return rows;
}

std::string CellName(int32_t column, int32_t row) {
  return "cell " + std::to_string(column) + "," + std::to_string(row);
}

}  // namespace

std::vector<levelPoint> LevelReachable(const levelData& level, levelPoint start, bool human,
                                       cellSet& consulted) {
  // Walking at the walker's own speed, and knock-backs of 10 that gates do not stop.
  struct move {
    int32_t dx;
    bool drop;
    bool solid;
  };
  const int32_t speed = human ? 5 : 10;
  std::vector<move> moves;
  for (const int32_t dx : {-speed, 0, speed})
    for (const bool drop : {false, true}) moves.push_back({dx, drop, human});
  moves.push_back({10, false, false});
  moves.push_back({-10, false, false});

  // Far more than a 29 x 30 grid can hold at walking resolution; only a broken movement
  // rule could get near it.
  constexpr size_t kMaxPoints = 2000000;
  const levelTypeAt typeAt = [&](int32_t column, int32_t row) {
    consulted.insert({column, row});
    return LevelCellType(level, column, row);
  };
  std::set<levelPoint> seen{start};
  std::vector<levelPoint> queue{start};
  for (size_t next = 0; next < queue.size() && seen.size() < kMaxPoints; ++next) {
    const levelPoint p = queue[next];
    // A figure more than a cell off the map walks or falls through nothing for ever; the
    // cells beside the map already show the fault, so its way is followed no further.
    const int32_t column = LevelCellOf(p.x);
    const int32_t row = LevelCellOf(p.y);
    if (column < 0 || column > level.columns + 1 || row < 0 || row > level.rows + 1) continue;
    if (human) {
      // Choosing where to walk looks at both neighbours.
      typeAt(LevelCellOf(p.x) + 1, LevelCellOf(p.y));
      typeAt(LevelCellOf(p.x) - 1, LevelCellOf(p.y));
    }
    for (const move& m : moves) {
      const levelPoint q = LevelStep(typeAt, p, m.dx, m.drop, m.solid);
      if (seen.insert(q).second) queue.push_back(q);
    }
  }
  return queue;
}

void LevelCheckGrid(levelData& level) {
  std::vector<levelFinding>& out = level.findings;
  if (level.columns < 20 || level.rows < 12)
    out.push_back({0, "the map is " + std::to_string(level.columns) + " x " +
                          std::to_string(level.rows) +
                          " cells: the screen shows 20 x 12, so the camera looks past its edge"});
  for (int32_t c = 1; c <= level.columns; ++c)
    for (int32_t r = 1; r <= level.rows; ++r)
      if (!Filled(level, c, r))
        out.push_back({0, CellName(c, r) + " is empty: it shows as a hole on screen"});
  if (!level.playerPlaced) return;

  cellSet stepped;
  const std::vector<levelPoint> player =
      LevelReachable(level, {level.playerX, level.playerY}, false, stepped);
  std::vector<std::vector<levelPoint>> humans;
  for (const levelHuman& human : level.humans)
    humans.push_back(LevelReachable(level, {human.x, human.y}, true, stepped));

  // Sight: a human looks along each of its eye rows towards every vampire within 320 pixels
  // whose body shares the row; turned humans are vampires too.
  std::map<int32_t, std::vector<int32_t>> vampiresByRow;
  auto addVampire = [&](levelPoint p) {
    for (const int32_t row : SightRows(p)) vampiresByRow[row].push_back(p.x);
  };
  for (const levelPoint& p : player) addVampire(p);
  for (const auto& points : humans)
    for (const levelPoint& p : points) addVampire(p);
  for (auto& [row, xs] : vampiresByRow) std::sort(xs.begin(), xs.end());
  cellSet seen;
  for (const auto& points : humans) {
    for (const levelPoint& h : points) {
      for (const int32_t row : SightRows(h)) {
        const auto found = vampiresByRow.find(row);
        if (found == vampiresByRow.end()) continue;
        const std::vector<int32_t>& xs = found->second;
        const auto low = std::lower_bound(xs.begin(), xs.end(), h.x - 320);
        const auto high = std::upper_bound(xs.begin(), xs.end(), h.x + 320);
        if (low == high) continue;
        const int32_t first = std::min(LevelCellOf(*low), LevelCellOf(h.x));
        const int32_t last = std::max(LevelCellOf(*(high - 1)), LevelCellOf(h.x));
        if (first == last) continue;
        for (int32_t c = first; c <= last; ++c) seen.insert({c, row});
      }
    }
  }
  for (const auto& [c, r] : stepped)
    if (!Filled(level, c, r))
      out.push_back(
          {0, CellName(c, r) +
                  " is empty or off the map, but a figure can walk into it or stand beside it"});
  for (const auto& [c, r] : seen)
    if (!Filled(level, c, r) && !stepped.count({c, r}))
      out.push_back(
          {0, CellName(c, r) + " is empty or off the map, but a human can look across it"});

  // Objectives the player cannot meet make the level unwinnable.
  std::set<std::pair<int32_t, int32_t>> playerCells;
  for (const levelPoint& p : player) playerCells.insert({LevelCellOf(p.x), LevelCellOf(p.y)});
  if (level.objectiveColumn > 0 && !playerCells.count({level.objectiveColumn, level.objectiveRow}))
    out.push_back({0, "the player cannot reach the objective " +
                          CellName(level.objectiveColumn, level.objectiveRow)});
  int32_t reachable = 0;
  for (size_t i = 0; i < humans.size(); ++i) {
    const bool met = std::any_of(humans[i].begin(), humans[i].end(), [&](levelPoint p) {
      return playerCells.count({LevelCellOf(p.x), LevelCellOf(p.y)}) > 0;
    });
    if (met) ++reachable;
    if (!met && level.humans[i].objective)
      out.push_back(
          {level.humans[i].headerLine, "the player can never reach this objective human"});
  }
  const int32_t count = static_cast<int32_t>(level.humans.size());
  if (count > 0 && reachable * 100 / count < level.vampsPercent)
    out.push_back({0, "VAMPS " + std::to_string(level.vampsPercent) +
                          " needs more humans than the player can reach (" +
                          std::to_string(reachable) + " of " + std::to_string(count) + ")"});
}
