#pragma once

#include "plugin/engine/ParamIndex.h"

// The plug-in's working copy of every parameter value: the engine and the
// display read these, never the IParam objects. Only the parameter-change
// handler writes them (with its rounding: Gain to 0.01, Freq and Q to 0.001,
// "DBOffset" and "Ref AGV" to 0.1, enumerations truncated); tests of the
// engine set them directly. The initialisers are the parameters' defaults:
// the parameter table is built from a default-constructed set.
//
// Enumerations and switches hold the integer value, doubles the value in
// the parameter's unit. The one exception is osFactor, which holds the
// oversampling factor (1, 2 or 4), not the "OS Mode" index.
struct ParamMirrors {
  int guiScaleIdx = 2;  // "100%"
  int osFactor = 1;
  int abEnabled = 1;
  int hold = 0;
  int filterMode = 0;  // "Zero Latency"
  int analyzerMode = 0;
  int phase = 0;
  double outputGainDb = 0.0;

  // Per band, in band order.
  int bandActive[kNumBands] = {};
  int bandType[kNumBands] = {};    // "A - Peak"
  int bandChMode[kNumBands] = {};  // "All"
  double bandGain[kNumBands] = {};  // dB
  double bandFreq[kNumBands] = {30.0, 50.0, 80.0, 100.0, 250.0, 500.0, 1000.0, 2000.0, 4000.0, 8000.0, 14000.0, 18000.0};
  double bandQ[kNumBands] = {0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7};
  int bandSlope[kNumBands] = {};  // " 6 dB"
  int bandSolo[kNumBands] = {};

  int preFilterSpectrum = 1;
  int postFilterSpectrum = 1;
  double fScalePercent = 100.0;
  double fOffsetPercent = 30.0;
  double gScalePercent = 100.0;
  double dbOffsetDb = 0.0;
  double spectrumSlope = 0.0;  // display tilt, in the "Slope" parameter's unit
  int showReference = 0;
  double refAGVDb = 0.0;
  int analyzerShowGrid = 1;
  double analyzerSpeedMs = 1000.0;
  int showAddEQCurves = 1;
  int showMusicalNote = 0;
  int eqCheatSheet = 0;
  int largeScope = 0;
  int linkEQ = 1;
  double eqScalePercent = 100.0;
  // "Show Curve All", "Left", "Right", "Mid", "Side": indexed by channel mode.
  int showCurve[5] = {1, 0, 0, 0, 0};
  int smoothSpectrumCurve = 0;
  int showOnlySelectedCurve = 0;
  int showMax = 0;
  int hiResAnalyzer = 0;
  int frequencyTracking = 0;
  int spectrogramMode = 0;
  int predictivePostSpectrum = 0;
  int deltaSpectrum = 0;  // parameter 133; the display's delta flag is on exactly when this is 1
  int mainMeterMode = 0;
  int mainMeterChannelMode = 0;
  int daviLiteMode = 0;
  int toggleTooltips = 1;
};
