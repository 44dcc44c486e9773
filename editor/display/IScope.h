#pragma once

#include <cstdint>

#include "editor/display/GraphEventRecord.h"
#include "graphics/IControl.h"

// One analyser source as the display reads it: fractional-octave bands and
// FFT bins, each in up to three variants (max hold, running, average). The
// arrays belong to the analysers; the display never writes them.
struct SpectrumView {
  int bandCount = 0;
  const double* bandFrequencies = nullptr;
  const double* bandMax = nullptr;
  const double* bandRunning = nullptr;
  const double* bandAverage = nullptr;
  int binCount = 0;
  const double* binMax = nullptr;
  const double* binRunning = nullptr;
  const double* binAverage = nullptr;
};

// The EQ and spectrum graph: one control that shows the analyser spectra,
// the EQ curves and the twelve band handles on one frequency axis. It owns
// no audio data and never changes a parameter: it reads the bands through
// pointers into the plug-in's mirrors, records each mouse action in mEvent
// and announces it with its tag; the plug-in then writes the fields below.
// GUI thread only.
class IScope : public IControl {
 public:
  static constexpr int kMaxBands = 12;
  static constexpr int kStripSize = 32;  // pixels, at every editor scale

  enum ESpectrumView { kReferenceView = 0, kPreView = 1, kPostView = 2, kNumSpectrumViews = 3 };

  using PreDrawHook = void (*)(void* context);
  // Response in dB at a frequency, for a channel mode 0..4 and a band (-1: sum).
  using Evaluator = double (*)(void* context, double frequency, int channel, int band);

  IScope(IPlugBase* plug, const IRECT& rect, int tag, double fullFreqMin, double fullFreqMax, double sampleRate);

  // Announces the action recorded in mEvent to the plug-in, then clears it.
  void NotifyPlug();

  void Rescale(double scaleX, double scaleY) override;
  void SetRECT(const IRECT& rect) override;
  // Analyser zoom ("GScale" / 100): label step, both ranges, handles.
  void SetGainScale(double zoom);
  // The equaliser zoom and its grid steps.
  void SetEQScale(double zoom);
  // Both gain ranges from their zooms and offsets, then the handles.
  void RecomputeRanges();
  // mFreqMin / mFreqMax from mFreqZoom and mFreqOffset, then the handles.
  void RecomputeFrequencyRange();
  void UpdateBandHandles();
  void MeasureScaleText(double scaleX, double scaleY);

  // Pixel mappings over the plot rectangle and the shown ranges.
  int FrequencyToX(double frequency) const;
  double XToFrequency(int x) const;
  int GainToY(double gainDb) const;
  double YToGain(int y) const;

  int GetTag() const { return mTag; }

  // ---- Plot geometry (scaled by the inherited mScaleX, mScaleY) -------------
  IRECT mPlotRect;
  int32_t mPlotHeight = 0;
  int32_t mPlotWidth = 0;
  IRECT mAnalyzerScaleStrip;
  IRECT mEQScaleStrip;
  IRECT mFreqScaleStrip;

  // ---- Band handles ---------------------------------------------------------
  struct Point {
    int32_t x = 0;
    int32_t y = 0;
  };
  IRECT mHandleRect[kMaxBands];
  IRECT mHoverRect[kMaxBands];
  double mHoverAmount[kMaxBands] = {};
  Point mHandleCentre[kMaxBands];
  int32_t mHandleHover[kMaxBands] = {};

  // ---- The event record -----------------------------------------------------
  int32_t mMouseX = -1;
  int32_t mMouseY = -1;
  GraphEventRecord mEvent;

  // ---- Scaled lengths -------------------------------------------------------
  int32_t mLabelTextSize = 12;
  int32_t mHandleRadius = 7;
  int32_t mHoverRadius = 14;

  // ---- Display options (written by the plug-in) -----------------------------
  int32_t mReady = 1;
  int32_t mAB = 1;
  int32_t mShowPre = 1;
  int32_t mShowReference = 0;
  int32_t mShowPost = 1;
  double mSpecDbOffset = 0.0;
  double mSlope = 0.0;
  double mEqDbOffset = 12.0;
  double mRefGain = 0.0;
  int32_t mMouseColumn = 0;  // band-listen under the mouse
  int32_t mShowGrid = 1;
  int32_t mShowAddCurves = 1;
  int32_t mShowNote = 1;
  int32_t mCheatSheet = 0;
  int32_t mSmoothMode = 0;
  bool mShowMax = false;
  bool mShowRunning = true;
  bool mShowAverage = false;
  double mAttackMs = 0.0;
  double mFrameRate = 60.0;
  int32_t mFreqTracking = 0;
  int32_t mSpectrogramMode = 0;
  int32_t mShowCurve[5] = {1, 0, 0, 0, 0};
  int32_t mPredictivePost = 0;
  int32_t mAnalyzerChannel = 0;
  int32_t mShowDelta = 0;

  // ---- Frequency axis -------------------------------------------------------
  double mFullFreqMin;
  double mFullFreqMax;
  double mSampleRate;
  double mFreqMin;
  double mFreqMax;
  double mMinSpanDecades;
  double mFullSpanDecades;
  double mFreqZoom = 1.0;
  double mFreqOffset = 0.0;

  // ---- Gain ranges and scales ----------------------------------------------
  double mSpecDbLo = -96.0;
  double mSpecDbHi = 0.0;
  double mSpecDbFullLo = -96.0;
  double mSpecDbFullHi = 0.0;
  double mMinHalfSpan = 3.0;
  double mEqDbLo = -48.0;
  double mEqDbHi = 48.0;
  double mEqDbFullLo = -48.0;
  double mEqDbFullHi = 48.0;
  double mSpecZoom = 1.0;
  double mSpecLabelStep = 24.0;
  double mEqZoom = 1.0;
  double mEqGridStep1 = 6.0;
  double mEqGridStep2 = 12.0;
  double mEqLabelStep = 24.0;

  // ---- Band data, read through the plug-in's mirrors -----------------------
  int32_t mNumBands = 0;
  const int* mBandActive = nullptr;
  const int* mBandType = nullptr;
  const double* mBandGain = nullptr;
  const double* mBandFreq = nullptr;
  const double* mBandQ = nullptr;
  const int* mBandChMode = nullptr;
  const int* mBandSlope = nullptr;
  const int* mBandSolo = nullptr;

  // ---- Spectrum data --------------------------------------------------------
  SpectrumView mSpectrumViews[kNumSpectrumViews];
  // The reference laid on the pre analyser's bins.
  const double* mReferenceCurve = nullptr;
  int32_t mReferenceCurveCount = 0;

  int32_t mTypeParam = 5;
  int32_t mChModeParam = 6;
  int32_t mSlopeParam = 7;

  PreDrawHook mPreDrawHook = nullptr;
  void* mPreDrawContext = nullptr;
  Evaluator mEvaluator = nullptr;
  void* mEvaluatorContext = nullptr;

 private:
  void UpdatePlotGeometry();

  int32_t mTag;
};
