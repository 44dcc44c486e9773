#pragma once

#include "plugin/engine/BandFilter.h"
#include "plugin/engine/BandTypes.h"

// The run-time operations of a band. None takes a lock: the owner
// serialises designing, processing and response reads.

// One sample through the band: its sections in order, or its one or two
// Butterworth designs. No allocation, at most sixteen section steps.
double ProcessBandSample(BandFilter& band, double input);

// Clears every section's and every design's state; coefficients stay.
void ResetBand(BandFilter& band);

// Magnitude in dB at a frequency in Hz, over exactly what ProcessBandSample
// runs. Frequencies at or above half the rate are read at 0.5 x rate - 1 Hz.
double GetBandResponseDB(const BandFilter& band, double frequency, double sampleRate);

// Whether a "D - " type runs a design of the second set after the first.
constexpr bool BandUsesSecondDesign(int type) {
  return type == kTypeDLowCut || type == kTypeDHighCut || type == kTypeDTiltShelf;
}

// Calls visit(section) for each section a band in section mode runs, in
// running order: what ProcessBandSample steps, GetBandResponseDB measures
// and the block cascade packs.
template <class Band, class Visit>
void ForEachRunningSection(Band& band, Visit visit) {
  switch (band.mType) {
    case kTypeAPeak:
      visit(band.mStages[0]);
      if (band.mCorrectionOn) visit(band.mCorrection);
      break;
    case kTypeALowCut:
    case kTypeAHighCut:
      if (!band.mSkipOddSection) visit(band.mOddSection);
      for (int k = 0; k < BandFilter::kMaxCutStages && k < band.mStageCount; ++k) visit(band.mStages[k]);
      break;
    case kTypeATiltShelf:
      visit(band.mStages[0]);
      visit(band.mStages[1]);
      break;
    case kTypeAFlatTilt:
      for (int k = 0; k < 4; ++k) visit(band.mStages[k]);
      break;
    case kTypeABandPass:
    case kTypeANotch:
      for (int k = 0; k < BandFilter::kMaxStages && k < band.mStageCount; ++k) visit(band.mStages[k]);
      break;
    default: visit(band.mStages[0]); break;
  }
}
