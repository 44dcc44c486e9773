#pragma once

// The seven Butterworth designs and the filter object that runs them.
#include "dsp/filters/FilterDesign.h"
#include "dsp/filters/butterworth/BandPass1.h"
#include "dsp/filters/butterworth/BandShelf1.h"
#include "dsp/filters/butterworth/BandStop1.h"
#include "dsp/filters/butterworth/HighPass.h"
#include "dsp/filters/butterworth/HighShelf.h"
#include "dsp/filters/butterworth/LowPass.h"
#include "dsp/filters/butterworth/LowShelf.h"
