#pragma once

// Where each parameter sits in the plug-in's parameter list. Stored sessions
// and presets address parameters by these positions, so they never move.
constexpr int kNumBands = 12;

// The fields of one band, in the order they repeat in the list.
enum EBandField {
  kBandActive = 0,
  kBandType = 1,
  kBandChMode = 2,
  kBandSlope = 3,
  kBandGain = 4,
  kBandFreq = 5,
  kBandQ = 6,
  kBandSolo = 7,
  kNumBandFields = 8
};

enum EParamIndex {
  kParamGUIScale = 0,
  kParamOSMode = 1,
  kParamAB = 2,
  kParamFilterMode = 3,
  kParamFirstBand = 4,  // band b, field k: kParamFirstBand + kNumBandFields * b + k
  kParamFScale = kParamFirstBand + kNumBandFields * kNumBands,  // 100
  kParamFOffset = 101,
  kParamGScale = 102,
  kParamDBOffset = 103,
  kParamSpectrumSlope = 104,
  kParamPreFilterSpectrum = 105,
  kParamPostFilterSpectrum = 106,
  kParamHold = 107,
  kParamAnalyzerMode = 108,
  kParamPhase = 109,
  kParamOutputGain = 110,
  kParamShowReference = 111,
  kParamRefAGV = 112,
  kParamAnalyzerShowGrid = 113,
  kParamAnalyzerSpeed = 114,
  kParamShowAddEQCurves = 115,
  kParamShowMusicalNote = 116,
  kParamEQCheatSheet = 117,
  kParamLargeScope = 118,
  kParamLinkEQ = 119,
  kParamEQScale = 120,
  kParamShowCurveAll = 121,
  kParamShowCurveLeft = 122,
  kParamShowCurveRight = 123,
  kParamShowCurveMid = 124,
  kParamShowCurveSide = 125,
  kParamSmoothSpectrumCurve = 126,
  kParamShowOnlySelectedCurve = 127,
  kParamShowMax = 128,
  kParamHiResAnalyzer = 129,
  kParamFrequencyTracking = 130,
  kParamSpectrogramMode = 131,
  kParamPredictivePostSpectrum = 132,
  // Never defined: it keeps the blank state of a new parameter (no kind, no
  // name, range 0..1) and carries the analyser's delta-spectrum switch.
  kParamDeltaSpectrum = 133,
  kParamMainMeterMode = 134,
  kParamMainMeterChannelMode = 135,
  kParamDAVILiteMode = 136,
  kParamToggleTooltips = 137,
  kNumParams = 138
};

constexpr int BandParamIndex(int band, int field) { return kParamFirstBand + kNumBandFields * band + field; }

// The band and field of a band parameter; false for any other index.
constexpr bool SplitBandParamIndex(int paramIdx, int* band, int* field) {
  if (paramIdx < kParamFirstBand || paramIdx >= kParamFScale) return false;
  *band = (paramIdx - kParamFirstBand) / kNumBandFields;
  *field = (paramIdx - kParamFirstBand) % kNumBandFields;
  return true;
}

static_assert(kParamFScale == 100, "the band block ends where the display parameters begin");
static_assert(BandParamIndex(kNumBands - 1, kBandSolo) == 99, "Solo of the last band is the last band parameter");
