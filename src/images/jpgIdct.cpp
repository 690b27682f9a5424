#include "images/jpgIdct.h"

#include "images/jpgTables.h"

void JpgInverseDct(const int32_t* coefficients, int32_t* samples) {
  const JpgTables& t = JpgTablesGet();
  // rows[v][x] = sum over u of F(u, v) K(x, u), over the coefficients up to the row's last
  // non-zero one; all-zero rows are skipped.
  int64_t rows[8][8];
  bool used[8];
  int last[8];
  bool dcOnly = true;
  for (int v = 0; v < 8; ++v) {
    const int32_t* f = coefficients + v * 8;
    last[v] = -1;
    for (int u = 7; u >= 0; --u) {
      if (f[u] != 0) {
        last[v] = u;
        break;
      }
    }
    used[v] = last[v] >= 0;
    if (used[v] && (v > 0 || last[v] > 0)) dcOnly = false;
  }
  if (dcOnly) {
    // Every product K(x, 0) K(y, 0) is 700 x 700: one sum for the whole block.
    const int32_t s = static_cast<int32_t>(int64_t{coefficients[0]} * t.basis[0][0] * t.basis[0][0] / 4000000 + 128);
    for (int i = 0; i < 64; ++i) samples[i] = s;
    return;
  }
  for (int v = 0; v < 8; ++v) {
    if (!used[v]) continue;
    const int32_t* f = coefficients + v * 8;
    for (int x = 0; x < 8; ++x) {
      int64_t sum = 0;
      for (int u = 0; u <= last[v]; ++u) sum += int64_t{f[u]} * t.basis[x][u];
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
