// Fixed tables of the JPEG reader: the two-digit cosine table, the basis factors built from it,
// and the zig-zag order.
#pragma once

#include <cstdint>

constexpr int kJpgCosineEntries = 629;

struct JpgTables {
  // cosine[k] = 100 cos(k / 100), rounded: angles in hundredths of a radian.
  int32_t cosine[kJpgCosineEntries];
  // basis[x][u] = K(x, u): 700 for u = 0, else 10 cosine[((2x + 1) u 19) mod 629], taking
  // pi / 16 as 0.19 radian.
  int32_t basis[8][8];
  // basisByFrequency[u][x] = K(x, u), as doubles for the reader's fast inverse DCT.
  double basisByFrequency[8][8];
  // zigzagIndex[natural] = index of that position (row * 8 + column) in the coded sequence.
  uint8_t zigzagIndex[64];
  // naturalPosition[coded index] = row * 8 + column.
  uint8_t naturalPosition[64];
};

// Built on first use.
const JpgTables& JpgTablesGet();
