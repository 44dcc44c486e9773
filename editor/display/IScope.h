#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "editor/display/CheatSheetSet.h"
#include "editor/display/GraphEventRecord.h"
#include "editor/display/ResponseCurveCache.h"
#include "editor/display/ScopeColors.h"
#include "editor/display/ScopeGrid.h"
#include "editor/display/SpectrumPlot.h"
#include "framework/IPopupMenu.h"
#include "framework/containers/WDL_PtrList.h"
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

// The strongest point of a spectrum as last drawn.
struct SpectrumPeak {
  double frequencyHz = 0.0;
  double levelDb = -144.0;
};

// The EQ and spectrum graph: one control that shows the analyser spectra,
// the EQ curves and the twelve band handles on one frequency axis. It owns
// no audio data and never changes a parameter: it reads the bands through
// pointers into the plug-in's mirrors, records each mouse action in mEvent
// and announces it with its tag; the plug-in reads the record during that
// call and writes the display fields below. GUI thread only.
class IScope : public IControl {
 public:
  static constexpr int kMaxBands = 12;
  static constexpr int kStripSize = 32;  // pixels, at every editor scale
  static constexpr int kNumGuideSets = 14;
  static constexpr int kNumCurveChannels = 5;

  enum ESpectrumView { kReferenceView = 0, kPreView = 1, kPostView = 2, kNumSpectrumViews = 3 };

  using PreDrawHook = void (*)(void* context);
  // Response in dB at a frequency, for a channel mode 0..4 and a band (-1: sum).
  using Evaluator = double (*)(void* context, double frequency, int channel, int band);
  // Appends the state the evaluator's answers follow from besides its
  // arguments (its bank, its rate), called with the evaluator's context.
  using EvaluatorState = void (*)(void* context, std::vector<double>* state);

  IScope(IPlugBase* plug, const IRECT& rect, int tag, double fullFreqMin, double fullFreqMax, double sampleRate);
  ~IScope() override;

  void Rescale(double scaleX, double scaleY) override;
  void SetRECT(const IRECT& rect) override;
  // Nothing until the layout set the graph up (mReady); then the pre-draw
  // hook refreshes the plug-in's spectra, and without an evaluator nothing
  // is painted.
  bool Draw(IGraphics* graphics) override;

  // Calls the plug-in's OnParamChange with the tag: the plug-in reads mEvent
  // during the call. The handlers below clear what they set afterwards.
  void NotifyPlug();

  // ---- Mouse (editor pixels) ------------------------------------------------
  // Each records the gesture in mEvent, tells the plug-in and clears the
  // one-shot fields again. The right button, or the left one with Shift and
  // Control, on a handle opens the band menu.
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseUp(int x, int y, IMouseMod* mod) override;
  void OnMouseDrag(int x, int y, int dx, int dy, IMouseMod* mod) override;
  void OnMouseDblClick(int x, int y, IMouseMod* mod) override;
  void OnMouseWheel(int x, int y, IMouseMod* mod, int d) override;
  void OnMouseOver(int x, int y, IMouseMod* mod) override;
  void OnMouseOut() override;

  // ---- Ranges and handles (the plug-in calls these) -------------------------
  // Analyser zoom ("GScale" / 100): label step, both ranges, handles.
  void SetGainScale(double zoom);
  // The equaliser zoom and its grid steps, then both ranges.
  void SetEQScale(double zoom);
  // Both gain ranges from their zooms and offsets, then the handles.
  void RecomputeRanges();
  // mFreqMin / mFreqMax from mFreqZoom and mFreqOffset, then the handles.
  void RecomputeFrequencyRange();
  // Every band's handle from the band arrays and the shown ranges, and the
  // axis scales per pixel in mEvent. Nothing while mNumBands is 0.
  void UpdateBandHandles();
  void MeasureScaleText(double scaleX, double scaleY);

  // ---- Pixel mappings over the plot and the shown ranges ---------------------
  // Pixels are truncated toward zero (the EQ curves round instead, so a
  // handle and its curve may sit a pixel apart).
  int FrequencyToX(double frequency) const;
  double XToFrequency(int x) const;
  int GainToY(double gainDb) const;
  double YToGain(int y) const;

  int GetTag() const { return mTag; }
  // The label set "EQ Cheat Sheet" shows, or null while it is off.
  const CheatSheetSet* GetGuideSet() const { return mCheatSheet > 0 ? mGuideSets.Get(mCheatSheet - 1) : nullptr; }

  // ---- Plot geometry (scaled by the inherited mScaleX, mScaleY) -------------
  IRECT mPlotRect;  // the draw rectangle inset by 8 and 5 pixels (scaled)
  int32_t mPlotHeight = 0;
  int32_t mPlotWidth = 0;
  // Each 32 pixels wide along one edge of the plot: the analyser's dB
  // labels (left), the equaliser's (right), the frequencies (bottom). A
  // drag or wheel turn in one zooms or pans that axis.
  IRECT mAnalyzerScaleStrip;
  IRECT mEQScaleStrip;
  IRECT mFreqScaleStrip;

