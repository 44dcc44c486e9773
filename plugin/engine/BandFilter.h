#pragma once

#include <memory>

#include "dsp/filters/Filter.h"
#include "plugin/engine/BiquadSection.h"

// One equaliser band for one channel at one sample rate: the design inputs,
// the recipe of the band type (its own sections, or Butterworth designs for
// the "D - " types), up to sixteen cascaded sections with their state, and
// two sets of Butterworth designs.
//
// The band's operations are free functions beside it (DesignBand in
// BandDesign.h; ProcessBandSample, ResetBand, GetBandResponseDB in
// BandProcessing.h), so the members are open to them. Everything the
// per-sample path needs is made by the constructor; designing and
// processing never allocate.
class BandFilter {
 public:
  static constexpr int kMaxStages = 16;
  // Stages that a cut type can run: the order is at most 16, and each
  // second-order stage gives two of it.
  static constexpr int kMaxCutStages = 8;
  static constexpr int kDesignsPerSet = 7;

  // Positions in each design set.
  enum EDesign {
    kDesignBandShelf = 0,
    kDesignHighPass = 1,
    kDesignLowPass = 2,
    kDesignHighShelf = 3,
    kDesignLowShelf = 4,
    kDesignBandPass = 5,
    kDesignBandStop = 6  // made and reset, selected by no band type
  };
  enum EMode { kModeSections = 0, kModeDesigns = 1 };

  BandFilter();
  ~BandFilter();
  BandFilter(const BandFilter&) = delete;
  BandFilter& operator=(const BandFilter&) = delete;

  // Sets the recipe of the type and designs its sections (or sets the
  // designs' parameters). Frequency and type arrive clamped from DesignBand.
  // No section's state is touched, so a running band changes its response
  // without a reset.
  void SetBandFilterType(int type, double frequency, double gain, double q, int slope, double sampleRate);

  // Design inputs, as DesignBand stored them.
  int mType = 0;
  double mFrequency = 0.0;  // Hz, after clamping
  double mGain = 0.0;       // dB; for "A - Peak" with the correction, the peak's own gain
  double mQ = 0.0;
  int mSlope = 0;  // "Slope %d" index; the order is mSlope + 1
  double mSampleRate = 0.0;

  // Recipe.
  int mMode = kModeSections;
  // Section kinds of the distinct sections (mode 0), or the design in set 1
  // (A) and in set 2 (B) (mode 1).
  int mIndexA = 0, mIndexB = 0, mIndexC = 0, mIndexD = 0;
  int mStageCount = 0;
  bool mSkipOddSection = false;  // the order is even: no first-order section
  double mOutputFactor = 1.0;    // linear, "A - Flat Tilt" only
  double mLevelOffsetDb = 0.0;   // added to the response of "A - Flat Tilt"

  BiquadSection mStages[kMaxStages];
  std::unique_ptr<Dsp::Filter> mDesignSet1[kDesignsPerSet];
  std::unique_ptr<Dsp::Filter> mDesignSet2[kDesignsPerSet];
  BiquadSection mCorrection;  // high shelf after "A - Peak" at the process rate
  bool mCorrectionOn = false;
  BiquadSection mOddSection;  // first-order section of odd-order "A - " cuts
};
