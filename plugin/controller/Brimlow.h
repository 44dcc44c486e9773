#pragma once

#include <cstdint>
#include <memory>

#include "framework/containers/WDL_String.h"
#include "framework/containers/WDL_TypedBuf.h"
#include "plugin/controller/ReferenceCapture.h"
#include "plugin/engine/DelayRing.h"
#include "plugin/engine/LoudnessMatcher.h"
#include "plugin/engine/MeterRefreshTiming.h"
#include "plugin/engine/Meters.h"
#include "plugin/engine/ParamMirrors.h"
#include "plugin/engine/SpectrumAnalyzer.h"
#include "rtas/binding/IPlugRTAS.h"

class IGraphicsMac;

// The plug-in object: one per instance, made by MakePlug. It owns the
// parameter mirrors, the meters, the loudness match, the two analysers and
// the editor's graphics object, and turns host calls into engine set-ups.
class Brimlow : public IPlugRTAS {
 public:
  static constexpr int kEditorWidth = 872;
  static constexpr int kEditorHeight = 632;
  static constexpr double kGuiFps = 60.0;
  static constexpr double kMeterRefreshMs = 1000.0 / 60.0;
  static constexpr double kOneShotMs = 1000.0;
  // Longest latency any filter mode at any rate reports; every ring that
  // follows the latency is sized for it once, so a latency change on the
  // audio thread never allocates.
  static constexpr int kMaxLatencySamples = 262144;
  static constexpr const char* kBundleID = "com.kestrelbay.rtas.Brimlow";

  Brimlow();
  ~Brimlow() override;

  // Redesigns for the host's rate and block size when either changed; the
  // channel counts and the redraw rate are taken every time.
  void Reset() override;
  void OnGUIIdle() override;
  // The whole signal chain for one host block, under the plug mutex that
  // the block frame's caller holds.
  void ProcessBlock(double** inputs, double** outputs, int nFrames) override;

  // The display's refresh: GUI thread, before the display draws.
  void UpdateAnalyzers();

  // ---- Read by the editor, the display and tests --------------------------
  const ParamMirrors& Mirrors() const { return mMirrors; }
  const Meters& GetMeters() const { return mMeters; }
  const MeterRefreshTiming& GetMeterTiming() const { return mMeterTiming; }
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

 private:
  void InitDataPaths();
  void InitPresetManager();
  // Once, at the end of construction: every buffer at its largest size and
  // everything designed for the constructor's rate. Returns the latency.
  int CreateDSP();
  // Everything that depends on the rate, redesigned for mDspSampleRate.
  void InitDSP();
  // The parts that follow the latency and the rate: the input-meter delay
  // and the loudness match, whose input energy must line up with the output.
  void ApplyLatency(int latency);
  // The connected channels of the block frame (leading ones).
  void TakeChannelCounts(int* numInputs, int* numOutputs) const;
  void SetupAnalyzer(SpectrumAnalyzer& analyzer);
  // One analyser feed by "Analyzer Mode" (values outside 0..4 feed nothing).
  void FeedAnalyzer(SpectrumAnalyzer& analyzer, double** channels, int nFrames, int nChannels) const;

  ParamMirrors mMirrors;

  // Folders, each ending in "/".
  WDL_String mPluginPath;
  WDL_String mDataPath;
  WDL_String mHostFormatPath;

  // Preset manager state; the factory presets and the user default are
  // read by the preset code.
  WDL_String mPresetLabel;
  int mNFactoryPresets = 0;

  // Editor scale at construction.
  double mGuiScaleFactor = 1.0;
  double mBaseWidth = kEditorWidth;
  double mBaseHeight = kEditorHeight;
  double mMinGuiScale = 0.5;
  double mMaxGuiScale = 2.0;

  double mGuiFps = kGuiFps;
  double mMeterRefreshMs = kMeterRefreshMs;
  double mOneShotMs = kOneShotMs;

  // What the engine is built for.
  double mDspSampleRate = 44100.0;
  int mDspBlockSize = 0;
  int mNumInputs = 0;
  int mNumOutputs = 0;
  int mTotalLatency = 0;
  bool mDspReady = false;

  Meters mMeters;
  MeterRefreshTiming mMeterTiming;
  LoudnessMatcher mLoudnessMatcher;
  // The input meter sees the input as late as the output.
  DelayRing mInputMeterDelay;
  DelayRing mInputMeterDelayR;
  std::unique_ptr<SpectrumAnalyzer> mPreAnalyzer;
  std::unique_ptr<SpectrumAnalyzer> mPostAnalyzer;

  ReferenceCapture mReference;
  // Sized once for the largest bin count; the count moves with the pre
  // analyser's bins and is changed only together with the values.
  WDL_TypedBuf<double> mReferenceGrid;
  int mReferenceGridCount = 0;
};

// Makes a plug-in object for the host binding; instances are built one at
// a time under a process-wide recursive mutex.
Brimlow* MakePlug();