  // ---- Band handles ---------------------------------------------------------
  struct Point {
    int32_t x = 0;
    int32_t y = 0;
  };
  IRECT mHandleRect[kMaxBands];  // centre +- mHandleRadius: the click target
  IRECT mHoverRect[kMaxBands];   // centre +- 4 mHandleRadius
  // 1 at the centre, falling to 0 at 2 mHoverRadius, while the mouse is in
  // the hover rectangle; drawing fades the highlight with it.
  double mHoverAmount[kMaxBands] = {};
  Point mHandleCentre[kMaxBands];
  int32_t mHandleHover[kMaxBands] = {};

  // ---- The event record -----------------------------------------------------
  GraphEventRecord mEvent;

  // ---- Text metrics and scaled lengths (pixels) -----------------------------
  int32_t mLabelTextSize = 12;
  int32_t mSpecLabelW = 0;     // width of "-144" in the label text
  int32_t mEqLabelW = 0;       // width of "-48"
  int32_t mGainReadoutW = 0;   // width of "-48.0"
  int32_t mLen14Y = 14;
  int32_t mLen10Y = 10;
  int32_t mGuideTextSize = 15;
  int32_t mHandleRadius = 7;
  int32_t mHoverRadius = 14;
  int32_t mBorderLines = 32;
  int32_t mStripPreOffset = 67;
  int32_t mStripPostOffset = 48;
  int32_t mStripH = 16;
  int32_t mPeakTextSize = 20;
  int32_t mPeakBoxMargin = 32;
  int32_t mTagMargin = 5;
  int32_t mPeakBoxGap = 10;
  int32_t mGuideBarH = 15;
  int32_t mBlackKeyBarH = 10;
  int32_t mGuideLabelW = 20;
  int32_t mGuideLabelH = 12;

  // ---- Colours, fixed at construction --------------------------------------
  IColor mColors[kNumScopeColors];
  // The slots the drawing layers share.
  const IColor& mColLabel = mColors[0];       // axis and guide labels
  const IColor& mColHoverText = mColors[1];   // hover and readout text
  const IColor& mColBorder = mColors[2];      // plot border, tag boxes
  const IColor& mColGrid = mColors[3];        // grid lines of mEqGridStep1, frame
  const IColor& mColGridMinor = mColors[4];   // grid lines of mEqGridStep2
  const IColor& mColEqLabel = mColors[21];    // the equaliser's dB labels
  const IColor& mColMouseColumn = mColors[45];  // the audition column

  // ---- Display options (written by the plug-in) -----------------------------
  int32_t mReady = 1;  // Draw draws nothing while 0
  int32_t mAB = 1;
  int32_t mShowPre = 1;
  int32_t mShowReference = 0;
  int32_t mShowPost = 1;
  double mSpecDbOffset = 0.0;  // minus "DBOffset"
  double mSlope = 0.0;
  // How far the equaliser range sits below the middle, per unit of zoom:
  // 0 dB lies 12 dB above the plot's middle at zoom 1.
  double mEqDbOffset = 12.0;
  double mRefGain = 0.0;
  int32_t mMouseColumn = 0;  // the plug-in auditions the frequency under the mouse
  int32_t mShowGrid = 1;
  int32_t mShowAddCurves = 1;
  int32_t mShowNote = 1;
  int32_t mCheatSheet = 0;  // 0 off, k shows guide set k - 1
  int32_t mSmoothMode = 0;
  bool mShowMax = false;
  bool mShowRunning = true;
  bool mShowAverage = false;
  double mAttackMs = 0.0;
  double mFrameRate = 60.0;
  int32_t mFreqTracking = 0;
  int32_t mSpectrogramMode = 0;
  int32_t mShowCurve[kNumCurveChannels] = {1, 0, 0, 0, 0};
  int32_t mPredictivePost = 0;
  int32_t mAnalyzerChannel = 0;
  int32_t mShowDelta = 0;

  // ---- Frequency axis -------------------------------------------------------
  double mFullFreqMin;
  double mFullFreqMax;
  double mSampleRate;
  double mFreqMin;  // shown; whole hertz
  double mFreqMax;
  double mMinSpanDecades;  // the narrowest zoom: one octave
  double mFullSpanDecades;
  double mFreqZoom = 1.0;
  double mFreqOffset = 0.0;
  double mGridFreqs[kNumGridFreqs] = {};
  char mFreqLabels[kNumGridFreqs][kGridLabelSize] = {};

  // ---- Gain ranges and scales (dB) ------------------------------------------
  double mSpecDbLo = -96.0;
  double mSpecDbHi = 0.0;
  double mSpecDbFullLo = -96.0;
  double mSpecDbFullHi = 0.0;
  double mMinHalfSpan = 3.0;  // no range shows less than +-3 dB
  double mEqDbLo = -48.0;
  double mEqDbHi = 48.0;
  double mEqDbFullLo = -48.0;
  double mEqDbFullHi = 48.0;
  double mSpecZoom = 1.0;
  double mSpecLabelStep = 24.0;
  double mEqZoom = 1.0;
  double mEqGridStep1 = 6.0;  // grid lines at whole multiples of each step
  double mEqGridStep2 = 12.0;
  double mEqLabelStep = 24.0;

