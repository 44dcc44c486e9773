#include "plugin/engine/EQCurve.h"

#include "plugin/engine/BandProcessing.h"

double GetEQCurveValue(const BandFilter* displayBands, const ParamMirrors& m, double hostSampleRate,
                       double frequency, int channel, int band) {
  const double rate = 2.0 * hostSampleRate;
  if (!displayBands) return 0.0;
  if (band >= 0 && band < kNumBands) return GetBandResponseDB(displayBands[band], frequency, rate);
  // The display may ask for a band it does not have; reading past the bank
  // would return garbage or crash.
  if (band != -1) return 0.0;

  bool anySolo = false;
  for (int b = 0; b < kNumBands; ++b) anySolo = anySolo || m.bandSolo[b] != 0;
  double sum = 0.0;
  for (int b = 0; b < kNumBands; ++b) {
    if (!(m.bandActive[b] > 0)) continue;
    if (anySolo && !(m.bandSolo[b] > 0)) continue;
    if (m.bandChMode[b] == channel || m.bandChMode[b] == 0) sum += GetBandResponseDB(displayBands[b], frequency, rate);
  }
  return sum;
}
