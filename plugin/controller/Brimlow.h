#pragma once

#include <cstdint>
#include <memory>

#include "framework/containers/WDL_String.h"
#include "editor/IPlugGUIScale.h"
#include "framework/containers/WDL_TypedBuf.h"
#include "plugin/controller/EngineHooks.h"
#include "plugin/controller/PendingReferenceLoad.h"
#include "plugin/controller/ReferenceCapture.h"
#include "plugin/controller/SpectrumAnalyzerFeed.h"
#include "plugin/engine/EqualizerEngine.h"
#include "plugin/engine/LoudnessMatcher.h"
#include "plugin/engine/Meters.h"
#include "plugin/engine/ParamMirrors.h"
#include "plugin/engine/SpectrumAnalyzer.h"
#include "rtas/binding/IPlugRTAS.h"

class IAnalyzerMenu;
class IGraphicsMac;
class IScope;

// The plug-in object: one per instance, made by MakePlug. It owns the
// parameter mirrors, the meters, the loudness match, the two analysers and
// the editor's graphics object, and turns host calls into engine set-ups.
class Brimlow : public IPlugRTAS, public IPlugGUIScale {
 public:
  static constexpr int kEditorWidth = 872;
  static constexpr int kEditorHeight = 632;
  static constexpr double kGuiFps = 60.0;
  // The loudness match's input delay is sized for this once, so a latency
  // change never allocates; it is the engine's input-meter delay capacity.
  static constexpr int kMaxLatencySamples = EqualizerEngine::kInputMeterDelayCapacity;
  static constexpr const char* kBundleID = "com.kestrelbay.rtas.Brimlow";

  Brimlow();
  ~Brimlow() override;

  // Redesigns for the host's rate and block size when either changed; the
  // channel counts and the redraw rate are taken every time.
  void Reset() override;
  // Every parameter change, command tag and graph event takes effect here,
  // under the plug mutex.
  void OnParamChange(int paramIdx) override;
  // The whole signal chain for one host block, under the plug mutex that
  // the block frame's caller holds.
  void ProcessBlock(double** inputs, double** outputs, int nFrames) override;

  // The display's refresh: GUI thread, before the display draws.
  void UpdateAnalyzers();

  // ---- Read by the editor, the display and tests --------------------------
  const ParamMirrors& Mirrors() const { return mMirrors; }
  const Meters& GetMeters() const { return mMeters; }
  const MeterRefreshTiming& GetMeterTiming() const { return mEngine.GetDisplayTiming(); }
  const EqualizerEngine& GetEngine() const { return mEngine; }
  const LoudnessMatcher& GetLoudnessMatcher() const { return mLoudnessMatcher; }
  const SpectrumAnalyzer* PreAnalyzer() const { return mPreAnalyzer.get(); }
  const SpectrumAnalyzer* PostAnalyzer() const { return mPostAnalyzer.get(); }
  const ReferenceCapture& Reference() const { return mReference; }
  // The reference laid on the pre analyser's bins: ReferenceGridCount()
  // values, zero until a reference is loaded.
  const double* ReferenceGrid() const { return mReferenceGrid.Get(); }
  int ReferenceGridCount() const { return mReferenceGridCount; }

  const WDL_String& PluginPath() const { return mPluginPath; }
  const WDL_String& DataPath() const { return mDataPath; }
  const WDL_String& HostFormatPath() const { return mHostFormatPath; }
  const char* PresetLabel() const { return mPresetLabel.Get(); }
  int NFactoryPresets() const { return mNFactoryPresets; }

  double DspSampleRate() const { return mDspSampleRate; }
  int DspBlockSize() const { return mDspBlockSize; }
  int NumInputs() const { return mNumInputs; }
  int NumOutputs() const { return mNumOutputs; }
  int TotalLatency() const { return mTotalLatency; }
  bool IsDspReady() const { return mDspReady; }

