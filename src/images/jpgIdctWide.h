// The reader's inverse DCT for blocks whose coefficients all lie below 2^16, four doubles wide
// with fused multiply-adds, for processors that have AVX2 and FMA (Linux on x86-64 only).
#pragma once

#include <cstdint>

// True when this build has the wide transform and the processor can run it.
bool JpgWideDctAvailable();
// As JpgInverseDctWritten, for blocks with more than the DC coefficient written and every
// coefficient's magnitude below 2^16.
void JpgInverseDctWide(const int32_t* coefficients, uint64_t written, int32_t* samples, int stride);
