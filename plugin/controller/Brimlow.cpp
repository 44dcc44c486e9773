#include "plugin/controller/Brimlow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>
#include <mutex>

#include "editor/EditorLayout.h"
#include "framework/Utilities.h"
#include "framework/LatencyDelayLine.h"
#include "graphics/mac/IGraphicsMac.h"
#include "plugin/controller/ConvertWav2Capture.h"
#include "plugin/controller/ParamTable.h"
#include "plugin/controller/SampleRateLimits.h"
#include "plugin/engine/AnalyzerRefresh.h"
#include "plugin/engine/ParamIndex.h"

namespace {

// Appends "/" unless the path already ends in one.
void EnsureTrailingSlash(WDL_String& path) {
  const char* text = path.Get();
  const size_t length = std::strlen(text);
  if (length == 0 || text[length - 1] != '/') path.Append("/");
}

}  // namespace

Brimlow* MakePlug() {
  // A function-local static: made on first use, thread-safe, destroyed at
  // unload. The lock is released on the way out whether or not the
  // constructor throws; new frees the memory of a failed construction.
  static std::recursive_mutex factoryMutex;
  std::lock_guard<std::recursive_mutex> lock(factoryMutex);
  return new Brimlow();
}

Brimlow::Brimlow()
    : IPlugRTAS(kNumParams, kNumParams, "1-1 2-2", 1, "Brimlow", "", "Kestrelbay", 0x30203,
                FourCharCode("KB30"), FourCharCode("KBYX"), 0, false, true, false, 0) {
  SetXMLMode(true);
  SetPluginTexts("Kestrelbay", "Brimlow", "3.2.3");
  std::srand(static_cast<unsigned>(std::clock()));

  mDspSampleRate = GetSampleRate();
  mDspBlockSize = GetBlockSize();
  mTotalLatency = GetLatency();
  TakeChannelCounts(&mNumInputs, &mNumOutputs);

  // The mirrors start at the defaults; the table is built from them.
  mMirrors = ParamMirrors();
  InitParams(*this, mMirrors);

  IGraphicsMac* graphics = new IGraphicsMac(this, kEditorWidth, kEditorHeight, static_cast<int>(mGuiFps));
  graphics->mBundleID.Set(kBundleID);
  AttachGraphics(graphics);

  // From here the idle thread runs: a failure below stops it before the
  // members it could reach are unwound.
  try {
    InitDataPaths();
    // Flagged before the presets are made: flagged-only reads depend on it.
    FlagPresetParams(*this);
    InitPresetManager();

    CreateDSP();

    for (auto& band : mBandControlIdx) std::fill(std::begin(band), std::end(band), -1);
    EditorLayout::LayoutGUI(this, GetGUI(), EditorLayout::kBuild);
    RedrawParamControls();
    // Every value once through the dispatch: a user default read above
    // reaches the engine, and the graph shows the parameters' values rather
    // than its own start-up fields.
    {
      WDL_MutexLock lock(GetMutex());
      ParamBatch batch(*this);
      for (int i = 0; i < NParams(); ++i) OnParamChange(i);
    }
    EditorLayout::UpdateViewLayout(this);
  } catch (...) {
    DeleteGraphics();
    throw;
  }
}

Brimlow::~Brimlow() {
  // The idle thread and the controls may reach into this object; they go
  // before any member does.
  DeleteGraphics();
}

void Brimlow::InitDataPaths() {
  IGraphicsMac* graphics = static_cast<IGraphicsMac*>(GetGUI());
  if (!graphics) return;
  graphics->PluginFolderPath(&mPluginPath);
  if (mPluginPath.Get()[0]) EnsureTrailingSlash(mPluginPath);

  // A folder that cannot be made is not reported: preset reads and writes
  // under it fail on their own.
  graphics->GetAppSupportPath(&mDataPath);
  EnsureTrailingSlash(mDataPath);
  mDataPath.Append("Brimlow");
  IGraphicsMac::CreateDirectoryIfMissing(&mDataPath);
  mDataPath.Append("/");

  mHostFormatPath.Set(mDataPath.Get());
  mHostFormatPath.Append("RTAS");
  IGraphicsMac::CreateDirectoryIfMissing(&mHostFormatPath);
  mHostFormatPath.Append("/");
}

