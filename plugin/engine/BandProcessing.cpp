#include "plugin/engine/BandProcessing.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "dsp/Levels.h"
#include "plugin/engine/BandTypes.h"

namespace {

double DesignResponseDB(const Dsp::Filter& design, double frequency, double sampleRate) {
  return Levels::AmpToDb(std::abs(design.response(frequency / sampleRate)));
}

}  // namespace

double ProcessBandSample(BandFilter& band, double input) {
  if (band.mMode == BandFilter::kModeDesigns) {
    double sample = input;
    double* channels[1] = {&sample};
    band.mDesignSet1[band.mIndexA]->process(1, channels);
    if (BandUsesSecondDesign(band.mType)) band.mDesignSet2[band.mIndexB]->process(1, channels);
    return sample;
  }
  if (band.mMode != BandFilter::kModeSections) return input;
  double y = input;
  ForEachRunningSection(band, [&y](BiquadSection& s) { y = ProcessBiquadSample(s, y); });
  if (band.mType == kTypeAFlatTilt) y *= band.mOutputFactor;
  return y;
}

void ResetBand(BandFilter& band) {
  for (BiquadSection& s : band.mStages) ClearBiquadState(s);
  ClearBiquadState(band.mCorrection);
  ClearBiquadState(band.mOddSection);
  for (auto& design : band.mDesignSet1) design->reset();
  for (auto& design : band.mDesignSet2) design->reset();
}

double GetBandResponseDB(const BandFilter& band, double frequency, double sampleRate) {
  const double f = std::min(frequency, 0.5 * sampleRate - 1.0);
  if (band.mMode == BandFilter::kModeDesigns) {
    double db = DesignResponseDB(*band.mDesignSet1[band.mIndexA], f, sampleRate);
    if (BandUsesSecondDesign(band.mType)) db += DesignResponseDB(*band.mDesignSet2[band.mIndexB], f, sampleRate);
    return db;
  }
  if (band.mMode != BandFilter::kModeSections) return 0.0;
  double db = 0.0;
  ForEachRunningSection(band, [&](const BiquadSection& s) { db += GetBiquadResponseDB(s, f, sampleRate); });
  if (band.mType == kTypeAFlatTilt) db += band.mLevelOffsetDb;
  return db;
}
