#include "plugin/controller/Brimlow.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>

#include "editor/EditorLayout.h"
#include "framework/Utilities.h"
#include "graphics/mac/IGraphicsMac.h"
#include "plugin/controller/ParamTable.h"
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
    InitPresetManager();
    FlagPresetParams(*this);

    CreateDSP();

    EditorLayout::LayoutGUI(this, GetGUI(), EditorLayout::kBuild);
    RedrawParamControls();
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

  // The reference grid exists, zeroed, from here on, so a state save of a
  // fresh instance has something to copy.
  mReferenceGrid.Resize(SpectrumAnalyzer::kMaxBinCount);
  std::memset(mReferenceGrid.Get(), 0, sizeof(double) * SpectrumAnalyzer::kMaxBinCount);
  mReferenceGridCount = mPreAnalyzer->BinCount();

  mMeterTiming.Setup(mDspSampleRate, mMeterRefreshMs, mOneShotMs);
  mMeters.SetMeterMode(mMirrors.mainMeterMode, mDspSampleRate);
  mMeters.SetChannelMode(mMirrors.mainMeterChannelMode);
  mMeters.ClearClipLamps();
  mMeters.SetClipLampTiming(mDspSampleRate);

  mInputMeterDelay.SetCapacity(kMaxLatencySamples);
  mInputMeterDelayR.SetCapacity(kMaxLatencySamples);
  mLoudnessMatcher.ReserveDelay(kMaxLatencySamples);

  mTotalLatency = 0;
  ApplyLatency(mTotalLatency);
  mDspReady = true;
  return mTotalLatency;
}

void Brimlow::ApplyLatency(int latency) {
  mInputMeterDelay.SetLength(latency);
  mInputMeterDelayR.SetLength(latency);
  mLoudnessMatcher.SetLoudnessMatchMode(mMirrors.daviLiteMode, latency, mDspSampleRate);
}

void Brimlow::InitDSP() {
  WDL_MutexLock lock(GetMutex());
  mMeterTiming.Setup(mDspSampleRate, mMeterRefreshMs, mOneShotMs);

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

  mMeters.SetMeterMode(mMirrors.mainMeterMode, mDspSampleRate);
  mMeters.SetClipLampTiming(mDspSampleRate);

  ApplyLatency(mTotalLatency);
}

void Brimlow::Reset() {
  WDL_MutexLock lock(GetMutex());
  // Counts first: the rebuild below sizes the oversampling for them.
  int numInputs = 0, numOutputs = 0;
  TakeChannelCounts(&numInputs, &numOutputs);
  mNumInputs = numInputs;
  mNumOutputs = numOutputs;

  const double rate = GetSampleRate();
  const bool rateChanged = rate != mDspSampleRate || std::isnan(rate) || std::isnan(mDspSampleRate);
  if (rateChanged || GetBlockSize() != mDspBlockSize) {
    mDspSampleRate = rate;
    mDspBlockSize = GetBlockSize();
    InitDSP();
  }

  if (IGraphics* graphics = GetGUI()) {
    const int fps = IsDisplayRefreshSuspended() ? static_cast<int>(mGuiFps / 10.0) : static_cast<int>(mGuiFps);
    graphics->UpdateFPS(fps);
  }
}

void Brimlow::OnGUIIdle() {
  if (mMeterTiming.TakeMeterRefreshDue()) {
    mMeters.FormatMeterValue(GetGUI(), mInputMeterControls, mOutputMeterControls);
  }
  mMeterTiming.TakeOneShotExpired();
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

void Brimlow::FeedAnalyzer(SpectrumAnalyzer& analyzer, double** channels, int nFrames, int nChannels) const {
  switch (mMirrors.analyzerMode) {
    case 0: analyzer.FeedInput(channels, nFrames, nChannels, -1, false); break;
    case 1: analyzer.FeedInput(channels, nFrames, nChannels, 0, false); break;
    case 2: analyzer.FeedInput(channels, nFrames, nChannels, 1, false); break;
    case 3: analyzer.FeedInput(channels, nFrames, nChannels, 0, true); break;
    case 4: analyzer.FeedInput(channels, nFrames, nChannels, 1, true); break;
    default: break;
  }
}

void Brimlow::ProcessBlock(double** inputs, double** outputs, int nFrames) {
  if (GetLatency() != mTotalLatency) SetLatency(mTotalLatency);

  const int nIn = mNumInputs;
  const int nOut = mNumOutputs;
  const bool stereoIn = nIn >= 2;
  const bool stereoOut = nOut >= 2;
  if (nIn < 1 || nOut < 1) {
    IPlugBase::ProcessBlock(inputs, outputs, nFrames);
    return;
  }

  for (int i = 0; i < nFrames; ++i) {
    const double left = mInputMeterDelay.Push(inputs[0][i]);
    const double right = mInputMeterDelayR.Push(stereoIn ? inputs[1][i] : 0.0);
    mMeters.ProcessInputMeter(left, right);
  }

  if (mMirrors.hold == 0) FeedAnalyzer(*mPreAnalyzer, inputs, nFrames, nIn);

  // The filter bank: the equaliser engine runs here.
  IPlugBase::ProcessBlock(inputs, outputs, nFrames);

  if (mMirrors.phase != 0) {
    for (int c = 0; c < (stereoOut ? 2 : 1); ++c) {
      for (int i = 0; i < nFrames; ++i) outputs[c][i] = -outputs[c][i];
    }
  }

  const bool stereoBoth = stereoIn && stereoOut;
  for (int i = 0; i < nFrames; ++i) {
    const double g = mLoudnessMatcher.GetLoudnessMatchGain(inputs[0][i], stereoBoth ? inputs[1][i] : 0.0,
                                                           outputs[0][i], stereoBoth ? outputs[1][i] : 0.0);
    outputs[0][i] *= g;
    if (stereoBoth) outputs[1][i] *= g;
  }

  // The post analyser sees the signal before the output gain.
  if (mMirrors.hold == 0 && mMirrors.predictivePostSpectrum == 0 && mMirrors.postFilterSpectrum == 1) {
    FeedAnalyzer(*mPostAnalyzer, outputs, nFrames, nOut);
  }

  // ln(10) / 20: dB to a linear gain; -144 dB and below is silence.
  const double gain = mMirrors.outputGainDb > -144.0 ? std::exp(mMirrors.outputGainDb * 0.11512925464970228) : 0.0;
  if (gain != 1.0) {
    for (int c = 0; c < (stereoOut ? 2 : 1); ++c) {
      for (int i = 0; i < nFrames; ++i) outputs[c][i] *= gain;
    }
  }

  for (int i = 0; i < nFrames; ++i) mMeters.ProcessOutputMeter(outputs[0][i], stereoOut ? outputs[1][i] : 0.0);

  if (!IsDisplayRefreshSuspended()) mMeterTiming.Advance(nFrames);
}
