// Four pixels a step with SSE2, which every x86-64 processor has; the
// leftover pixels (and every pixel elsewhere) go through the combiner
// itself. All lane arithmetic is the combiner's integer arithmetic: the
// products of a channel difference and a weight stay below 2^16, so they
// are exact in 16-bit lanes, and the division by 256 truncates toward zero
// by dividing the magnitude and restoring the sign.

#include "lice/PixelRows.h"

#include "lice/LICE_Combine.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "dsp/convolution/CpuFeatures.h"

namespace {

#ifdef __SSE2__

inline __m128i Load(const LICE_pixel* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(LICE_pixel* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// c + (d - c) * k / 256 per 16-bit lane, the quotient truncated toward zero;
// d and c are 0..255 and k * |d - c| < 2^16.
inline __m128i BlendLanes(__m128i d, __m128i c, __m128i k) {
  const __m128i diff = _mm_sub_epi16(d, c);
  const __m128i negative = _mm_cmpgt_epi16(_mm_setzero_si128(), diff);
  const __m128i magnitude = _mm_sub_epi16(_mm_xor_si128(diff, negative), negative);
  const __m128i q = _mm_srli_epi16(_mm_mullo_epi16(magnitude, k), 8);
  return _mm_add_epi16(c, _mm_sub_epi16(_mm_xor_si128(q, negative), negative));
}

#endif

}  // namespace

void LICE_RowStore(LICE_pixel* dest, int w, LICE_pixel color) {
  int x = 0;
#ifdef __SSE2__
  const __m128i c = _mm_set1_epi32(static_cast<int>(color));
  for (; x + 4 <= w; x += 4) Store(dest + x, c);
#endif
  for (; x < w; ++x) dest[x] = color;
}

#ifdef __SSE2__
namespace {

// The whole-word shortcuts and the copy combiner with a constant colour as
// operations on four pixels in one register.
struct QuarterLanes {
  explicit QuarterLanes(LICE_pixel color)
      : c(_mm_set1_epi32(static_cast<int>((color >> 2) & 0x3f3f3f3fu))),
        m2(_mm_set1_epi32(0x3f3f3f3f)),
        m1(_mm_set1_epi32(0x7f7f7f7f)) {}
  __m128i operator()(__m128i d) const {
    const __m128i quarter = _mm_and_si128(_mm_srli_epi32(d, 2), m2);
    const __m128i half = _mm_and_si128(_mm_srli_epi32(d, 1), m1);
    return _mm_add_epi32(_mm_add_epi32(quarter, half), c);
  }
  __m128i c, m2, m1;
};

struct HalfLanes {
  explicit HalfLanes(LICE_pixel color)
      : c(_mm_set1_epi32(static_cast<int>((color >> 1) & 0x7f7f7f7fu))), m1(_mm_set1_epi32(0x7f7f7f7f)) {}
  __m128i operator()(__m128i d) const { return _mm_add_epi32(_mm_and_si128(_mm_srli_epi32(d, 1), m1), c); }
  __m128i c, m1;
};

struct ThreeQuarterLanes {
  explicit ThreeQuarterLanes(LICE_pixel color)
      : c(_mm_set1_epi32(static_cast<int>(((color >> 2) & 0x3f3f3f3fu) + ((color >> 1) & 0x7f7f7f7fu)))),
        m2(_mm_set1_epi32(0x3f3f3f3f)) {}
  __m128i operator()(__m128i d) const { return _mm_add_epi32(_mm_and_si128(_mm_srli_epi32(d, 2), m2), c); }
  __m128i c, m2;
};

// Integer alpha 1..255 only.
struct CopyBlendLanes {
  CopyBlendLanes(LICE_pixel color, int alpha)
      : c(_mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), _mm_setzero_si128())),
        k(_mm_set1_epi16(static_cast<short>(256 - alpha))) {}
  __m128i operator()(__m128i d) const {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = BlendLanes(_mm_unpacklo_epi8(d, zero), c, k);
    const __m128i hi = BlendLanes(_mm_unpackhi_epi8(d, zero), c, k);
    return _mm_packus_epi16(lo, hi);
  }
  __m128i c, k;
};

// A row four pixels a step; answers how many it did.
template <class Lanes>
int RowLanes(LICE_pixel* dest, int w, const Lanes& op) {
  int x = 0;
  for (; x + 4 <= w; x += 4) Store(dest + x, op(Load(dest + x)));
  return x;
}

// A column four rows a step, the rows' pixels gathered into one register
// and put back; answers how many rows it did.
template <class Lanes>
int ColumnLanes(LICE_pixel* dest, ptrdiff_t step, int n, const Lanes& op) {
  int y = 0;
  for (; y + 4 <= n; y += 4, dest += 4 * step) {
    LICE_pixel* const p1 = dest + step;
    LICE_pixel* const p2 = p1 + step;
    LICE_pixel* const p3 = p2 + step;
    const __m128i d01 = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(*dest)),
                                           _mm_cvtsi32_si128(static_cast<int>(*p1)));
    const __m128i d23 = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(*p2)),
                                           _mm_cvtsi32_si128(static_cast<int>(*p3)));
    const __m128i r = op(_mm_unpacklo_epi64(d01, d23));
    *dest = static_cast<LICE_pixel>(_mm_cvtsi128_si32(r));
    *p1 = static_cast<LICE_pixel>(_mm_cvtsi128_si32(_mm_shuffle_epi32(r, 1)));
    *p2 = static_cast<LICE_pixel>(_mm_cvtsi128_si32(_mm_shuffle_epi32(r, 2)));
    *p3 = static_cast<LICE_pixel>(_mm_cvtsi128_si32(_mm_shuffle_epi32(r, 3)));
  }
  return y;
}

}  // namespace
#endif