  // ---- Band data, read through the plug-in's mirrors -----------------------
  int32_t mNumBands = 0;  // nothing about bands is computed while 0
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
  SpectrumPeak mPeakPre;
  SpectrumPeak mPeakPost;
  // The reference laid on the pre analyser's bins.
  const double* mReferenceCurve = nullptr;
  int32_t mReferenceCurveCount = 0;

  // Band 0's "Type", "ChMode" and "Slope": the band menu's texts for every band.
  int32_t mTypeParam = 5;
  int32_t mChModeParam = 6;
  int32_t mSlopeParam = 7;

  PreDrawHook mPreDrawHook = nullptr;
  void* mPreDrawContext = nullptr;
  Evaluator mEvaluator = nullptr;
  void* mEvaluatorContext = nullptr;
  // While set, the EQ curves are kept between frames and sampled again only
  // when this state or the display's own changes; unset, every frame
  // samples them.
  EvaluatorState mEvaluatorState = nullptr;

  // ---- The band menu and its submenus, refilled at every showing ------------
  std::unique_ptr<IPopupMenu> mBandMenu;
  std::unique_ptr<IPopupMenu> mTypeMenu;
  std::unique_ptr<IPopupMenu> mChannelMenu;
  std::unique_ptr<IPopupMenu> mSlopeMenu;

  // Owned; freed before the menus.
  WDL_PtrList<CheatSheetSet> mGuideSets;

  // ---- The band menu's model ------------------------------------------------
  // Fills the four menus for band b from its values. typeMap[i] becomes the
  // band type of item i of the Type submenu, -1 for the separator.
  void BuildBandMenu(int b, std::vector<int>& typeMap);
  // The command for the item chosen in the menu the platform handed back,
  // or kCommandNone (dismissed, an inert line, an index the menu lacks);
  // value receives its argument.
  int BandMenuCommand(const IPopupMenu* chosen, const std::vector<int>& typeMap, int* value) const;

  // ---- Drawing, bottom layer first (IScopeDraw.cpp and the files beside it)
  void DrawGrid(IGraphics* g);
  // The entries of the chosen guide set; with hoverOnly only those holding
  // freq, and true when there is one.
  bool DrawGuideOverlay(IGraphics* g, bool hoverOnly, double freq);
  // The guide entry under the mouse, and its note over the piano keys.
  void DrawHoverGuide(IGraphics* g);
  // strip 0: the curves; 1: the colour strips; 2: the strips as a heat map.
  void DrawSpectrumLayers(IGraphics* g, int strip);
  // tracking 1: the loudest point of the pre-filter sets, 2: post-filter.
  void DrawPeakMarker(IGraphics* g, int tracking);
  void DrawEQCurves(IGraphics* g);
  // One curve of the evaluator's, sampled every step columns: a band's
  // (0..11) or a channel's sum (band -1).
  bool DrawResponseCurve(IGraphics* g, const IColor* line, const IColor* fill, int channel, int band,
                         bool fillToZero, bool drawLine, int thickness, int step);
  void DrawPlotBorder(IGraphics* g);
  void DrawGainScaleLabels(IGraphics* g);
  void DrawAnalyserScaleLabels(IGraphics* g);
  void DrawFrequencyLabels(IGraphics* g);
  // Frequency, note and levels at the mouse, or at the band under it.
  void DrawBandReadouts(IGraphics* g);
  void DrawBandHandles(IGraphics* g, int hidden);

  // Kept between frames so that plotting allocates nothing once warm.
  SpectrumPlot mSpectrumPlot;
  // The EQ curves' rows per column, sampled again only on a change.
  ResponseCurveCache mCurveCache;
  std::vector<double> mCurveState;  // scratch for the cache's state
  std::vector<int> mCurveLineCounts;  // scratch for the curves' gathered lines

 private:
  // The band count the arrays can be read for: 0 until the layout wired
  // every array, at most kMaxBands.
  int ReadableBands() const;
  void UpdatePlotGeometry();
  // The band under the point into mEvent.mHitBand: among overlapping
  // handles the highest-numbered band, an active band before any inactive one.
  void BandHitTest(int x, int y);
  // At most one strip flag: bottom before left before right.
  void StripTest(int x, int y);
  void MouseToPlot(int x, int y);
  void UpdateHover(int x, int y);

  // Builds the band menu from the hit band's values, shows it at the
  // handle and reports the choice, once, with the mouse-down's flags.
  void ShowBandMenu();

  int32_t mTag;

  // ---- Drawing helpers ----------------------------------------------------
  struct SpectrumLayer;  // one set to plot, IScopeSpectrum.cpp
  void PlotSpectrum(IGraphics* g, const SpectrumLayer& layer, int strip);
  // The band whose frequency and gain the hover layers show, or -1.
  int ShownHitBand() const;
  bool MouseInPlot() const;
};
