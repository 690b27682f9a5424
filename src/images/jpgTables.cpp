#include "images/jpgTables.h"

#include <cmath>

namespace {

JpgTables BuildTables() {
  JpgTables t{};
  for (int k = 0; k < kJpgCosineEntries; ++k)
    t.cosine[k] = static_cast<int32_t>(std::lround(100.0 * std::cos(k / 100.0)));
  for (int x = 0; x < 8; ++x) {
    t.basis[x][0] = 7 * t.cosine[0];
    for (int u = 1; u < 8; ++u)
      t.basis[x][u] = 10 * t.cosine[((2 * x + 1) * u * 19) % kJpgCosineEntries];
    for (int u = 0; u < 8; ++u) t.basisByFrequency[u][x] = t.basis[x][u];
  }
  // Walk the anti-diagonals, alternating direction, as the coded sequence does.
  int index = 0;
  for (int diagonal = 0; diagonal < 15; ++diagonal) {
    for (int i = 0; i <= diagonal; ++i) {
      const int row = diagonal % 2 == 0 ? diagonal - i : i;
      const int column = diagonal - row;
      if (row > 7 || column > 7) continue;
      t.naturalPosition[index] = static_cast<uint8_t>(row * 8 + column);
      t.zigzagIndex[row * 8 + column] = static_cast<uint8_t>(index);
      ++index;
    }
  }
  return t;
}

}  // namespace

const JpgTables& JpgTablesGet() {
  static const JpgTables tables = BuildTables();
  return tables;
}
