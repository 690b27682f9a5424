// The chroma part of the JPEG reader's colour equations for eight chroma samples at once, with
// AVX2 (Linux on x86-64 only).
#pragma once

#include <cstdint>

// True when this build has the wide code and the processor can run it.
bool JpgWideColourAvailable();
// For eight Cb and Cr samples, the table entries round(1.402 d) << 1 | half (red, d = Cr - 128),
// round(1.772 d) << 1 | half (blue, d = Cb - 128) and floor(g) << 1 | half or round(g) << 1
// (green, g = (-34414 (Cb - 128) - 71414 (Cr - 128)) / 100000), half marking a quotient that
// lies exactly halfway. False, writing nothing, when a sample lies 1024 or more from 128.
bool JpgChromaEntriesWide(const int32_t* cb, const int32_t* cr, int16_t* red, int16_t* green, int16_t* blue);
