#pragma once

#include <cmath>
#include <complex>
#include <vector>

#include "dsp/filters/butterworth/Butterworth.h"
#include "plugin/engine/BandFilter.h"
#include "plugin/engine/BandProcessing.h"
#include "plugin/engine/BandTypes.h"

// Responses computed here, from the coefficients, by complex evaluation on
// the unit circle: independent of the closed-form magnitude the engine uses.
namespace BandTestSupport {

using Complex = std::complex<double>;
constexpr double kPi = 3.141592653589793;
constexpr double kHalfPowerDb = -3.0102999566398120;  // 10 log10(1/2)

inline double Db(Complex h) { return 20.0 * std::log10(std::abs(h)); }

// Raw coefficients: what the display measures.
inline Complex RawResponse(const BiquadSection& s, double w) {
  const Complex z1 = std::polar(1.0, -w), z2 = std::polar(1.0, -2.0 * w);
  return (s.b0 + s.b1 * z1 + s.b2 * z2) / (s.a0 + s.a1 * z1 + s.a2 * z2);
}

// What the per-sample path really does with the normalised coefficients. A
// first-order section stepped twice on a held input is, at the run rate,
// y[n] = (b0 + b1 - a1 b0) x[n] - a1 b1 x[n-1] + a1^2 y[n-1].
inline Complex RunResponse(const BiquadSection& s, double w) {
  const Complex z1 = std::polar(1.0, -w), z2 = std::polar(1.0, -2.0 * w);
  if (s.kind == 15) {
    return ((s.b0n + s.b1n - s.a1n * s.b0n) - s.a1n * s.b1n * z1) / (1.0 - s.a1n * s.a1n * z1);
  }
  return (s.b0n + s.b1n * z1 + s.b2n * z2) / (1.0 + s.a1n * z1 + s.a2n * z2);
}

inline Complex CascadeResponse(const Dsp::Cascade& cascade, double w) {
  const Complex z1 = std::polar(1.0, -w), z2 = std::polar(1.0, -2.0 * w);
  Complex h(1.0, 0.0);
  for (int i = 0; i < cascade.getNumStages(); ++i) {
    const Dsp::BiquadStage& s = cascade[i];
    h *= (s.b0 + s.b1 * z1 + s.b2 * z2) / (1.0 + s.a1 * z1 + s.a2 * z2);
  }
  return h;
}

// The cascade of a band's design; the design sets hold the seven designs
// in the order of BandFilter::EDesign.
inline const Dsp::Cascade& CascadeOf(const Dsp::Filter& design, int index) {
  namespace D = Dsp::Butterworth::Design;
  switch (index) {
    case BandFilter::kDesignBandShelf: return dynamic_cast<const Dsp::FilterDesignBase<D::BandShelf1<16>>&>(design).getCascade();
    case BandFilter::kDesignHighPass: return dynamic_cast<const Dsp::FilterDesignBase<D::HighPass<16>>&>(design).getCascade();
    case BandFilter::kDesignLowPass: return dynamic_cast<const Dsp::FilterDesignBase<D::LowPass<16>>&>(design).getCascade();
    case BandFilter::kDesignHighShelf: return dynamic_cast<const Dsp::FilterDesignBase<D::HighShelf<16>>&>(design).getCascade();
    case BandFilter::kDesignLowShelf: return dynamic_cast<const Dsp::FilterDesignBase<D::LowShelf<16>>&>(design).getCascade();
    case BandFilter::kDesignBandPass: return dynamic_cast<const Dsp::FilterDesignBase<D::BandPass1<16>>&>(design).getCascade();
    default: return dynamic_cast<const Dsp::FilterDesignBase<D::BandStop1<16>>&>(design).getCascade();
  }
}

inline bool UsesSecondDesign(int type) { return type == kTypeDLowCut || type == kTypeDHighCut || type == kTypeDTiltShelf; }

// The sections a band of each type runs, in order: the recipe of the band
// types, written out here from the type table.
inline std::vector<const BiquadSection*> RunningSections(const BandFilter& band) {
  std::vector<const BiquadSection*> list;
  switch (band.mType) {
    case kTypeAPeak:
      list.push_back(&band.mStages[0]);
      if (band.mCorrectionOn) list.push_back(&band.mCorrection);
      break;
    case kTypeALowCut:
    case kTypeAHighCut:
      if ((band.mSlope + 1) % 2 == 1) list.push_back(&band.mOddSection);
      for (int k = 0; k < (band.mSlope + 1) / 2; ++k) list.push_back(&band.mStages[k]);
      break;
    case kTypeATiltShelf: list = {&band.mStages[0], &band.mStages[1]}; break;
    case kTypeAFlatTilt: list = {&band.mStages[0], &band.mStages[1], &band.mStages[2], &band.mStages[3]}; break;
    case kTypeABandPass:
    case kTypeANotch:
      for (int k = 0; k < band.mSlope + 1; ++k) list.push_back(&band.mStages[k]);
      break;
    default: list.push_back(&band.mStages[0]); break;
  }
  return list;
}

// The band's response at w (radians per sample) as the per-sample path
// computes it (run = true) or as the display measures it from the raw
// coefficients, a twice-stepped section at half the frequency (run = false).
inline Complex BandResponse(const BandFilter& band, double w, bool run) {
  if (band.mMode == BandFilter::kModeDesigns) {
    Complex h = CascadeResponse(CascadeOf(*band.mDesignSet1[band.mIndexA], band.mIndexA), w);
    if (UsesSecondDesign(band.mType)) h *= CascadeResponse(CascadeOf(*band.mDesignSet2[band.mIndexB], band.mIndexB), w);
    return h;
  }
  Complex h(1.0, 0.0);
  for (const BiquadSection* s : RunningSections(band)) {
    h *= run ? RunResponse(*s, w) : RawResponse(*s, s->kind == 15 ? w / 2 : w);
  }
  if (band.mType == kTypeAFlatTilt) h *= band.mOutputFactor;
  return h;
}

// A steady sine through the per-sample path: after a second of settling,
// one second of output correlated with the input over whole cycles gives
// the complex gain at the frequency (an integer number of Hz).
inline Complex MeasureWithSine(BandFilter& band, double frequencyHz, double sampleRate) {
  const int n = static_cast<int>(sampleRate);
  const double w = 2.0 * kPi * frequencyHz / sampleRate;
  for (int i = 0; i < n; ++i) ProcessBandSample(band, std::sin(w * i));
  Complex in(0.0, 0.0), out(0.0, 0.0);
  for (int i = n; i < 2 * n; ++i) {
    const double x = std::sin(w * i);
    const Complex e = std::polar(1.0, -w * i);
    in += x * e;
    out += ProcessBandSample(band, x) * e;
  }
  return out / in;
}

}  // namespace BandTestSupport
