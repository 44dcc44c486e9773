// Four pixels a step with SSE2, eight with AVX2 where the processor has it;
// a visual whose channels each have a byte of their own is a fixed byte
// shuffle, and one laid out as the surface is a masked copy.

#include "platform/windowserver/SurfaceRowConversion.h"

#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "dsp/convolution/CpuFeatures.h"

namespace platform {

namespace {

// Where each byte of a visual's word (in memory order) comes from when
// every channel has a byte of its own: byte 1, 2 or 3 of the surface pixel
// (R, G, B), or -1 for a zero byte. False for any other visual.
bool ByteShuffle(const VisualLayout& x, int8_t from[4]) {
  if (!x.littleEndian) return false;
  const int shifts[3] = {x.redShift, x.greenShift, x.blueShift};
  for (int k = 0; k < 4; ++k) from[k] = -1;
  for (int c = 0; c < 3; ++c) {
    const int s = shifts[c];
    if (s < 0 || s > 24 || s % 8 != 0 || from[s / 8] != -1) return false;
    from[s / 8] = static_cast<int8_t>(c + 1);
  }
  return true;
}

// The row loops store a word only where it differs from what the image
// holds and widen [first, last] to the columns stored.
inline void Note(int from, int to, int* first, int* last) {
  if (from < *first) *first = from;
  if (to > *last) *last = to;
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2"))) int ShuffleRowAvx2(const uint8_t* in, uint32_t* out, int n, const int8_t from[4],
                                                    int* first, int* last) {
  alignas(16) int8_t control[16];
  for (int b = 0; b < 16; ++b) {
    const int8_t f = from[b % 4];
    control[b] = f < 0 ? static_cast<int8_t>(-128) : static_cast<int8_t>(b - b % 4 + f);
  }
  const __m256i shuffle = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(control)));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + static_cast<size_t>(i) * 4));
    const __m256i q = _mm256_shuffle_epi8(p, shuffle);
    __m256i* o = reinterpret_cast<__m256i*>(out + i);
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(q, _mm256_loadu_si256(o))) == -1) continue;
    _mm256_storeu_si256(o, q);
    Note(i, i + 7, first, last);
  }
  return i;
}
#endif

}  // namespace

void ConvertSurfaceRow(const VisualLayout& x, const uint8_t* in, uint32_t* out, int n, int* first, int* last,
                       bool allowAvx2) {
  *first = n;
  *last = -1;
  int i = 0;
  int8_t from[4];
  if (ByteShuffle(x, from)) {
    [[maybe_unused]] const bool same = from[0] == -1 && from[1] == 1 && from[2] == 2 && from[3] == 3;
#ifdef __SSE2__
    if (same) {
      // The visual's words are the surface's own bytes: rows are copied
      // (the first byte cleared), no shuffle.
      const __m128i keep = _mm_set1_epi32(static_cast<int>(0xffffff00u));
      for (; i + 4 <= n; i += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + static_cast<size_t>(i) * 4));
        const __m128i q = _mm_and_si128(p, keep);
        __m128i* o = reinterpret_cast<__m128i*>(out + i);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(q, _mm_loadu_si128(o))) == 0xffff) continue;
        _mm_storeu_si128(o, q);
        Note(i, i + 3, first, last);
      }
    }
#endif
#if defined(__x86_64__) || defined(__i386__)
    if (!same && allowAvx2 && CpuFeatures::HasAvx2()) i = ShuffleRowAvx2(in, out, n, from, first, last);
#endif
#ifdef __SSE2__
    // The usual visual, red high and blue low, without AVX2: the bytes
    // reversed, four pixels at a time.
    if (x.redShift == 16 && x.greenShift == 8 && x.blueShift == 0) {
      const __m128i low = _mm_set1_epi32(0xff00), middle = _mm_set1_epi32(0xff0000);
      for (; i + 4 <= n; i += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + static_cast<size_t>(i) * 4));
        const __m128i q =
            _mm_or_si128(_mm_srli_epi32(p, 24), _mm_or_si128(_mm_and_si128(_mm_srli_epi32(p, 8), low),
                                                             _mm_and_si128(_mm_slli_epi32(p, 8), middle)));
        __m128i* o = reinterpret_cast<__m128i*>(out + i);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(q, _mm_loadu_si128(o))) == 0xffff) continue;
        _mm_storeu_si128(o, q);
        Note(i, i + 3, first, last);
      }
    }
#endif
  }
  if (x.littleEndian) {
    const int rs = x.redShift, gs = x.greenShift, bs = x.blueShift;
    for (; i < n; ++i) {
      uint32_t p;
      std::memcpy(&p, in + static_cast<size_t>(i) * 4, 4);
      const uint32_t q = (p >> 8 & 0xff) << rs | (p >> 16 & 0xff) << gs | (p >> 24) << bs;
      if (out[i] == q) continue;
      out[i] = q;
      Note(i, i, first, last);
    }
    return;
  }
  for (; i < n; ++i, in += 4) {
    const uint32_t q = static_cast<uint32_t>(in[1]) << x.redShift | static_cast<uint32_t>(in[2]) << x.greenShift |
                       static_cast<uint32_t>(in[3]) << x.blueShift;
    if (out[i] == q) continue;
    out[i] = q;
    Note(i, i, first, last);
  }
}

}  // namespace platform
