#include "plugin/controller/ParamTable.h"

#include <cstdio>

#include "framework/IPlugBase.h"
#include "plugin/engine/BandTypes.h"

namespace {

const char* const kOffOn[] = {"off", "on"};
const char* const kBandTypeTexts[kNumOfferedBandTypes] = {
    "A - Peak",      "A - Low Cut",    "A - High Cut",  "A - Low Shelf",  "A - High Shelf", "A - Tilt Shelf",
    "A - Flat Tilt", "A - Band Pass",  "A - Notch",     "D - Peak",       "D - Low Cut",    "D - High Cut",
    "D - Low Shelf", "D - High Shelf", "D - Tilt Shelf", "D - Band Pass"};
const char* const kChannelTexts[] = {"All", "Left", "Right", "Mid", "Side"};
// The leading blank keeps all sixteen texts five characters wide.
const char* const kSlopeTexts[] = {" 6 dB", "12 dB", "18 dB", "24 dB", "30 dB", "36 dB", "42 dB", "48 dB",
                                   "54 dB", "60 dB", "66 dB", "72 dB", "78 dB", "84 dB", "90 dB", "96 dB"};

template <int N>
void DefineEnum(IPlugBase& plug, int idx, const char* name, int defaultValue, const char* const (&texts)[N]) {
  IParam* param = plug.GetParam(idx);
  if (!param) return;
  param->InitEnum(name, defaultValue, N, "", "");
  for (int i = 0; i < N; ++i) param->SetDisplayText(i, texts[i]);
}

IParam* DefineDouble(IPlugBase& plug, int idx, const char* name, double defaultValue, double minValue,
                     double maxValue, double step, const char* label) {
  IParam* param = plug.GetParam(idx);
  if (param) param->InitDouble(name, defaultValue, minValue, maxValue, step, label, "", 1.0);
  return param;
}

void DefineBand(IPlugBase& plug, const ParamMirrors& m, int b) {
  // Names hold 31 characters; "Active 12" is the longest band name.
  char name[32];
  const auto idx = [b](int field) { return BandParamIndex(b, field); };
  const auto named = [&name, b](const char* format) {
    std::snprintf(name, sizeof name, format, b + 1);
    return name;
  };
  DefineEnum(plug, idx(kBandActive), named("Active %d"), m.bandActive[b], kOffOn);
  DefineEnum(plug, idx(kBandSolo), named("Solo %d"), m.bandSolo[b], kOffOn);
  DefineEnum(plug, idx(kBandType), named("Type %d"), m.bandType[b], kBandTypeTexts);
  DefineEnum(plug, idx(kBandChMode), named("ChMode %d"), m.bandChMode[b], kChannelTexts);
  DefineEnum(plug, idx(kBandSlope), named("Slope %d"), m.bandSlope[b], kSlopeTexts);
  DefineDouble(plug, idx(kBandGain), named("Gain %d"), m.bandGain[b], -48.0, 48.0, 0.01, "dB");
  if (IParam* p = DefineDouble(plug, idx(kBandFreq), named("Freq %d"), m.bandFreq[b], 10.0, 48000.0, 0.001, "Hz")) {
    p->SetLogShape();
  }
  if (IParam* p = DefineDouble(plug, idx(kBandQ), named("Q %d"), m.bandQ[b], 0.01, 100.0, 0.001, "")) {
    p->SetLogShape();
  }
}

}  // namespace

