#include "images/jpgIdct.h"

#include <bit>

#include "images/jpgIdctWide.h"
#include "images/jpgTables.h"

namespace {

// Below this coefficient magnitude every partial sum stays under 2^42 (8 x 2^16 x 1000 per row,
// times 8 x 1000 per column): exact in a double, and the quotient by 4,000,000 stays far enough
// from the next whole number that the rounded division truncates to the exact result.
constexpr int32_t kDoubleLimit = 1 << 16;

// The separable sums in doubles, which the compiler works on several at a time; every sum is a
// whole number below 2^53, so the result is the integer one. Processors with AVX2 and FMA take
// the wide transform instead.
void InverseDctDouble(const int32_t* coefficients, const int* last, int32_t* samples, int stride,
                      const JpgTables& t) {
  double rows[8][8];
  bool used[8];
  for (int v = 0; v < 8; ++v) {
    used[v] = last[v] >= 0;
    if (!used[v]) continue;
    const int32_t* f = coefficients + v * 8;
    double sums[8] = {};
    for (int u = 0; u <= last[v]; ++u) {
      if (f[u] == 0) continue;
      const double value = f[u];
      for (int x = 0; x < 8; ++x) sums[x] += value * t.basisByFrequency[u][x];
    }
    for (int x = 0; x < 8; ++x) rows[v][x] = sums[x];
  }
  for (int y = 0; y < 8; ++y) {
    double sums[8] = {};
    for (int v = 0; v < 8; ++v) {
      if (!used[v]) continue;
      const double k = t.basisByFrequency[v][y];
      for (int x = 0; x < 8; ++x) sums[x] += rows[v][x] * k;
    }
    for (int x = 0; x < 8; ++x)
      samples[y * stride + x] = static_cast<int32_t>(sums[x] / 4000000.0) + 128;
  }
}

const bool kWide = JpgWideDctAvailable();

}  // namespace

void JpgInverseDct(const int32_t* coefficients, int32_t* samples) {
  uint64_t written = 0;
  int32_t largest = 0;
  for (int i = 0; i < 64; ++i) {
    if (coefficients[i] != 0) written |= uint64_t{1} << i;
    largest |= coefficients[i] < 0 ? -coefficients[i] : coefficients[i];
  }
  JpgInverseDctWritten(coefficients, written, largest, samples, 8);
}

void JpgInverseDctWritten(const int32_t* coefficients, uint64_t written, int32_t largest,
                          int32_t* samples, int stride) {
  if ((written & ~uint64_t{1}) == 0) {
    // Every product K(x, 0) K(y, 0) is 700 x 700: one sum for the whole block.
    const int32_t s = static_cast<int32_t>(int64_t{coefficients[0]} * 700 * 700 / 4000000 + 128);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) samples[y * stride + x] = s;
    }
    return;
  }
  if (largest < kDoubleLimit && kWide) {
    JpgInverseDctWide(coefficients, written, samples, stride);
    return;
  }
  const JpgTables& t = JpgTablesGet();
  // rows[v][x] = sum over u of F(u, v) K(x, u), over the coefficients up to the row's last
  // written one; rows with nothing written are skipped.
  int last[8];
  for (int v = 0; v < 8; ++v) {
    const uint32_t row = static_cast<uint32_t>(written >> (8 * v)) & 0xFF;
    last[v] = row == 0 ? -1 : 31 - std::countl_zero(row);
  }
  if (largest < kDoubleLimit) {
    InverseDctDouble(coefficients, last, samples, stride, t);
    return;
  }
  int64_t rows[8][8];
  for (int v = 0; v < 8; ++v) {
    if (last[v] < 0) continue;
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
      if (last[v] < 0) continue;
      const int64_t k = t.basis[y][v];
      for (int x = 0; x < 8; ++x) sums[x] += rows[v][x] * k;
    }
    for (int x = 0; x < 8; ++x)
      samples[y * stride + x] = static_cast<int32_t>(sums[x] / 4000000 + 128);
  }
}
