// A small baseline JPEG writer for tests: it codes given quantised coefficients exactly, so a
// test knows every coefficient the reader must see, and computes the expected pixels with the
// reader's arithmetic written out independently (direct inverse DCT, exact colour rounding).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct JpegTestComponent {
  int id;
  int h;
  int v;
  int quant;
};

struct JpegTestSpec {
  int width = 16;
  int height = 16;
  std::vector<JpegTestComponent> components;
  std::array<std::array<uint16_t, 64>, 2> quant{};  // coded order
  int restartInterval = 0;
};

using JpegBlock = std::array<int, 64>;  // quantised coefficients in coded order

// Blocks in file order: MCU by MCU, component by component, h x v blocks each.
std::vector<uint8_t> JpegTestEncode(const JpegTestSpec& spec, const std::vector<JpegBlock>& blocks);
// The pixels the reader's arithmetic gives for those blocks (red << 16 | green << 8 | blue).
std::vector<uint32_t> JpegTestExpected(const JpegTestSpec& spec,
                                       const std::vector<JpegBlock>& blocks);

// Independently computed tables and inverse DCT of the reader's arithmetic.
int JpegTestCosine(int k);
int JpegTestBasis(int x, int u);
// coefficients[v * 8 + u] in natural order; the direct sum over all 64 terms with the
// 4096-entry product table, divided once.
std::array<int64_t, 64> JpegTestDirectIdct(const std::array<int32_t, 64>& coefficients);
extern const int kJpegNaturalOrder[64];
