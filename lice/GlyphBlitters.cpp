#include "lice/GlyphBlitters.h"

#include "lice/LICE_Combine.h"

namespace {

template <class Combiner, bool kFullAlpha>
void BlitNormal(const unsigned char* coverage, LICE_pixel* dest, int coverageSpan, int destSpan, int w,
                int h, const GlyphColors& k, int alpha) {
  if (Combiner::kCopy && alpha < 1) return;
  for (int y = 0; y < h; ++y, coverage += coverageSpan, dest += destSpan) {
    for (int x = 0; x < w; ++x) {
      const int c = coverage[x];
      if (!c) continue;
      int weight = c + 1;
      if (!kFullAlpha) {
        weight = c * alpha / 256;
        if (weight > 256) weight = 256;
      }
      Combiner::Plain::Combine(dest + x, k.r, k.g, k.b, 255, weight);
    }
  }
}

template <class Combiner>
void BlitMonochrome(const unsigned char* coverage, LICE_pixel* dest, int coverageSpan, int destSpan,
                    int w, int h, const GlyphColors& k, int alpha) {
  if (Combiner::kCopy && alpha < 1) return;
  for (int y = 0; y < h; ++y, coverage += coverageSpan, dest += destSpan) {
    for (int x = 0; x < w; ++x) {
      if (coverage[x]) Combiner::Plain::Combine(dest + x, k.r, k.g, k.b, 255, alpha);
    }
  }
}

template <class Combiner>
void BlitEffect(const unsigned char* coverage, LICE_pixel* dest, int coverageSpan, int destSpan, int w,
                int h, const GlyphColors& k, int alpha) {
  if (Combiner::kCopy && alpha < 1) return;
  for (int y = 0; y < h; ++y, coverage += coverageSpan, dest += destSpan) {
    for (int x = 0; x < w; ++x) {
      const int c = coverage[x];
      if (!c) continue;
      if (c == 255) {
        Combiner::Plain::Combine(dest + x, k.r, k.g, k.b, 255, alpha);
      } else {
        Combiner::Plain::Combine(dest + x, k.er, k.eg, k.eb, 255, alpha);
      }
    }
  }
}

template <class P, bool kIsCopy = false>
struct Mode {
  typedef P Plain;
  static constexpr bool kCopy = kIsCopy;
};

typedef Mode<LICE_CopyCombiner, true> CopyMode;
typedef Mode<LICE_AddCombiner> AddMode;
typedef Mode<LICE_DodgeCombiner> DodgeMode;
typedef Mode<LICE_MultiplyCombiner> MultiplyMode;
typedef Mode<LICE_OverlayCombiner> OverlayMode;
typedef Mode<LICE_HSVCombiner> HSVMode;

template <class M>
void BlitNormalAnyAlpha(const unsigned char* coverage, LICE_pixel* dest, int coverageSpan, int destSpan,
                        int w, int h, const GlyphColors& k, int alpha) {
  // The weight at full strength is its own loop: coverage + 1 reaches 256.
  if (alpha == 256) {
    BlitNormal<M, true>(coverage, dest, coverageSpan, destSpan, w, h, k, alpha);
  } else {
    BlitNormal<M, false>(coverage, dest, coverageSpan, destSpan, w, h, k, alpha);
  }
}

const GlyphBlitter kBlitters[3][6] = {
    {BlitNormalAnyAlpha<CopyMode>, BlitNormalAnyAlpha<AddMode>, BlitNormalAnyAlpha<DodgeMode>,
     BlitNormalAnyAlpha<MultiplyMode>, BlitNormalAnyAlpha<OverlayMode>, BlitNormalAnyAlpha<HSVMode>},
    {BlitMonochrome<CopyMode>, BlitMonochrome<AddMode>, BlitMonochrome<DodgeMode>,
     BlitMonochrome<MultiplyMode>, BlitMonochrome<OverlayMode>, BlitMonochrome<HSVMode>},
    {BlitEffect<CopyMode>, BlitEffect<AddMode>, BlitEffect<DodgeMode>, BlitEffect<MultiplyMode>,
     BlitEffect<OverlayMode>, BlitEffect<HSVMode>},
};

}  // namespace

GlyphBlitter GetGlyphBlitter(EGlyphFamily family, int mode) {
  if (mode < 0 || mode > 5 || family < kGlyphNormal || family > kGlyphEffect) return nullptr;
  return kBlitters[family][mode];
}