  // Editor control indices of the two meters, stored by the layout.
  Meters::ControlIndices mInputMeterControls;
  Meters::ControlIndices mOutputMeterControls;

  // ---- The editor's hooks (editor/EditorHooks.cpp) --------------------------
  // The first open fits the editor to the GUI scale; later opens do not.
  void ResizeGUIToScale() override;
  // Every editor timer tick: a pending GUI-scale resize, the reference
  // load's steps, the display's and the meters' refresh.
  void OnGUIIdle() override;
  // The layout for a resize: mode 1 re-fits the controls kept, mode 0
  // builds them again; then the view mode.
  void RebuildGUI(int mode) override;
  // Without a host binding that takes the resize, the plug-in rebuilds
  // its editor itself and tells the window host, if one is set.
  bool ResizeGraphics(int width, int height, bool keepControls) override;
  // What shows the editor when no host binding does (the command-line
  // host's window): asked to resize its window to the editor's new size.
  class EditorWindowHost {
   public:
    virtual ~EditorWindowHost() = default;
    virtual void RequestEditorResize(int width, int height) = 0;
  };
  void SetEditorWindowHost(EditorWindowHost* host) { mEditorWindowHost = host; }

  // ---- Control indices the layout records ------------------------------------
  static constexpr int kBandControlsPerBand = 9;
  int mBackgroundIdx = -1;
  int mBackgroundLargeIdx = -1;
  // Per band: frame, on/off, solo, type, channel mode, slope, gain,
  // frequency, Q.
  int mBandControlIdx[kNumBands][kBandControlsPerBand];
  // All, left, right, mid, side.
  int mCurveButtonIdx[5] = {-1, -1, -1, -1, -1};
  // EQ zoom out, EQ zoom in, frequency zoom out, frequency zoom in, reset.
  int mZoomButtonIdx[5] = {-1, -1, -1, -1, -1};
  // Input bar, peak-hold line, maximum readout, over LED; then the output's.
  int mMeterControlIdx[8] = {-1, -1, -1, -1, -1, -1, -1, -1};

  // ---- The EQ graph -----------------------------------------------------------
  // The layout makes the graph and stores it here; null without an editor.
  IScope* GetScope() const { return mScope; }
  void SetScope(IScope* scope, int controlIndex);
  int ScopeControlIndex() const { return mScopeControlIdx; }
  // The layout's analyser options menu, whose dialogs leave the file names
  // that the reference save and load commands read; null without one.
  IAnalyzerMenu* GetAnalyzerMenu() const { return mAnalyzerMenu; }
  void SetAnalyzerMenu(IAnalyzerMenu* menu) { mAnalyzerMenu = menu; }
  // The controls are gone: so are the graph and the menu they held.
  void OnControlsCleared() override;
  // Greys the band's Slope, Gain and Q controls that its type does not use
  // and ungreys the others; for one band, or for all twelve by their types.
  void UpdateBandControls(int band, int type);
  void UpdateAllBandControls();
  // Hands the analysers' curves, the reference and the band mirrors to the
  // graph; after every DSP set-up and every analyser rebuild.
  void HandOverDisplayData();
  // The frame control of each band, lit while the mouse hovers its handle;
  // -1 when the layout made none.
  int mBandFrameControls[kNumBands] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  // The hidden file selector's last save and last open path, kept here by
  // the editor for the reference save and load commands while no analyser
  // menu is set.
  WDL_String mFileSelectorSavePath;
  WDL_String mFileSelectorOpenPath;
  // The audio-file reference load that the load command requested; the
  // editor's idle tick runs it.
  const PendingReferenceLoad& ReferenceLoad() const { return mReferenceLoad; }

  // ---- Parameter-change dispatch ----------------------------------------------
  // What a handler invalidated; the dispatch's tail redesigns it.
  struct RedesignRequest {
    bool audioRedesign = false;
    bool displayRedesign = false;
    bool resetStates = false;
    int band = -1;  // -1: all twelve bands
  };
  // Command tags of the editor's controls that stand for no parameter.
  static constexpr int kFirstCommandTag = 138;
  static constexpr int kLastCommandTag = 161;
  static constexpr int kScopeTag = 141;

