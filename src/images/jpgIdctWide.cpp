#include "images/jpgIdctWide.h"

#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)
#include <immintrin.h>

#include <bit>

#include "images/jpgTables.h"

namespace {

// Every product and partial sum is a whole number below 2^42 (see the double transform), so a
// fused multiply-add rounds nothing and the order of the sums does not matter.
struct WideTables {
  // byFrequency[u][x] = K(x, u): one row of the first pass per coefficient.
  alignas(32) double byFrequency[8][8];
  // spread[v][y] = K(y, v) four times: the second pass multiplies a row of four by it.
  alignas(32) double spread[8][8][4];
};

WideTables BuildWideTables() {
  const JpgTables& t = JpgTablesGet();
  WideTables w{};
  for (int u = 0; u < 8; ++u) {
    for (int x = 0; x < 8; ++x) w.byFrequency[u][x] = t.basis[x][u];
  }
  for (int v = 0; v < 8; ++v) {
    for (int y = 0; y < 8; ++y) {
      for (double& d : w.spread[v][y]) d = t.basis[y][v];
    }
  }
  return w;
}

const WideTables kTables = BuildWideTables();

// Four sums to samples: the quotient by 4,000,000 truncated towards zero, plus 128, without the
// slow division. The product with the rounded reciprocal lies within 2.5e-10 of the quotient
// (below 2^42 / 4,000,000); the quotient of a whole number is either whole or at least 2.5e-7
// from the whole numbers beside it. Moved 1.25e-7 away from zero, the product truncates as the
// exact quotient does.
[[gnu::target("avx2,fma")]] inline void StoreSums(__m256d sums, int32_t* out) {
  const __m256d nudge =
      _mm256_or_pd(_mm256_and_pd(sums, _mm256_set1_pd(-0.0)), _mm256_set1_pd(0.5 / 4000000.0));
  const __m128i q =
      _mm256_cvttpd_epi32(_mm256_fmadd_pd(sums, _mm256_set1_pd(1.0 / 4000000.0), nudge));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_add_epi32(q, _mm_set1_epi32(128)));
}

// Adds F(u, v) K(x, u) for x = 0..7 to the two halves of a row; quarter holds F(u, v) in lane u % 4.
template <int u>
[[gnu::target("avx2,fma")]] inline void AddFrequency(__m256d quarter, __m256d& left,
                                                     __m256d& right) {
  const __m256d value = _mm256_permute4x64_pd(quarter, (u % 4) * 0x55);
  left = _mm256_fmadd_pd(value, _mm256_load_pd(kTables.byFrequency[u]), left);
  right = _mm256_fmadd_pd(value, _mm256_load_pd(kTables.byFrequency[u] + 4), right);
}

}  // namespace

bool JpgWideDctAvailable() {
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

[[gnu::target("avx2,fma")]] void JpgInverseDctWide(const int32_t* coefficients, uint64_t written,
                                                   int32_t* samples, int stride) {
  // First pass, rows[v][x] = sum over u of F(u, v) K(x, u), for the rows with anything written.
  alignas(32) double rows[8][8];
  // For each row in rows, its factors K(y, v) of the second pass.
  const double(*spreadOf[8])[4];
  int used = 0;
  // A bit per row with anything written: each byte of written folded onto its lowest bit, and
  // those eight bits gathered into the top byte by one product.
  uint64_t folded = written | written >> 4;
  folded |= folded >> 2;
  folded |= folded >> 1;
  const uint32_t rowMask =
      static_cast<uint32_t>(((folded & 0x0101010101010101) * 0x0102040810204080) >> 56);
  for (uint32_t toDo = rowMask; toDo != 0; toDo &= toDo - 1) {
    const int v = std::countr_zero(toDo);
    const uint32_t row = static_cast<uint32_t>(written >> (8 * v)) & 0xFF;
    // The row up to its last written coefficient, zeros included: cheaper than looking for them.
    const int last = 31 - std::countl_zero(row);
    const __m256i f = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(coefficients + 8 * v));
    const __m256d low = _mm256_cvtepi32_pd(_mm256_castsi256_si128(f));
    __m256d leftHalf = _mm256_setzero_pd(), rightHalf = _mm256_setzero_pd();
    AddFrequency<0>(low, leftHalf, rightHalf);
    if (last >= 1) AddFrequency<1>(low, leftHalf, rightHalf);
    if (last >= 2) AddFrequency<2>(low, leftHalf, rightHalf);
    if (last >= 3) AddFrequency<3>(low, leftHalf, rightHalf);
    if (last >= 4) {
      const __m256d high = _mm256_cvtepi32_pd(_mm256_extracti128_si256(f, 1));
      AddFrequency<4>(high, leftHalf, rightHalf);
      if (last >= 5) AddFrequency<5>(high, leftHalf, rightHalf);
      if (last >= 6) AddFrequency<6>(high, leftHalf, rightHalf);
      if (last >= 7) AddFrequency<7>(high, leftHalf, rightHalf);
    }
    _mm256_store_pd(rows[used], leftHalf);
    _mm256_store_pd(rows[used] + 4, rightHalf);
    spreadOf[used++] = kTables.spread[v];
  }
  if (rowMask == 1) {
    // Only the first row: K(y, 0) is 700 for every y, so all eight sample rows are the same.
    const __m256d k = _mm256_set1_pd(700.0);
    StoreSums(_mm256_mul_pd(_mm256_load_pd(rows[0]), k), samples);
    StoreSums(_mm256_mul_pd(_mm256_load_pd(rows[0] + 4), k), samples + 4);
    const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(samples));
    for (int y = 1; y < 8; ++y)
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(samples + y * stride), first);
    return;
  }
  // Second pass, four columns at a time: s(x, y) = sum over v of rows[v][x] K(y, v).
  for (int half = 0; half < 8; half += 4) {
    __m256d sums[8];
    for (__m256d& s : sums) s = _mm256_setzero_pd();
    for (int i = 0; i < used; ++i) {
      const __m256d r = _mm256_load_pd(rows[i] + half);
      const double(*k)[4] = spreadOf[i];
      for (int y = 0; y < 8; ++y) sums[y] = _mm256_fmadd_pd(r, _mm256_load_pd(k[y]), sums[y]);
    }
    for (int y = 0; y < 8; ++y) StoreSums(sums[y], samples + y * stride + half);
  }
}

#else

bool JpgWideDctAvailable() { return false; }

void JpgInverseDctWide(const int32_t*, uint64_t, int32_t*, int) {}

#endif
