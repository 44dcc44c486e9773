#pragma once

#include "plugin/engine/AnalyzerFeed.h"
#include "plugin/engine/DelayRing.h"
#include "plugin/engine/EngineHost.h"
#include "plugin/engine/FilterBank.h"
#include "plugin/engine/LoudnessHook.h"
#include "plugin/engine/MeterHook.h"
#include "plugin/engine/MeterRefreshTiming.h"
#include "plugin/engine/OversamplingStage.h"
#include "plugin/engine/ParamMirrors.h"

// The equaliser's audio path for one plug-in instance: latency report,
// pre-filter analyser feed, the filter bank (oversampled when "OS Mode" asks
// for it), phase, loudness match, post-filter analyser feed, output gain,
// the delayed input and the output metering and the display timing, in that
// order, once per host block.
//
// It reads the parameter mirrors and nothing of the framework; the plug-in
// reaches it through the hooks below and drives its set-up and redesigns
// from the parameter code, under the plug-in's lock. Everything the block
// needs is allocated by Setup, SetupOversampling and UpdateConvolution;
// ProcessBlock neither allocates nor locks.
class EqualizerEngine {
 public:
  static constexpr int kInputMeterDelayCapacity = 262144;
  // The editor's meter refresh (one 60 Hz frame) and the one-shot length.
  static constexpr double kMeterRefreshMs = 16.666666666666668;
  static constexpr double kOneShotMs = 1000.0;

  explicit EqualizerEngine(const ParamMirrors* mirrors);

  // Hooks; any may be null (a null loudness hook means unity gain).
  void SetHost(EngineHost* host) { mHost = host; }
  void SetMeterHook(MeterHook* meters) { mMeters = meters; }
  void SetLoudnessHook(LoudnessHook* loudness) { mLoudness = loudness; }
  void SetAnalyzerFeeds(AnalyzerFeed* pre, AnalyzerFeed* post) {
    mPreAnalyzer = pre;
    mPostAnalyzer = post;
  }

  // First set-up: allocates every buffer, resets and designs all bands,
  // builds the oversampling for the mirrors' factor and computes the
  // latency. blockSize: the host's block size (the buffers take at least
  // 8192 frames). Channel counts are clamped to 0..2.
  void Setup(double sampleRate, int blockSize, int nIn, int nOut);
  // A new sample rate or block size: every band redesigned (state kept),
  // the impulse rebuilt and the engines re-primed in the FIR modes, the
  // oversampling rebuilt, the latency recomputed.
  void Reinit(double sampleRate, int blockSize);
  // A new bus layout: no allocation; the converters restart together when
  // the counts change, so the channels stay in step.
  void SetChannelCounts(int nIn, int nOut);

  // Redesigns for the parameter code; band -1 means all twelve.
  void DesignProcessBands(int band);
  void ResetProcessBands();
  void DesignDisplayBands(int band);

  // FIR length L for the next BuildImpulseResponse (see
  // FirImpulseBuilder::LengthFor); clamped to 2 .. FirImpulseBuilder::kMaxLength.
  void SetFirLength(int length);
  int GetFirLength() const { return mFirLength; }
  void BuildImpulseResponse();
  // Loads the impulse into the convolution engines, then recomputes the
  // latency and the input-meter delay (DistributeLatency).
  void UpdateConvolution(bool resetChannels, bool forceRealign);

  // Builds or frees the converters for the mirrors' factor; SetupOversampling
  // also redesigns the listen sections for the new processing rate.
  void SetupOversampling();
  void FreeOversampling();

  int CalcLatency() const;
  // Tells the host at once on the hosts that need it; the others hear of
  // it from the next block.
  void UpdateHostLatency(int latency);
  // totalLatency := CalcLatency(); the input meters' delay follows.
  void DistributeLatency();
  int GetInputMeterDelay(int channel) const { return mInputMeterDelay[channel & 1].GetLength(); }
  // Meter refresh and one-shot counting start over at the engine's rate,
  // as after a set-up (the two flags are left alone).
  void RestartDisplayTiming() { mTiming.Setup(mSampleRate, kMeterRefreshMs, kOneShotMs); }
  int GetTotalLatency() const { return mTotalLatency; }
  // The most the engine can report ("LinearPhase Max" oversampled): what
  // the bypass delay line should reserve.
  int GetMaxLatency() const { return mMaxLatency; }

  // Band listen: frequency at most 22 kHz and gain at most 30 dB are the
  // caller's; the design itself keeps the frequency below half the rate.
  void StartListen(double frequencyHz, double gainDb);
  void StopListen();
  bool IsListening() const { return mBank.GetListen().IsActive(); }

  // One host block, on the channel counts of the last set-up or
  // SetChannelCounts. inputs and outputs must be separate buffers: the
  // loudness match reads the inputs after the bank has written the outputs.
  // Non-finite input samples are set to 0 in the input buffers themselves
  // before anything reads them.
  void ProcessBlock(double** inputs, double** outputs, int nFrames);

  const BandFilter* GetDisplayBands() const { return mBank.GetDisplayBands(); }
  MeterRefreshTiming& GetDisplayTiming() { return mTiming; }
  const MeterRefreshTiming& GetDisplayTiming() const { return mTiming; }
  const FilterBank& GetFilterBank() const { return mBank; }
  const OversamplingStage& GetOversampling() const { return mOversampling; }
  double GetSampleRate() const { return mSampleRate; }
  int GetNumInputs() const { return mNumInputs; }
  int GetNumOutputs() const { return mNumOutputs; }

 private:
  // The mirrors' oversampling factor, 1, 2 or 4.
  int Factor() const;
  void Meter(double** inputs, double** outputs, int nFrames);
  void Feed(AnalyzerFeed* feed, double** channels, int nChannels, int nFrames);
  void RunFilterBank(double** inputs, double** outputs, int nFrames);
  void ApplyOutputStages(double** inputs, double** outputs, int nFrames);

  const ParamMirrors* mMirrors;
  EngineHost* mHost = nullptr;
  MeterHook* mMeters = nullptr;
  LoudnessHook* mLoudness = nullptr;
  AnalyzerFeed* mPreAnalyzer = nullptr;
  AnalyzerFeed* mPostAnalyzer = nullptr;

  FilterBank mBank;
  OversamplingStage mOversampling;
  DelayRing mInputMeterDelay[2];
  MeterRefreshTiming mTiming;

  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mNumInputs = 2;
  int mNumOutputs = 2;
  int mFirLength = 2048;
  int mTotalLatency = 0;
  int mMaxLatency = 0;
  static constexpr int kZeroLatencyDelay = 0;

  // The delayed input for the meters, and the loudness gains, a chunk at a
  // time.
  static constexpr int kChunkFrames = 1024;
  double mChunk[2][kChunkFrames] = {};
};