void LICE_RowQuarter(LICE_pixel* dest, int w, LICE_pixel color) {
  int x = 0;
#ifdef __SSE2__
  x = RowLanes(dest, w, QuarterLanes(color));
#endif
  for (; x < w; ++x) LICE_QuarterWord::Apply(dest + x, color, 64);
}

void LICE_RowHalf(LICE_pixel* dest, int w, LICE_pixel color) {
  int x = 0;
#ifdef __SSE2__
  x = RowLanes(dest, w, HalfLanes(color));
#endif
  for (; x < w; ++x) LICE_HalfWord::Apply(dest + x, color, 128);
}

void LICE_RowThreeQuarter(LICE_pixel* dest, int w, LICE_pixel color) {
  int x = 0;
#ifdef __SSE2__
  x = RowLanes(dest, w, ThreeQuarterLanes(color));
#endif
  for (; x < w; ++x) LICE_ThreeQuarterWord::Apply(dest + x, color, 192);
}

void LICE_RowCopyBlend(LICE_pixel* dest, int w, LICE_pixel color, int alpha) {
  int x = 0;
#ifdef __SSE2__
  if (alpha >= 1 && alpha <= 255) x = RowLanes(dest, w, CopyBlendLanes(color, alpha));
#endif
  for (; x < w; ++x) LICE_CopyCombiner::Apply(dest + x, color, alpha);
}

void LICE_ColumnQuarter(LICE_pixel* dest, ptrdiff_t step, int n, LICE_pixel color) {
  int y = 0;
#ifdef __SSE2__
  y = ColumnLanes(dest, step, n, QuarterLanes(color));
#endif
  for (dest += y * step; y < n; ++y, dest += step) LICE_QuarterWord::Apply(dest, color, 64);
}

void LICE_ColumnHalf(LICE_pixel* dest, ptrdiff_t step, int n, LICE_pixel color) {
  int y = 0;
#ifdef __SSE2__
  y = ColumnLanes(dest, step, n, HalfLanes(color));
#endif
  for (dest += y * step; y < n; ++y, dest += step) LICE_HalfWord::Apply(dest, color, 128);
}

void LICE_ColumnThreeQuarter(LICE_pixel* dest, ptrdiff_t step, int n, LICE_pixel color) {
  int y = 0;
#ifdef __SSE2__
  y = ColumnLanes(dest, step, n, ThreeQuarterLanes(color));
#endif
  for (dest += y * step; y < n; ++y, dest += step) LICE_ThreeQuarterWord::Apply(dest, color, 192);
}

void LICE_ColumnCopyBlend(LICE_pixel* dest, ptrdiff_t step, int n, LICE_pixel color, int alpha) {
  int y = 0;
#ifdef __SSE2__
  if (alpha >= 1 && alpha <= 255) y = ColumnLanes(dest, step, n, CopyBlendLanes(color, alpha));
#endif
  for (dest += y * step; y < n; ++y, dest += step) LICE_CopyCombiner::Apply(dest, color, alpha);
}

#ifdef __SSE2__
namespace {

// Four source-alpha copies: the colour blends toward the destination by
// keep(a) / 256, the alpha byte adds add(a) up to 255, a transparent source
// pixel leaves the destination as it is. Weights gives (keep, add) from the
// alpha bytes copied to every lane of their pixel.
template <class Weights>
inline __m128i SourceAlphaBlend4(__m128i s, __m128i d, __m128i transparent, Weights weights) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i max255 = _mm_set1_epi16(255);
  // Lane 0 of each pixel (its alpha byte) takes the coverage sum, the colour
  // lanes the blend.
  const __m128i alphaLanes = _mm_set_epi16(0, 0, 0, -1, 0, 0, 0, -1);
  __m128i halves[2];
  for (int part = 0; part < 2; ++part) {
    const __m128i sw = part ? _mm_unpackhi_epi8(s, zero) : _mm_unpacklo_epi8(s, zero);
    const __m128i dw = part ? _mm_unpackhi_epi8(d, zero) : _mm_unpacklo_epi8(d, zero);
    const __m128i sa = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sw, 0), 0);
    __m128i keep, add;
    weights(sa, &keep, &add);
    const __m128i colour = BlendLanes(dw, sw, keep);
    const __m128i coverage = _mm_min_epi16(_mm_add_epi16(dw, add), max255);
    halves[part] = _mm_or_si128(_mm_and_si128(alphaLanes, coverage), _mm_andnot_si128(alphaLanes, colour));
  }
  const __m128i blended = _mm_packus_epi16(halves[0], halves[1]);
  return _mm_or_si128(_mm_and_si128(transparent, d), _mm_andnot_si128(transparent, blended));
}

}  // namespace
#endif

