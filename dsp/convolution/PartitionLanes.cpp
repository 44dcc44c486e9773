#include "dsp/convolution/PartitionLanes.h"

#include "dsp/convolution/CpuFeatures.h"
#include "dsp/convolution/DenormalFlush.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
// GCC's AVX-512 headers fill unused lanes from a deliberately undefined
// value, which its own uninitialised-use warning then reports once inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
#endif

namespace PartitionLanes {

namespace {

#if defined(__x86_64__) || defined(__i386__)

#define BRIMLOW_LANES_AVX512 __attribute__((target("avx512f")))

BRIMLOW_LANES_AVX512 inline __m512d FlushVec(__m512d v) {
  const __m512i exponent =
      _mm512_and_si512(_mm512_srli_epi64(_mm512_castpd_si512(v), 52), _mm512_set1_epi64(0x7FF));
  const __mmask8 zero = _mm512_cmple_epu64_mask(exponent, _mm512_set1_epi64(0x3C8)) |
                        _mm512_cmpeq_epu64_mask(exponent, _mm512_set1_epi64(0x7FF));
  return _mm512_maskz_mov_pd(static_cast<__mmask8>(~zero), v);
}

BRIMLOW_LANES_AVX512 void InterleaveFlushedAvx512(const double* a, const double* b, double* slot, int n) {
  const __m512i low = _mm512_set_epi64(11, 3, 10, 2, 9, 1, 8, 0);
  const __m512i high = _mm512_set_epi64(15, 7, 14, 6, 13, 5, 12, 4);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m512d va = FlushVec(_mm512_loadu_pd(a + i)), vb = FlushVec(_mm512_loadu_pd(b + i));
    _mm512_storeu_pd(slot + 2 * i, _mm512_permutex2var_pd(va, low, vb));
    _mm512_storeu_pd(slot + 2 * i + 8, _mm512_permutex2var_pd(va, high, vb));
  }
  InterleaveFlushedPlain(a + i, b + i, slot + 2 * i, n - i);
}

BRIMLOW_LANES_AVX512 void OverlapAddPairAvx512(const double* first, const double* second, double* tailA,
                                               double* tailB, double* outA, double* outB, int n) {
  const __m512i even = _mm512_set_epi64(14, 12, 10, 8, 6, 4, 2, 0);
  const __m512i odd = _mm512_set_epi64(15, 13, 11, 9, 7, 5, 3, 1);
  int j = 0;
  for (; j + 8 <= n; j += 8) {
    const __m512d f0 = _mm512_loadu_pd(first + 2 * j), f1 = _mm512_loadu_pd(first + 2 * j + 8);
    const __m512d s0 = _mm512_loadu_pd(second + 2 * j), s1 = _mm512_loadu_pd(second + 2 * j + 8);
    _mm512_storeu_pd(outA + j, _mm512_add_pd(_mm512_permutex2var_pd(f0, even, f1), _mm512_loadu_pd(tailA + j)));
    _mm512_storeu_pd(outB + j, _mm512_add_pd(_mm512_permutex2var_pd(f0, odd, f1), _mm512_loadu_pd(tailB + j)));
    _mm512_storeu_pd(tailA + j, _mm512_permutex2var_pd(s0, even, s1));
    _mm512_storeu_pd(tailB + j, _mm512_permutex2var_pd(s0, odd, s1));
  }
  OverlapAddPairPlain(first + 2 * j, second + 2 * j, tailA + j, tailB + j, outA + j, outB + j, n - j);
}

#endif

}  // namespace

void InterleaveFlushedPlain(const double* a, const double* b, double* slot, int n) {
  for (int i = 0; i < n; ++i) {
    slot[2 * i] = FlushSample(a[i]);
    slot[2 * i + 1] = FlushSample(b[i]);
  }
}

void OverlapAddPairPlain(const double* first, const double* second, double* tailA, double* tailB, double* outA,
                         double* outB, int n) {
  for (int j = 0; j < n; ++j) {
    outA[j] = first[2 * j] + tailA[j];
    tailA[j] = second[2 * j];
    outB[j] = first[2 * j + 1] + tailB[j];
    tailB[j] = second[2 * j + 1];
  }
}

void InterleaveFlushed(const double* a, const double* b, double* slot, int n) {
#if defined(__x86_64__) || defined(__i386__)
  if (CpuFeatures::HasAvx512()) {
    InterleaveFlushedAvx512(a, b, slot, n);
    return;
  }
#endif
  InterleaveFlushedPlain(a, b, slot, n);
}

void OverlapAddPair(const double* first, const double* second, double* tailA, double* tailB, double* outA,
                    double* outB, int n) {
#if defined(__x86_64__) || defined(__i386__)
  if (CpuFeatures::HasAvx512()) {
    OverlapAddPairAvx512(first, second, tailA, tailB, outA, outB, n);
    return;
  }
#endif
  OverlapAddPairPlain(first, second, tailA, tailB, outA, outB, n);
}

}  // namespace PartitionLanes