void InitParams(IPlugBase& plug, const ParamMirrors& m) {
  DefineEnum(plug, kParamGUIScale, "GUI Scale", m.guiScaleIdx,
             {"50%", "75%", "100%", "125%", "150%", "175%", "200%"});
  DefineEnum(plug, kParamOSMode, "OS Mode", m.osFactor / 2, {"Off", "2x", "4x"});
  DefineEnum(plug, kParamFilterMode, "Filter Mode", m.filterMode,
             {"Zero Latency", "MinimumPhase Eco", "MinimumPhase High", "MinimumPhase Max", "LinearPhase Eco",
              "LinearPhase High", "LinearPhase Max"});
  DefineEnum(plug, kParamAnalyzerMode, "Analyzer Mode", m.analyzerMode, kChannelTexts);
  DefineEnum(plug, kParamPhase, "Phase", m.phase, {"Normal", "Invert"});
  DefineDouble(plug, kParamOutputGain, "Output Gain", m.outputGainDb, -48.0, 48.0, 0.1, "dB");

  for (int b = 0; b < kNumBands; ++b) DefineBand(plug, m, b);

  DefineDouble(plug, kParamFScale, "FScale", m.fScalePercent, 1.0, 100.0, 1.0, "%");
  DefineDouble(plug, kParamFOffset, "FOffset", m.fOffsetPercent, 0.0, 100.0, 1.0, "%");
  DefineDouble(plug, kParamGScale, "GScale", m.gScalePercent, 1.0, 100.0, 1.0, "%");
  DefineDouble(plug, kParamDBOffset, "DBOffset", m.dbOffsetDb, -60.0, 60.0, 0.1, "dB");
  DefineDouble(plug, kParamSpectrumSlope, "Slope", m.spectrumSlope, -9.0, 9.0, 0.1, "%");
  DefineEnum(plug, kParamShowReference, "Show Reference", m.showReference, kOffOn);
  DefineDouble(plug, kParamRefAGV, "Ref AGV", m.refAGVDb, -60.0, 60.0, 0.1, "dB");
  DefineEnum(plug, kParamPreFilterSpectrum, "Pre Filter Spectrum", m.preFilterSpectrum, kOffOn);
  DefineEnum(plug, kParamPostFilterSpectrum, "Post Filter Spectrum", m.postFilterSpectrum, kOffOn);
  DefineEnum(plug, kParamHold, "Hold", m.hold, kOffOn);
  DefineEnum(plug, kParamAB, "AB", m.abEnabled, kOffOn);
  DefineEnum(plug, kParamAnalyzerShowGrid, "AnalyzerShowGrid", m.analyzerShowGrid, kOffOn);
  // The text goes on before the log shape, which raises the minimum to the
  // step: the effective range is 1 .. 9999 ms, and 9999 reads "AVG".
  if (IParam* p = DefineDouble(plug, kParamAnalyzerSpeed, "Analyzer Speed", m.analyzerSpeedMs, 0.0, 9999.0, 1.0, "ms")) {
    p->SetDisplayText(9999, "AVG");
    p->SetLogShape();
  }
  DefineEnum(plug, kParamShowAddEQCurves, "Show Add EQ Curves", m.showAddEQCurves, kOffOn);
  DefineEnum(plug, kParamShowMusicalNote, "Show Musical Note", m.showMusicalNote, kOffOn);
  DefineEnum(plug, kParamEQCheatSheet, "EQ Cheat Sheet", m.eqCheatSheet,
             {"Off", "Piano Keys", "General 1", "General 2", "Octaves", "Vocal", "Bass Guitar", "Electric Guitar",
              "Acoustic Guitar", "Piano", "Strings", "Drums:Bass Drum", "Drums:Snare", "Drums:Tom",
              "Drums:HiHat Cymbals"});
  DefineEnum(plug, kParamLargeScope, "Large Scope", m.largeScope, kOffOn);
  DefineEnum(plug, kParamLinkEQ, "Link EQ", m.linkEQ, kOffOn);
  DefineDouble(plug, kParamEQScale, "EQ Scale", m.eqScalePercent, 1.0, 100.0, 1.0, "%");
  DefineEnum(plug, kParamShowCurveAll, "Show Curve All", m.showCurve[kChannelAll], kOffOn);
  DefineEnum(plug, kParamShowCurveLeft, "Show Curve Left", m.showCurve[kChannelLeft], kOffOn);
  DefineEnum(plug, kParamShowCurveRight, "Show Curve Right", m.showCurve[kChannelRight], kOffOn);
  DefineEnum(plug, kParamShowCurveMid, "Show Curve Mid", m.showCurve[kChannelMid], kOffOn);
  DefineEnum(plug, kParamShowCurveSide, "Show Curve Side", m.showCurve[kChannelSide], kOffOn);
  DefineEnum(plug, kParamSmoothSpectrumCurve, "Smooth Spectrum Curve", m.smoothSpectrumCurve,
             {"Smoothed", "ISO Smoothed", "Raw Data", "ISO Bar 1/6", "ISO Bar 1/12", "ISO Bar 1/24", "ISO Bar 1/36",
              "ISO Bar 1/48"});
  DefineEnum(plug, kParamShowOnlySelectedCurve, "Show only selected curve", m.showOnlySelectedCurve, kOffOn);
  DefineEnum(plug, kParamShowMax, "Show Max", m.showMax, kOffOn);
  DefineEnum(plug, kParamHiResAnalyzer, "HiRes Analyzer", m.hiResAnalyzer, kOffOn);
  DefineEnum(plug, kParamFrequencyTracking, "Frequency Tracking", m.frequencyTracking,
             {"Off", "Pre Filter", "Post Filter"});
  DefineEnum(plug, kParamSpectrogramMode, "Spectrogram Mode", m.spectrogramMode, {"Off", "Standard", "Heat map"});
  DefineEnum(plug, kParamPredictivePostSpectrum, "Predictive Post Spectrum", m.predictivePostSpectrum, kOffOn);
  DefineEnum(plug, kParamMainMeterMode, "Main Meter Mode", m.mainMeterMode, {"Peak", "RMS", "EBU ML", "EBU SL", "VU"});
  DefineEnum(plug, kParamMainMeterChannelMode, "Main Meter Channel Mode", m.mainMeterChannelMode,
             {"In/Out", "In L/R", "Out L/R", "In M/S", "Out M/S", "Off"});
  DefineEnum(plug, kParamDAVILiteMode, "DA-VI Lite Mode", m.daviLiteMode,
             {"DA-VI Lite off", "DA-VI Lite fast", "DA-VI Lite slow"});
  DefineEnum(plug, kParamToggleTooltips, "Toggle Tooltips", m.toggleTooltips, kOffOn);
}

