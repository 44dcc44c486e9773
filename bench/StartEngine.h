#pragma once

#include "plugin/engine/EqualizerEngine.h"
#include "plugin/engine/FirImpulseBuilder.h"

// Sets the engine up for stereo at rate and block, and in a FIR filter mode
// (1 and up) builds its impulse and primes its convolution as the plug-in
// does when the mode is chosen.
inline void StartEngine(EqualizerEngine& engine, double rate, int block, int filterMode, int osFactor) {
  engine.Setup(rate, block, 2, 2);
  if (filterMode > 0) {
    engine.SetFirLength(FirImpulseBuilder::LengthFor(filterMode, osFactor));
    engine.BuildImpulseResponse();
    engine.UpdateConvolution(true, true);
  }
}
