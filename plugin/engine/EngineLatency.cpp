#include "plugin/engine/EngineLatency.h"

#include "dsp/resampler/BlockConvolver.h"

int CalcLatency(int converterLatency, int osFactor, int filterMode, int firLatency, int zeroLatencyDelay) {
  if (filterMode < 0) return converterLatency;
  const int factor = osFactor > 0 ? osFactor : 1;
  const int filterPart = filterMode == 0 ? zeroLatencyDelay : firLatency;
  return converterLatency + filterPart / factor;
}

bool HostTakesLatencyAtOnce(int hostId) {
  switch (hostId) {
    case 26:  // StudioOne
    case 7:   // FLStudio
    case 32:  // Waveform
    case 40:  // Sadie
    case 21:  // Logic
      return true;
    default: return false;
  }
}

int CalcConverterLatency(const Resampler& down, int osFactor) {
  if (osFactor != 2 && osFactor != 4) return 0;
  // Walked from the output back to the input, each step in samples at the
  // stage's input rate: a halving stage's input runs at twice the rate of
  // what follows it, a doubling stage's at half. Integer divisions
  // truncate, as the host is told whole samples.
  int latency = down.interpolator ? 15 : 0;
  for (int s = down.numStages - 1; s >= 0; --s) {
    const BlockConvolver* stage = down.stages[s];
    if (!stage) continue;
    switch (stage->mode) {
      case kConvolveFilter: latency += stage->dropCount; break;
      case kConvolveHalve: latency = stage->dropCount + 2 * latency; break;
      default: latency = (stage->dropCount + latency) / 2; break;
    }
  }
  // The walk counts the down-converter alone, at the processing rate;
  // twice that (the up-converter mirrors it) in host samples is the walk
  // itself at 2x and half of it at 4x.
  if (osFactor == 4) latency /= 2;
  return latency;
}