namespace {

constexpr int kRowSwitch = 2;
constexpr int kRowEnum = 3;
constexpr int kRowDouble = 4;

}  // namespace

// The enumerator names spell the band offset as an expression
// ("kFilter_Q+11*FILTER_PARAM"); stringising keeps the digits and the index in step.
#define BRIMLOW_BAND_ROWS(b)                                                                        \
  {"kFilter_Active+" #b "*FILTER_PARAM", BandParamIndex(b, kBandActive), kRowSwitch, "%d"},         \
      {"kFilter_Type+" #b "*FILTER_PARAM", BandParamIndex(b, kBandType), kRowEnum, "%d"},           \
      {"kFilter_Source+" #b "*FILTER_PARAM", BandParamIndex(b, kBandChMode), kRowEnum, "%d"},       \
      {"kFilter_Slope+" #b "*FILTER_PARAM", BandParamIndex(b, kBandSlope), kRowEnum, "%d"},         \
      {"kFilter_Gain+" #b "*FILTER_PARAM", BandParamIndex(b, kBandGain), kRowDouble, "%.2lf"},      \
      {"kFilter_Freq+" #b "*FILTER_PARAM", BandParamIndex(b, kBandFreq), kRowDouble, "%.3lf"},      \
      {"kFilter_Q+" #b "*FILTER_PARAM", BandParamIndex(b, kBandQ), kRowDouble, "%.3lf"}

const ParamNameRecord ParamNameTable[kNumParamNameRecords] = {
    {"kos_mode", kParamOSMode, kRowEnum, "%d"},
    {"kFilterMode", kParamFilterMode, kRowEnum, "%d"},
    BRIMLOW_BAND_ROWS(0),
    BRIMLOW_BAND_ROWS(1),
    BRIMLOW_BAND_ROWS(2),
    BRIMLOW_BAND_ROWS(3),
    BRIMLOW_BAND_ROWS(4),
    BRIMLOW_BAND_ROWS(5),
    BRIMLOW_BAND_ROWS(6),
    BRIMLOW_BAND_ROWS(7),
    BRIMLOW_BAND_ROWS(8),
    BRIMLOW_BAND_ROWS(9),
    BRIMLOW_BAND_ROWS(10),
    BRIMLOW_BAND_ROWS(11),
};

#undef BRIMLOW_BAND_ROWS

void FlagPresetParams(IPlugBase& plug) {
  for (int i = 0; i < plug.NParams(); ++i) {
    if (IParam* param = plug.GetParam(i)) param->SetFlagged(false);
  }
  for (const ParamNameRecord& row : ParamNameTable) {
    if (IParam* param = plug.GetParam(row.mParamIdx)) param->SetFlagged(true);
  }
}