void Brimlow::InitPresetManager() {
  mNFactoryPresets = 0;
  mPresetLabel.Set("Init");
  // The user default first, so the first preset captures its values.
  LoadUserDefaultPreset(true);
  MakeFactoryDefaultPreset(&mDefaultPreset);
  mNFactoryPresets = MakeFactoryPresets();
}

void Brimlow::TakeChannelCounts(int* numInputs, int* numOutputs) const {
  int in = 0;
  while (in < NInChannels() && IsInChannelConnected(in)) ++in;
  int out = 0;
  while (out < NOutChannels() && IsOutChannelConnected(out)) ++out;
  *numInputs = in;
  *numOutputs = out;
}

void Brimlow::SetupAnalyzer(SpectrumAnalyzer& analyzer) {
  analyzer.SetSampleRate(mDspSampleRate);
  analyzer.AllocAnalyzerBuffers();
  analyzer.SetSpeed(mMirrors.analyzerSpeedMs * 0.001, 0.0, mGuiFps);
  analyzer.SetDelay(0);
  analyzer.SetEnabled(true);
}

int Brimlow::CreateDSP() {
  mPreAnalyzer = std::make_unique<SpectrumAnalyzer>();
  mPostAnalyzer = std::make_unique<SpectrumAnalyzer>();
  SetupAnalyzer(*mPreAnalyzer);
  SetupAnalyzer(*mPostAnalyzer);
  mPreFeed.SetAnalyzer(mPreAnalyzer.get());
  mPostFeed.SetAnalyzer(mPostAnalyzer.get());

  // The reference grid exists, zeroed, from here on, so a state save of a
  // fresh instance has something to copy.
  mReferenceGrid.Resize(SpectrumAnalyzer::kMaxBinCount);
  std::memset(mReferenceGrid.Get(), 0, sizeof(double) * SpectrumAnalyzer::kMaxBinCount);
  mReferenceGridCount = mPreAnalyzer->BinCount();

  mMeters.SetMeterMode(mMirrors.mainMeterMode, mDspSampleRate);
  mMeters.SetChannelMode(mMirrors.mainMeterChannelMode);
  mMeters.ClearClipLamps();
  mMeters.SetClipLampTiming(mDspSampleRate);
  mLoudnessMatcher.ReserveDelay(kMaxLatencySamples);

  mEngine.SetHost(&mHooks);
  mEngine.SetMeterHook(&mHooks);
  mEngine.SetLoudnessHook(&mHooks);
  mEngine.SetAnalyzerFeeds(&mPreFeed, &mPostFeed);
  mEngine.Setup(mDspSampleRate, mDspBlockSize, mNumInputs, mNumOutputs);
  // The engine reports its latency from the audio block; the bypass line
  // must then change length without allocating.
  if (LatencyDelayLine* delayLine = GetLatencyDelayLine()) delayLine->Reserve(mEngine.GetMaxLatency());

  ApplyLatency();
  mDspReady = true;
  return mTotalLatency;
}

void Brimlow::ApplyLatency() {
  mTotalLatency = mEngine.GetTotalLatency();
  mLoudnessMatcher.SetLoudnessMatchMode(mMirrors.daviLiteMode, mTotalLatency, mDspSampleRate);
}