#ifdef __SSE2__
namespace {

// Four pixels of the source-alpha copy at 256. Opaque groups are stored and
// transparent ones skipped without touching the destination. Others blend
// by 255 - a and add a to the alpha byte, which for a = 255 gives the
// source itself, as the combiner stores it.
inline void CopySourceAlpha256Group(LICE_pixel* dest, __m128i s) {
  const __m128i alphaByte = _mm_set1_epi32(0xff);
  const __m128i a = _mm_and_si128(s, alphaByte);
  if (_mm_movemask_epi8(_mm_cmpeq_epi32(a, alphaByte)) == 0xffff) {
    Store(dest, s);
    return;
  }
  const __m128i transparent = _mm_cmpeq_epi32(a, _mm_setzero_si128());
  if (_mm_movemask_epi8(transparent) == 0xffff) return;
  const __m128i max255 = _mm_set1_epi16(255);
  const auto weights = [max255](__m128i sa, __m128i* keep, __m128i* add) {
    *keep = _mm_sub_epi16(max255, sa);
    *add = sa;
  };
  Store(dest, SourceAlphaBlend4(s, Load(dest), transparent, weights));
}

#if defined(__x86_64__) || defined(__i386__)
// Eight pixels a step: an opaque group (a plain copy) or a transparent one
// (nothing) costs one test; the rest go four at a time as above.
__attribute__((target("avx2"))) int RowCopySourceAlpha256Avx2(LICE_pixel* dest, const LICE_pixel* src, int w) {
  const __m256i alphaBytes = _mm256_set1_epi32(0xff);
  int x = 0;
  for (; x + 8 <= w; x += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + x));
    if (_mm256_testc_si256(s, alphaBytes)) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + x), s);
    } else if (!_mm256_testz_si256(s, alphaBytes)) {
      CopySourceAlpha256Group(dest + x, _mm256_castsi256_si128(s));
      CopySourceAlpha256Group(dest + x + 4, _mm256_extracti128_si256(s, 1));
    }
  }
  return x;
}
#endif

}  // namespace
#endif

void LICE_RowCopySourceAlpha256(LICE_pixel* dest, const LICE_pixel* src, int w) {
  int x = 0;
#ifdef __SSE2__
#if defined(__x86_64__) || defined(__i386__)
  if (w >= 8 && CpuFeatures::HasAvx2()) x = RowCopySourceAlpha256Avx2(dest, src, w);
#endif
  for (; x + 4 <= w; x += 4) CopySourceAlpha256Group(dest + x, Load(src + x));
#endif
  for (; x < w; ++x) LICE_CopySourceAlpha256Combiner::Apply(dest + x, src[x], 256);
}

void LICE_RowCopySourceAlpha(LICE_pixel* dest, const LICE_pixel* src, int w, int alpha) {
  int x = 0;
#ifdef __SSE2__
  if (alpha >= 1 && alpha <= 255) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaByte = _mm_set1_epi32(0xff);
    const __m128i ia = _mm_set1_epi16(static_cast<short>(alpha));
    const __m128i one = _mm_set1_epi16(1);
    const __m128i full = _mm_set1_epi16(256);
    // ((a + 1) * alpha) / 256 <= 255, the product below 2^16.
    const auto weights = [=](__m128i sa, __m128i* keep, __m128i* add) {
      *add = _mm_srli_epi16(_mm_mullo_epi16(_mm_add_epi16(sa, one), ia), 8);
      *keep = _mm_sub_epi16(full, *add);
    };
    for (; x + 4 <= w; x += 4) {
      const __m128i s = Load(src + x);
      const __m128i transparent = _mm_cmpeq_epi32(_mm_and_si128(s, alphaByte), zero);
      if (_mm_movemask_epi8(transparent) == 0xffff) continue;
      Store(dest + x, SourceAlphaBlend4(s, Load(dest + x), transparent, weights));
    }
  }
#endif
  for (; x < w; ++x) LICE_CopySourceAlphaCombiner::Apply(dest + x, src[x], alpha);
}
