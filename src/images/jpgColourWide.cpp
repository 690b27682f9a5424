#include "images/jpgColourWide.h"

#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)
#include <immintrin.h>

namespace {

// The entry for numerator n and divisor d: with t = n + d / 2, floor(t / d) is round(n / d)
// (upwards at a half) and t is a multiple of d exactly at a half, where the entry is
// 2 floor(n / d) + 1 = 2 floor(t / d) - 1. |t| < 2^27, so the quotient in doubles lies at
// least 1 / d from any whole number it is not, and its floor is exact.
[[gnu::target("avx2")]] inline __m256i Entry(__m256i n, int32_t d) {
  const __m256i t = _mm256_add_epi32(n, _mm256_set1_epi32(d / 2));
  const __m256d divisor = _mm256_set1_pd(d);
  const __m256d low = _mm256_floor_pd(_mm256_div_pd(_mm256_cvtepi32_pd(_mm256_castsi256_si128(t)), divisor));
  const __m256d high = _mm256_floor_pd(_mm256_div_pd(_mm256_cvtepi32_pd(_mm256_extracti128_si256(t, 1)), divisor));
  const __m256i f = _mm256_set_m128i(_mm256_cvttpd_epi32(high), _mm256_cvttpd_epi32(low));
  const __m256i atHalf = _mm256_cmpeq_epi32(_mm256_mullo_epi32(f, _mm256_set1_epi32(d)), t);
  // atHalf is -1 in the lanes at a half.
  return _mm256_add_epi32(_mm256_slli_epi32(f, 1), atHalf);
}

[[gnu::target("avx2")]] inline void Store(__m256i entries, int16_t* out) {
  const __m128i packed = _mm_packs_epi32(_mm256_castsi256_si128(entries), _mm256_extracti128_si256(entries, 1));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), packed);
}

}  // namespace

bool JpgWideColourAvailable() { return __builtin_cpu_supports("avx2"); }

[[gnu::target("avx2")]] bool JpgChromaEntriesWide(const int32_t* cb, const int32_t* cr, int16_t* red, int16_t* green,
                                                  int16_t* blue) {
  const __m256i centre = _mm256_set1_epi32(128);
  const __m256i dcb = _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(cb)), centre);
  const __m256i dcr = _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(cr)), centre);
  const __m256i range = _mm256_set1_epi32(1024);
  const __m256i outside = _mm256_or_si256(_mm256_add_epi32(dcb, range), _mm256_add_epi32(dcr, range));
  if (!_mm256_testz_si256(outside, _mm256_set1_epi32(~2047))) return false;
  Store(Entry(_mm256_mullo_epi32(dcr, _mm256_set1_epi32(1402)), 1000), red);
  Store(Entry(_mm256_mullo_epi32(dcb, _mm256_set1_epi32(1772)), 1000), blue);
  const __m256i g = _mm256_add_epi32(_mm256_mullo_epi32(dcb, _mm256_set1_epi32(-34414)),
                                     _mm256_mullo_epi32(dcr, _mm256_set1_epi32(-71414)));
  Store(Entry(g, 100000), green);
  return true;
}

#else

bool JpgWideColourAvailable() { return false; }

bool JpgChromaEntriesWide(const int32_t*, const int32_t*, int16_t*, int16_t*, int16_t*) { return false; }

#endif