  // Sets a parameter on the user's behalf through its controls (so host
  // and controls follow) and returns the value the parameter took, clamped
  // to its range. The nested OnParamChange is a no-op: callers write the
  // mirror themselves.
  double SetParameterForUser(int paramIdx, double value);

  // ---- Display view operations ------------------------------------------------
  void RecomputeFrequencyRange();
  void RecomputeAxisRanges();
  void ApplyEQScale(double scale);
  void ResetFrequencyView();
  void ResetGainView();
  void ResetEQScale();
  void PanFrequencyView();
  void PanGainView();
  void ZoomFrequencyBySteps(int steps);
  void ZoomFrequencyStep(int direction);
  void ZoomEQScaleBySteps(int steps);
  void ZoomEQScaleStep(int direction);

  // ---- Analyser and meter operations -----------------------------------------
  void ResetAnalyzer(SpectrumAnalyzer& analyzer);
  void ApplyAnalyzerSpeed();
  void ReconfigureAnalyzers(bool hiRes);
  void ResetMeters();

  // ---- Curve selection ----------------------------------------------------------
  void SyncCurveSelection(int band);
  void ClearCurveSelection();

  // ---- GUI scale ------------------------------------------------------------------
  // "GUI Scale" sets the pair and asks the GUI idle hook for a resize.
  static constexpr double kGuiScaleMin = 0.5;
  static constexpr double kGuiScaleMax = 2.0;
  static constexpr double kGuiScaleDefault = 1.0;
  double GuiScaleX() const { return mGUIScaleX; }
  double GuiScaleY() const { return mGUIScaleY; }
  bool IsResizeRequested() const { return mGUIResizePending; }

 private:
  // Command tags 138..161 other than the graph's.
  void OnCommandTag(int tag, RedesignRequest& request);
  // The graph's tag: band edits, strip gestures and band-listen.
  void OnGraphEvent(RedesignRequest& request);

  // Set while OnParamChange runs; nested calls return at once.
  bool mInParamChange = false;

