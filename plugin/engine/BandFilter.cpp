#include "plugin/engine/BandFilter.h"

#include <algorithm>
#include <cmath>

#include "dsp/Levels.h"
#include "dsp/filters/butterworth/Butterworth.h"
#include "plugin/engine/BandDesign.h"
#include "plugin/engine/BandProcessing.h"
#include "plugin/engine/BandTypes.h"

namespace {

using namespace Dsp::Butterworth::Design;

template <class Design>
std::unique_ptr<Dsp::Filter> Make() {
  return std::make_unique<Dsp::FilterDesign<Design, 1, Dsp::DirectFormII>>();
}

void MakeDesignSet(std::unique_ptr<Dsp::Filter> (&set)[BandFilter::kDesignsPerSet]) {
  set[BandFilter::kDesignBandShelf] = Make<BandShelf1<16>>();
  set[BandFilter::kDesignHighPass] = Make<HighPass<16>>();
  set[BandFilter::kDesignLowPass] = Make<LowPass<16>>();
  set[BandFilter::kDesignHighShelf] = Make<HighShelf<16>>();
  set[BandFilter::kDesignLowShelf] = Make<LowShelf<16>>();
  set[BandFilter::kDesignBandPass] = Make<BandPass1<16>>();
  set[BandFilter::kDesignBandStop] = Make<BandStop1<16>>();
}

// Sample rate, order, frequency, then the width or a shelf's gain, then a
// band shelf's gain; the designs ignore what lies past their parameter count.
void SetDesign(Dsp::Filter& design, double sampleRate, int order, double frequency, double fourth = 0.0,
               double fifth = 0.0) {
  design.setParams({sampleRate, static_cast<double>(order), frequency, fourth, fifth, 0.0, 0.0, 0.0});
}

// The resonance of the "D - " cuts: a first-order band shelf at the cut-off
// whose gain is the Q relative to 0.7 in dB. At the gentlest slope a Q
// below 0.7 would dip the corner, so it is held at 0.7 (0 dB).
void SetCutResonance(Dsp::Filter& design, double sampleRate, double frequency, double q, int slope) {
  const double resonanceQ = slope == 0 ? std::fmax(q, 0.7) : q;
  const double widthScale = slope >= 1 ? slope : 1.0;
  const double gainDb = Levels::AmpToDb(std::fabs(resonanceQ / 0.7));
  SetDesign(design, sampleRate, 1, frequency, widthScale * std::sqrt(resonanceQ), gainDb);
}

// "A - Flat Tilt": a fixed pair of shelves at 1 kHz tilts the spectrum, a
// low shelf at 33 Hz and a high shelf at 10.5 kHz shape its ends. The top
// shelf's share and Q depend on how far the rate puts Nyquist above it.
void DesignFlatTilt(BandFilter& band, double gain, double sampleRate) {
  double topShare = 0.85, topQ = 0.55;
  if (sampleRate <= 44100.0) {
    topShare = 0.75;
    topQ = 0.46;
  } else if (sampleRate <= 48000.0) {
    topShare = 0.8;
    topQ = 0.48;
  }
  // Held below Nyquist as band frequencies are: at low rates 10.5 kHz would
  // alias, or turn the shelf's poles unstable.
  const double highest = 0.99 * (0.5 * sampleRate);
  DesignBiquad(band.mStages[0], band.mIndexA, std::min(1000.0, highest), gain, 0.36, sampleRate);
  DesignBiquad(band.mStages[1], band.mIndexB, std::min(1000.0, highest), -gain, 0.36, sampleRate);
  DesignBiquad(band.mStages[2], band.mIndexC, std::min(33.0, highest), -2.0 * gain, 0.38, sampleRate);
  DesignBiquad(band.mStages[3], band.mIndexD, std::min(10500.0, highest), topShare * gain, topQ, sampleRate);
}

}  // namespace

BandFilter::BandFilter() {
  MakeDesignSet(mDesignSet1);
  MakeDesignSet(mDesignSet2);
  mCorrectionOn = false;
  ResetBand(*this);
}

BandFilter::~BandFilter() = default;

