#include "dsp/Levels.h"

#include <cmath>

namespace Levels {

double DbToAmp(double db) { return std::exp(db * kDbToLog); }

double AmpToDb(double amplitude) {
  if (!(amplitude > kSilenceAmplitude)) return kSilenceDb;
  return std::log(amplitude) * kLogToDb;
}

double TimeConstantCoefficient(double seconds, double sampleRate) {
  return std::pow(10.0, -1.0 / (seconds * sampleRate));
}

}  // namespace Levels
