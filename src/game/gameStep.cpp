#include "game/gameStep.h"

int32_t LevelCellOf(int32_t coordinate) {
  const int32_t quotient = coordinate / kLevelTile;
  return (coordinate % kLevelTile < 0 ? quotient - 1 : quotient) + 1;
}

uint8_t LevelCellType(const levelData& level, int32_t column, int32_t row) {
  if (column < 1 || column > kLevelGrid || row < 1 || row > kLevelGrid) return kLevelBlock;
  const int32_t tile = level.TileAt(column, row);
  if (tile < 1 || tile > static_cast<int32_t>(level.tiles.size())) return kLevelUndefined;
  return level.tiles[static_cast<size_t>(tile - 1)].type;
}

levelPoint LevelStep(const levelTypeAt& typeAt, levelPoint from, int32_t dx, bool drop,
                     bool solidForHumans) {
  const int32_t c0 = LevelCellOf(from.x);
  const int32_t r0 = LevelCellOf(from.y);
  const uint8_t here = typeAt(c0, r0);
  const int32_t dy = here == kLevelLeft ? dx : here == kLevelRight ? -dx : 0;
  int32_t x1 = from.x + dx;
  int32_t y1 = from.y + dy;
  const int32_t c1 = LevelCellOf(x1);
  int32_t r1 = LevelCellOf(y1);

  // Where two slopes meet in a valley the figure stays on the upper level unless it asks to
  // go down.
  if (c1 != c0 && !drop) {
    if ((dx > 0 && here == kLevelLeft && typeAt(c0 + 1, r0) == kLevelRight) ||
        (dx <= 0 && here == kLevelRight && typeAt(c0 - 1, r0) == kLevelLeft)) {
      y1 = r0 * kLevelTile - 1;
      r1 = LevelCellOf(y1);
    }
  }

  if (c1 != c0) {
    const uint8_t ahead = typeAt(c1, r1);
    const bool wall =
        (ahead == kLevelBlock || (ahead == kLevelBlockNpc && solidForHumans)) && r1 == r0;
    if (wall) x1 = dx > 0 ? c0 * kLevelTile - 1 : (c0 - 1) * kLevelTile;
    // A slope walked into at its high side from anything but the same flight is a wall.
    if (ahead == kLevelLeft && dx > 0 && here != kLevelLeft) x1 = c0 * kLevelTile - 1;
    if (ahead == kLevelRight && dx < 0 && here != kLevelRight) x1 = (c0 - 1) * kLevelTile;
  }

  const int32_t c2 = LevelCellOf(x1);
  int32_t r2 = LevelCellOf(y1);
  // Over open space a figure falls one row per step.
  if (typeAt(c2, r2) == kLevelSpace && typeAt(c2, r2 + 1) != kLevelBlock) ++r2;

  const int32_t inTile = ((x1 % kLevelTile) + kLevelTile) % kLevelTile;
  switch (typeAt(c2, r2)) {
    case kLevelBlock: y1 = (r2 - 1) * kLevelTile - 1; break;
    case kLevelBlockNpc:
    case kLevelSpace: y1 = r2 * kLevelTile - 1; break;
    case kLevelLeft: y1 = (r2 - 1) * kLevelTile + inTile; break;
    case kLevelRight: y1 = (r2 - 1) * kLevelTile + kLevelTile - 1 - inTile; break;
    default: break;
  }
  return {x1, y1};
}