void Brimlow::InitDSP() {
  WDL_MutexLock lock(GetMutex());
  // Only a new whole-hertz rate reallocates an analyser, so its history
  // survives a rate that differs in the fraction alone.
  for (SpectrumAnalyzer* analyzer : {mPreAnalyzer.get(), mPostAnalyzer.get()}) {
    if (static_cast<int>(analyzer->SampleRate()) == static_cast<int>(mDspSampleRate)) continue;
    analyzer->SetSampleRate(mDspSampleRate);
    analyzer->AllocAnalyzerBuffers();
    // The smoothing coefficients are per sample: they follow the rate.
    analyzer->SetSpeed(analyzer->SpeedSeconds(), analyzer->AttackSeconds(), mGuiFps);
  }
  // The grid's bins moved with the rate: lay the reference on them again,
  // count and values together.
  mReferenceGridCount = mPreAnalyzer->BinCount();
  mReference.LayOnGrid(mReferenceGrid.Get(), mReferenceGridCount, mDspSampleRate);

  // Bands, impulse, oversampling, latency and the meter timing.
  mEngine.Reinit(mDspSampleRate, mDspBlockSize);

  mMeters.SetMeterMode(mMirrors.mainMeterMode, mDspSampleRate);
  mMeters.SetClipLampTiming(mDspSampleRate);

  ApplyLatency();
  AlignPreAnalyzer();
  // The analysers' arrays may have moved and the rate changed.
  HandOverDisplayData();
}

void Brimlow::Reset() {
  WDL_MutexLock lock(GetMutex());
  // Counts first: the rebuild below sizes the oversampling for them.
  int numInputs = 0, numOutputs = 0;
  TakeChannelCounts(&numInputs, &numOutputs);
  mNumInputs = numInputs;
  mNumOutputs = numOutputs;
  // A new layout restarts the converters together, so the channels stay in
  // step; a rebuild below then sizes everything for these counts.
  mEngine.SetChannelCounts(numInputs, numOutputs);

  // A rate that is not a positive number would reach every design and
  // buffer size as NaN or a negative count, and one above the highest would
  // size the buffers for gigabytes: the DSP stays as built.
  const double rate = GetSampleRate();
  const bool usableRate = rate > 0.0 && rate <= kMaxSampleRate;
  if (usableRate && (rate != mDspSampleRate || GetBlockSize() != mDspBlockSize)) {
    mDspSampleRate = rate;
    mDspBlockSize = GetBlockSize();
    InitDSP();
  }

  if (IGraphics* graphics = GetGUI()) {
    const int fps = IsDisplayRefreshSuspended() ? static_cast<int>(mGuiFps / 10.0) : static_cast<int>(mGuiFps);
    graphics->UpdateFPS(fps);
  }
}

void Brimlow::ReferenceLoadActions::LoadReferenceFile(const char* path) {
  // Measured outside the lock (a long file takes a while); committed under it.
  ReferenceCapture fresh;
  if (!MakeReferenceFromAudioFile(path, &fresh, &mStatus)) return;
  WDL_MutexLock lock(mPlug.GetMutex());
  mPlug.mReference.Commit(fresh, mPlug.GetMutex(), mPlug.mReferenceGrid.Get(), mPlug.mReferenceGridCount,
                          mPlug.mDspSampleRate);
}

void Brimlow::ReferenceLoadActions::ShowMessageBox(const char* text, const char* caption) {
  if (IGraphics* graphics = mPlug.GetGUI()) graphics->ShowMessageBox(text, caption, 0);
}

void Brimlow::UpdateAnalyzers() {
  AnalyzerRefresh refresh;
  refresh.preAnalyzer = mPreAnalyzer.get();
  refresh.postAnalyzer = mPostAnalyzer.get();
  refresh.analyzerHold = &mMirrors.hold;
  refresh.predictivePostSpectrum = &mMirrors.predictivePostSpectrum;
  refresh.postFilterSpectrum = &mMirrors.postFilterSpectrum;
  ::UpdateAnalyzers(refresh, GetMutex());
}

double Brimlow::SetParameterForUser(int paramIdx, double value) {
  const IParam* param = GetParam(paramIdx);
  return param ? SetNormalizedForUser(paramIdx, param->ToNormalizedParam(value)) : value;
}

void Brimlow::ProcessBlock(double** inputs, double** outputs, int nFrames) {
  mEngine.ProcessBlock(inputs, outputs, nFrames);
}
