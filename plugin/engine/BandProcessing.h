#pragma once

#include "plugin/engine/BandFilter.h"

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
