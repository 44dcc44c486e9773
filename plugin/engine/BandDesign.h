#pragma once

#include "plugin/engine/BandFilter.h"
#include "plugin/engine/BiquadSection.h"

// Stores a band's inputs and designs it. Types outside 0..16 are designed as
// "A - Peak"; the frequency is clamped to 10 Hz .. 0.495 x sampleRate.
// noCorrection leaves out the high-frequency correction of "A - Peak". Only
// the process banks at 1x want it; the display and FIR-builder banks and the
// oversampled process banks pass true. Section state is kept.
void DesignBand(BandFilter& band, int type, double frequency, double gain, double q, int slope, double sampleRate,
                bool noCorrection);

// Sets the kind and the raw and normalised coefficients of a section
// (frequency in Hz, gain in dB); the state is untouched. A design whose a0
// comes out 0 or NaN keeps all-zero coefficients (a0n 1), so the section
// passes only the denormal offset instead of poisoning the audio with NaN.
void DesignBiquad(BiquadSection& section, int kind, double frequency, double gain, double q, double sampleRate);

// Q-correction factor of the notch for row 0..22040 (the frequency
// 10 + row Hz at 44100 Hz), to three decimals. Rows outside are clamped.
double NotchQCorrection(int row);
