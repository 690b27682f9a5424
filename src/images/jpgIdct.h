// The reader's inverse DCT: s(x, y) = (sum over u, v of F(u, v) K(x, u) K(y, v)) / 4,000,000
// + 128, integer division, samples not clamped.
#pragma once

#include <cstdint>

// Largest coefficient magnitude the reader passes in; keeps every sum exact in 64 bits and
// every sample inside 32 bits.
constexpr int32_t kJpgCoefficientLimit = 1 << 27;

// coefficients[v * 8 + u] (v vertical, u horizontal frequency) to samples[y * 8 + x]. Computed
// in separable form; the sum is exact integer arithmetic, so every sample equals the direct
// formula's.
void JpgInverseDct(const int32_t* coefficients, int32_t* samples);
// The same, told which positions may be non-zero (a bit per position, every non-zero one set)
// and a bound on their magnitudes (at least the largest; their bitwise or will do), so that it need not
// look for them, writing row y of the samples at samples + y * stride.
void JpgInverseDctWritten(const int32_t* coefficients, uint64_t written, int32_t largest,
                          int32_t* samples, int stride);