void BandFilter::SetBandFilterType(int type, double frequency, double gain, double q, int slope, double sampleRate) {
  if (type < 0 || type > kBandGainStage) type = kTypeAPeak;
  const int order = slope + 1;
  mIndexA = mIndexB = mIndexC = mIndexD = 0;
  mStageCount = slope;
  mSkipOddSection = order % 2 == 0;
  mOutputFactor = 1.0;
  mLevelOffsetDb = 0.0;
  mMode = type >= kTypeDPeak && type <= kTypeDBandPass ? kModeDesigns : kModeSections;

  switch (type) {
    case kTypeAPeak: mIndexA = kSectionMatchedPeak; mStageCount = 0; break;
    case kTypeALowCut:
      mIndexA = kSectionMatchedHighPass;
      mIndexB = kSectionHighPass1;
      mStageCount = order / 2;
      break;
    case kTypeAHighCut:
      mIndexA = kSectionMatchedLowPass;
      mIndexB = kSectionLowPass1Twice;
      mStageCount = order / 2;
      break;
    case kTypeALowShelf: mIndexA = kSectionLowShelf; mStageCount = 0; break;
    case kTypeAHighShelf: mIndexA = kSectionHighShelf; mStageCount = 0; break;
    case kTypeATiltShelf:
      mIndexA = kSectionHighShelf;
      mIndexB = kSectionLowShelf;
      mStageCount = 0;
      break;
    case kTypeAFlatTilt:
      mIndexA = kSectionHighShelf;
      mIndexB = kSectionLowShelf;
      mIndexC = kSectionLowShelf;
      mIndexD = kSectionHighShelf;
      mStageCount = 0;
      break;
    case kTypeABandPass: mIndexA = kSectionMatchedBandPass; mStageCount = order; break;
    case kTypeANotch: mIndexA = kSectionNotch; mStageCount = order; break;
    case kBandGainStage: mIndexA = kSectionGain; mStageCount = 0; break;

    // Mode 1. The "D - Peak" width is Q / 0.7, so the default Q of 0.7 puts
    // the band edges an octave either side of the centre.
    case kTypeDPeak:
      mIndexA = kDesignBandShelf;
      SetDesign(*mDesignSet1[mIndexA], sampleRate, order, frequency, q / 0.7, gain);
      break;
    case kTypeDLowCut:
    case kTypeDHighCut:
      mIndexA = type == kTypeDLowCut ? kDesignHighPass : kDesignLowPass;
      mIndexB = kDesignBandShelf;
      SetDesign(*mDesignSet1[mIndexA], sampleRate, order, frequency);
      SetCutResonance(*mDesignSet2[mIndexB], sampleRate, frequency, q, slope);
      break;
    case kTypeDLowShelf:
      mIndexA = kDesignLowShelf;
      SetDesign(*mDesignSet1[mIndexA], sampleRate, order, frequency, gain);
      break;
    case kTypeDHighShelf:
      mIndexA = kDesignHighShelf;
      SetDesign(*mDesignSet1[mIndexA], sampleRate, order, frequency, gain);
      break;
    case kTypeDTiltShelf:
      mIndexA = kDesignLowShelf;
      mIndexB = kDesignHighShelf;
      SetDesign(*mDesignSet1[mIndexA], sampleRate, order, frequency, -gain);
      SetDesign(*mDesignSet2[mIndexB], sampleRate, order, frequency, gain);
      break;
    case kTypeDBandPass:
      mIndexA = kDesignBandPass;
      SetDesign(*mDesignSet1[mIndexA], sampleRate, order, frequency, q);
      break;
    default: break;
  }
  if (mMode != kModeSections) return;

  if (type == kTypeAFlatTilt) {
    DesignFlatTilt(*this, gain, sampleRate);
    // The tilt pivots at 1 kHz; the level offset moves the pivot to the
    // band's frequency (4/3 of the gain per decade).
    mLevelOffsetDb = (3.0 - std::log10(frequency)) * 1.3333333333333333 * gain;
    mOutputFactor = mLevelOffsetDb <= Levels::kSilenceDb ? 0.0 : Levels::DbToAmp(mLevelOffsetDb);
    return;
  }

  // Every stage is a copy of stage 0, same Q included: the steep "A - " cuts
  // are resonant cascades of one section, not Butterworth cascades.
  DesignBiquad(mStages[0], mIndexA, frequency, gain, q, sampleRate);
  const int copies = type == kTypeABandPass || type == kTypeANotch ? kMaxStages : kMaxCutStages;
  for (int k = 1; k < copies; ++k) CopyBiquadDesign(mStages[0], mStages[k]);

  if (type == kTypeATiltShelf) {
    DesignBiquad(mStages[1], mIndexB, frequency, -gain, q, sampleRate);
  } else if (type == kTypeALowCut || type == kTypeAHighCut) {
    DesignBiquad(mOddSection, mIndexB, frequency, gain, q, sampleRate);
  }
}
