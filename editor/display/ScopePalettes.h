#pragma once

#include "graphics/IColor.h"

// The colour of a frequency, shared by the guide ranges, the band curves
// and the band handles: eight hues spread evenly over ln f from 10 Hz
// (anchor 0, also used below it) to 22 kHz, blended linearly between
// neighbours; past the eighth the blend returns towards the first.
IColor FrequencyPaletteColor(double frequencyHz, int alpha);

// The colour strips' ramp over t in 0..1 (clamped): black, blue, yellow,
// green, red in four equal parts. The first part also fades in from alpha
// 0 to 128; the others have alpha 128.
IColor SpectrogramRampColor(double t);
