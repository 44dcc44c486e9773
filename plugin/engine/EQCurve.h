#pragma once

#include "plugin/engine/BandFilter.h"
#include "plugin/engine/ParamMirrors.h"

// The EQ curve the display draws, in dB at a frequency in Hz, read from the
// display bank (twelve bands designed at twice the host rate).
//
// band 0..11: that band's response, whether or not it is active.
// band -1: the sum over the active bands that sound on this channel (their
// ChMode equals channel, or is "All"); while any band is soloed, only the
// soloed ones count. channel is a "ChMode %d" value, 0 "All" .. 4 "Side".
// Any other band index gives 0.0.
//
// Reads coefficients only, so the display may call it between designs; it
// must not overlap a design of the display bank.
double GetEQCurveValue(const BandFilter* displayBands, const ParamMirrors& mirrors, double hostSampleRate,
                       double frequency, int channel, int band);
