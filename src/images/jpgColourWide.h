// The JPEG reader's colour equations with AVX2 and FMA (Linux on x86-64 only): the chroma part for eight
// chroma samples at once, and pixels sixteen at a time.
#pragma once

#include <cstdint>

// True when this build has the wide code and the processor can run it.
bool JpgWideColourAvailable();
// For eight Cb and Cr samples, the table entries round(1.402 d) << 1 | half (red, d = Cr - 128),
// round(1.772 d) << 1 | half (blue, d = Cb - 128) and floor(g) << 1 | half or round(g) << 1
// (green, g = (-34414 (Cb - 128) - 71414 (Cr - 128)) / 100000), half marking a quotient that
// lies exactly halfway. False, writing nothing, when a sample lies 1024 or more from 128.
bool JpgChromaEntriesWide(const int32_t* cb, const int32_t* cr, int16_t* red, int16_t* green,
                          int16_t* blue);
// Pixels of one row from its luma samples and the entries above for its chroma samples, one
// per pixel (shiftX 0) or per two pixels (shiftX 1), sixteen at a time from the row's start
// while the luma lies within 1024 of 0, each channel Y plus its entry (at a half, to the even
// one), kept within 0..255. The number of pixels written, a multiple of 16.
int JpgPutRowWide(const int32_t* luma, const int16_t* red, const int16_t* green,
                  const int16_t* blue, int shiftX, int columns, uint32_t* out);