  // ---- Graph edits, view steps and command tags: helpers --------------------
  // Tests run a graph event or a tag and read the request it leaves.
  friend class BrimlowEditingTestAccess;
  // The editor's mouse-button flag: most command tags act only while set.
  bool IsEditorMouseDown() const;
  // As SetParameterForUser, with a value 0..1 in the parameter's own scale.
  double SetNormalizedForUser(int paramIdx, double normalized);
  // A view parameter's value into its mirror and the graph field it drives.
  void ApplyFrequencyScale(double percent);
  void ApplyFrequencyOffset(double percent);
  void ApplyDBOffset(double db);
  void ApplySpectrumSlope(double value);
  // Each sets its parameter, then applies the value the parameter took.
  void SetFrequencyScale(double percent);
  void SetFrequencyOffset(double percent);
  void SetGainScalePercent(double percent);
  void SetDBOffset(double db);
  void SetEQScalePercent(double percent);
  void SetSpectrumSlope(double value);
  void StepGainScale(int steps);
  void ResetViewToDefaults(bool withOffsetAndSlope);
  void ZoomStripBySteps(int steps);
  void ResetStripView();
  void SaveReferenceCapture();
  void LoadReferenceFromSelector();
  // The band field through its control, then its mirror with the dispatch's
  // rounding.
  void SetBandField(int band, int field, double value);
  void StoreBandMirror(int band, int field, double value);
  double BandMirrorValue(int band, int field) const;
  void RequestBandRedesign(int band, RedesignRequest& request);
  int SelectedBand() const;
  void DoBandMenuCommand(RedesignRequest& request);
  void ToggleSelectedBand(RedesignRequest& request);
  void MoveSelectedBandOut(RedesignRequest& request);
  void ResetSelectedBand(RedesignRequest& request);
  void StepSelectedBandGain(bool fine, RedesignRequest& request);
  void StepSelectedBandFreq(bool fine, RedesignRequest& request);
  void StepSelectedBandType(RedesignRequest& request);
  void StepSelectedBandChannel(RedesignRequest& request);
  void StepSelectedBandSlope(RedesignRequest& request);
  void StepSelectedBandField(int field, RedesignRequest& request);
  void StepSelectedBandQ(double normalizedStep, RedesignRequest& request);
  void ShowBandFrame(int band);
  void StartBandListen();
  void StopBandListen();
  // ---- Parameter-change dispatch: handlers and their state -----------------
  void OnBandParamChange(int band, int field, RedesignRequest& request);
  // "GUI Scale", "OS Mode", "AB", "Filter Mode" and the display parameters.
  void OnGlobalParamChange(int paramIdx, RedesignRequest& request);
  void OnDisplayParamChange(int paramIdx, double value);
  void SetGuiScaleIndex(int index);
  void ChangeOversampling();
  void ChangeFilterMode();
  // The input meters' delay follows the latency the engine computes now.
  void FollowLatency();
  // What the handlers invalidated is redesigned, and the latency reported.
  void RedesignAfterChange(const RedesignRequest& request);
  // The latency the engine computes now, to the meters, the loudness
  // match, the pre analyser and the host.
  void ReportLatency();
  // Between the two, the impulse of a FIR mode is built once, at the end,
  // however many band fields changed (a state or preset restore), and the
  // values restored are taken as they stand: no handler acts on the user's
  // behalf (exclusive Solo, curve selection), since the last mouse event
  // belongs to whatever the user clicked before and the controls still show
  // the old values.
  void BeginParamBatch();
  void EndParamBatch();
  class ParamBatch {
   public:
    explicit ParamBatch(Brimlow& plug) : mPlug(plug) { mPlug.BeginParamBatch(); }
    ~ParamBatch() { mPlug.EndParamBatch(); }
    ParamBatch(const ParamBatch&) = delete;
    ParamBatch& operator=(const ParamBatch&) = delete;

   private:
    Brimlow& mPlug;
  };
  bool mInParamBatch = false;
  bool mImpulsePending = false;
  bool mImpulsePendingFresh = false;
  // The pre-filter analyser sees its input as late as the output leaves.
  void AlignPreAnalyzer();
  // The parameter's plain value (never NaN: the parameter refuses one).
  double ParamValue(int paramIdx) const;
  bool ChangedFromMouse() const;
  bool ShiftHeld() const;
  void CopyCurveFlagsToScope();
  void CopyAnalyzerFlagsToScope();

  // Set by the filter-mode and oversampling handlers: the loudness match
  // is set up again once the tail knows the final latency.
  bool mLatencyMoved = false;
  // A filter-mode change: the tail loads the new impulse into freshly
  // reset engines.
  bool mForceConvolution = false;
  // The analyser's attack (no parameter sets it) and the curve the display
  // draws: the running average at the "AVG" speed, else the smoothed one.
  double mAnalyzerAttackMs = 0.0;
  int mAverageMode = 0;
  int mSmoothedMode = 1;
  EditorWindowHost* mEditorWindowHost = nullptr;

  void InitDataPaths();
  void InitPresetManager();
  // Once, at the end of construction: every buffer at its largest size and
  // everything designed for the constructor's rate. Returns the latency.
  int CreateDSP();
  // Everything that depends on the rate, redesigned for mDspSampleRate.
  void InitDSP();
  // The loudness match follows the engine's latency and the host rate: its
  // input energy must line up with the output. The parameter code calls
  // this after every filter-mode or oversampling change as well.
  void ApplyLatency();
  // The connected channels of the block frame (leading ones).
  void TakeChannelCounts(int* numInputs, int* numOutputs) const;
  void SetupAnalyzer(SpectrumAnalyzer& analyzer);

