#include "images/jpgColourWide.h"

#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)
#include <immintrin.h>

namespace {

// The entry for numerator n and divisor d: with t = n + d / 2, floor(t / d) is round(n / d)
// (upwards at a half) and t is a multiple of d exactly at a half, where the entry is
// 2 floor(n / d) + 1 = 2 floor(t / d) - 1. The quotient of the whole number t lies 0 to
// (d - 1) / d above a whole number; |t| < 2^27, so the product with the rounded reciprocal is
// within 1e-10 of it, and moved up by 1 / (2 d) it has the same floor, without the slow division.
[[gnu::target("avx2,fma")]] inline __m128i FloorQuotient(__m128i four, int32_t d) {
  const __m256d product =
      _mm256_fmadd_pd(_mm256_cvtepi32_pd(four), _mm256_set1_pd(1.0 / d), _mm256_set1_pd(0.5 / d));
  return _mm256_cvttpd_epi32(_mm256_floor_pd(product));
}

[[gnu::target("avx2,fma")]] inline __m256i Entry(__m256i n, int32_t d) {
  const __m256i t = _mm256_add_epi32(n, _mm256_set1_epi32(d / 2));
  const __m256i f = _mm256_set_m128i(FloorQuotient(_mm256_extracti128_si256(t, 1), d),
                                     FloorQuotient(_mm256_castsi256_si128(t), d));
  const __m256i atHalf = _mm256_cmpeq_epi32(_mm256_mullo_epi32(f, _mm256_set1_epi32(d)), t);
  // atHalf is -1 in the lanes at a half.
  return _mm256_add_epi32(_mm256_slli_epi32(f, 1), atHalf);
}

[[gnu::target("avx2")]] inline void StoreEntries(__m256i entries, int16_t* out) {
  const __m128i packed =
      _mm_packs_epi32(_mm256_castsi256_si128(entries), _mm256_extracti128_si256(entries, 1));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), packed);
}

// Y plus an entry on sixteen 16-bit lanes: at a half, the even one of base and base + 1.
[[gnu::target("avx2")]] inline __m256i AddRoundedWide(__m256i luma, __m256i entry) {
  const __m256i base = _mm256_add_epi16(luma, _mm256_srai_epi16(entry, 1));
  return _mm256_add_epi16(base,
                          _mm256_and_si256(_mm256_and_si256(entry, base), _mm256_set1_epi16(1)));
}

// Sixteen entries for the pixels from the first one.
[[gnu::target("avx2")]] inline __m256i Entries(const int16_t* entries, int shiftX) {
  if (shiftX == 0) return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(entries));
  const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(entries));
  return _mm256_set_m128i(_mm_unpackhi_epi16(eight, eight), _mm_unpacklo_epi16(eight, eight));
}

}  // namespace

bool JpgWideColourAvailable() {
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

[[gnu::target("avx2,fma")]] bool JpgChromaEntriesWide(const int32_t* cb, const int32_t* cr,
                                                      int16_t* red, int16_t* green, int16_t* blue) {
  const __m256i centre = _mm256_set1_epi32(128);
  const __m256i dcb =
      _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(cb)), centre);
  const __m256i dcr =
      _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(cr)), centre);
  const __m256i range = _mm256_set1_epi32(1024);
  const __m256i outside =
      _mm256_or_si256(_mm256_add_epi32(dcb, range), _mm256_add_epi32(dcr, range));
  if (!_mm256_testz_si256(outside, _mm256_set1_epi32(~2047))) return false;
  StoreEntries(Entry(_mm256_mullo_epi32(dcr, _mm256_set1_epi32(1402)), 1000), red);
  StoreEntries(Entry(_mm256_mullo_epi32(dcb, _mm256_set1_epi32(1772)), 1000), blue);
  const __m256i g = _mm256_add_epi32(_mm256_mullo_epi32(dcb, _mm256_set1_epi32(-34414)),
                                     _mm256_mullo_epi32(dcr, _mm256_set1_epi32(-71414)));
  StoreEntries(Entry(g, 100000), green);
  return true;
}

[[gnu::target("avx2")]] int JpgPutRowWide(const int32_t* luma, const int16_t* red,
                                          const int16_t* green, const int16_t* blue, int shiftX,
                                          int columns, uint32_t* out) {
  const __m256i range = _mm256_set1_epi32(1024);
  const __m256i outside = _mm256_set1_epi32(~2047);
  const __m256i zero = _mm256_setzero_si256();
  int x = 0;
  for (; x + 16 <= columns; x += 16) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(luma + x));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(luma + x + 8));
    if (!_mm256_testz_si256(
            _mm256_or_si256(_mm256_add_epi32(low, range), _mm256_add_epi32(high, range)),
            outside)) {
      break;
    }
    // packs works within each 128-bit half: the permute puts the sixteen lanes back in order.
    const __m256i y = _mm256_permute4x64_epi64(_mm256_packs_epi32(low, high), 0xD8);
    const int c = x >> shiftX;
    const __m256i r = AddRoundedWide(y, Entries(red + c, shiftX));
    const __m256i g = AddRoundedWide(y, Entries(green + c, shiftX));
    const __m256i b = AddRoundedWide(y, Entries(blue + c, shiftX));
    // Per 128-bit half (pixels 0-7, then 8-15): bytes B G R 0 per pixel, clamped by the packs.
    const __m256i redGreen = _mm256_packus_epi16(r, g);
    const __m256i blueZero = _mm256_packus_epi16(b, zero);
    const __m256i blueGreen = _mm256_unpacklo_epi8(blueZero, _mm256_srli_si256(redGreen, 8));
    const __m256i redZero = _mm256_unpacklo_epi8(redGreen, zero);
    const __m256i first = _mm256_unpacklo_epi16(blueGreen, redZero);
    const __m256i second = _mm256_unpackhi_epi16(blueGreen, redZero);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                        _mm256_permute2x128_si256(first, second, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x + 8),
                        _mm256_permute2x128_si256(first, second, 0x31));
  }
  return x;
}

#else

bool JpgWideColourAvailable() { return false; }

int JpgPutRowWide(const int32_t*, const int16_t*, const int16_t*, const int16_t*, int, int,
                  uint32_t*) {
  return 0;
}

bool JpgChromaEntriesWide(const int32_t*, const int32_t*, int16_t*, int16_t*, int16_t*) {
  return false;
}

#endif
