#include "images/jpgIdct.h"

#include "images/jpgTables.h"

void JpgInverseDct(const int32_t* coefficients, int32_t* samples) {
  const JpgTables& t = JpgTablesGet();
  // rows[v][x] = sum over u of F(u, v) K(x, u); all-zero coefficient rows are skipped.
  int64_t rows[8][8];
  bool used[8];
  for (int v = 0; v < 8; ++v) {
    const int32_t* f = coefficients + v * 8;
    used[v] = (f[0] | f[1] | f[2] | f[3] | f[4] | f[5] | f[6] | f[7]) != 0;
    if (!used[v]) continue;
    for (int x = 0; x < 8; ++x) {
      int64_t sum = 0;
      for (int u = 0; u < 8; ++u) sum += int64_t{f[u]} * t.basis[x][u];
      rows[v][x] = sum;
    }
  }
  for (int y = 0; y < 8; ++y) {
    int64_t sums[8] = {};
    for (int v = 0; v < 8; ++v) {
      if (!used[v]) continue;
      const int64_t k = t.basis[y][v];
      for (int x = 0; x < 8; ++x) sums[x] += rows[v][x] * k;
    }
    for (int x = 0; x < 8; ++x) samples[y * 8 + x] = static_cast<int32_t>(sums[x] / 4000000 + 128);
  }
}