  ParamMirrors mMirrors;

  // Folders, each ending in "/".
  WDL_String mPluginPath;
  WDL_String mDataPath;
  WDL_String mHostFormatPath;

  // Preset manager state; the factory presets and the user default are
  // read by the preset code.
  WDL_String mPresetLabel;
  int mNFactoryPresets = 0;

  double mGuiFps = kGuiFps;

  // What the engine is built for.
  double mDspSampleRate = 44100.0;
  int mDspBlockSize = 0;
  int mNumInputs = 0;
  int mNumOutputs = 0;
  int mTotalLatency = 0;
  bool mDspReady = false;

  Meters mMeters;
  LoudnessMatcher mLoudnessMatcher;
  std::unique_ptr<SpectrumAnalyzer> mPreAnalyzer;
  std::unique_ptr<SpectrumAnalyzer> mPostAnalyzer;
  EngineHooks mHooks{*this, mMeters, mLoudnessMatcher};
  SpectrumAnalyzerFeed mPreFeed;
  SpectrumAnalyzerFeed mPostFeed;
  EqualizerEngine mEngine{&mMirrors};

  IScope* mScope = nullptr;
  int mScopeControlIdx = -1;
  IAnalyzerMenu* mAnalyzerMenu = nullptr;

  ReferenceCapture mReference;
  PendingReferenceLoad mReferenceLoad;
  // What the editor timer's reference load calls back on.
  class ReferenceLoadActions : public PendingReferenceLoad::Actions {
   public:
    explicit ReferenceLoadActions(Brimlow& plug) : mPlug(plug) {}
    void LoadReferenceFile(const char* path) override;
    const char* GetCaptureStatus() override { return mStatus.Get(); }
    void ShowMessageBox(const char* text, const char* caption) override;

   private:
    Brimlow& mPlug;
    WDL_String mStatus;
  };
  ReferenceLoadActions mReferenceLoadActions{*this};
  // Sized once for the largest bin count; the count moves with the pre
  // analyser's bins and is changed only together with the values.
  WDL_TypedBuf<double> mReferenceGrid;
  int mReferenceGridCount = 0;

  // ---- State chunk and presets (BrimlowState.cpp, BrimlowPresets.cpp) -----
 public:
  // The host state: the parameter payload and the reference capture in
  // tagged sections. The reader returns the position after the chunk, the
  // start unchanged for an empty chunk or one without the magic, and -1 for
  // a damaged or unknown one, which then changes nothing.
  bool SerializeState(ChunkBuffer* chunk) override;
  int UnserializeStateAll(const ChunkBuffer* chunk, int startPos) override;
  int UnserializeState(const ChunkBuffer* chunk, int startPos, bool flaggedOnly) override;
  // Every preset record holds the state chunk without the capture, so a
  // preset restore goes through UnserializeState and keeps the reference.
  bool SerializePresetValues(const double* values, ChunkBuffer* chunk, const char* presetName) override;

  // The first preset (the values in force, named by the preset label) and
  // the fifteen factory presets; returns the number of factory presets made.
  int MakeFactoryPresets();
  void MakeFactoryDefaultPreset(IPreset* preset);
  // Reads "default.tps" from the host-format folder into the parameters and
  // the engine, its "Data" text into the preset label ("Init" when there is
  // no readable file). load false does nothing and returns false.
  bool LoadUserDefaultPreset(bool load);
  // Writes the current values as "default.tps" into folder, or into the
  // host-format folder when folder is empty, where the constructor reads it.
  bool SaveUserDefaultPreset(const WDL_String& folder);
  // The "Factory Default" record: every parameter at its default.
  const IPreset& DefaultPreset() const { return mDefaultPreset; }

 private:
  IPreset mDefaultPreset;
};

// Makes a plug-in object for the host binding; instances are built one at
// a time under a process-wide recursive mutex.
Brimlow* MakePlug();
