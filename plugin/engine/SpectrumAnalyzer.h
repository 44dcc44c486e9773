#pragma once

#include <atomic>
#include <cstdint>

#include "dsp/analyzer/AnalyzerFFT.h"
#include "dsp/analyzer/PreferredFrequencies.h"
#include "framework/containers/WDL_TypedBuf.h"
#include "plugin/engine/DelayRing.h"

// The spectrum of one signal for the EQ display. The audio thread appends
// samples (FeedInput); the display's refresh cuts them into overlapping
// windowed frames and keeps three spectra per bin (attack/release smoothed,
// running average, maximum), then maps them onto the display's frequency
// points as three curves.
//
// Threads. FeedInput, AnalyzeFrames, CaptureSpectra, PublishCurves and
// every set-up call run under the plug mutex. UpdateDisplayCurves runs
// outside it and touches only the capture taken under the lock and its own
// work curves, which no set-up call frees, resizes or writes; the display
// curves are written only under the lock (cleared by set-up, filled by
// PublishCurves), and a capture taken before a set-up call is dropped
// instead of published. Every array the display reads is allocated once,
// at the largest size, so no pointer handed to the display is freed before
// the analyser itself.
class SpectrumAnalyzer {
 public:
  static constexpr int kMaxFftLength = 32768;
  static constexpr int kMinFftLength = 16;
  static constexpr int kMaxBinCount = kMaxFftLength / 2;
  static constexpr int kMaxPointCount = kPreferredFrequencyCount;
  static constexpr int kDelayCapacity = 131072;
  static constexpr double kLowestPointHz = 10.0;
  // The last point at every rate; above Nyquist it takes the last bin.
  static constexpr double kHighestPointHz = 22050.0;

  // Two channels, 44.1 kHz, 8192-point frames, overlap 4, resolution 2,
  // rise 0, a 1 s fall at 60 frames per second, no delay, disabled. Every
  // buffer is allocated (AllocAnalyzerBuffers has run).
  SpectrumAnalyzer();
  SpectrumAnalyzer(const SpectrumAnalyzer&) = delete;
  SpectrumAnalyzer& operator=(const SpectrumAnalyzer&) = delete;

  // --- Set-up, under the plug mutex. Follow a change of rate, frame length,
  // overlap or resolution with AllocAnalyzerBuffers.
  // Also sets the input ring capacity to two seconds, 2 x (int)rate.
  void SetSampleRate(double sampleRate);
  // A power of two in 16..32768 (others are rounded down into it); the bin
  // count is half of it.
  void SetFftLength(int fftLength);
  // Frames per bin count: the hop is binCount / overlap samples.
  void SetOverlap(int overlap);
  // Display point density: 0 every eighth table entry, 1 every fourth,
  // 2 every second, 3 and above every entry.
  void SetResolution(int resolution);
  // Release ("Analyzer Speed") and attack times in seconds at the display
  // frame rate: coefficient 10^(k / (-t/100 x rate)) with k = (int)(binCount
  // / (overlap x frameRate)), 0 for a time of 0 or less. Uses the current
  // rate, frame length and overlap: call it after changing them.
  void SetSpeed(double speedSeconds, double attackSeconds, double frameRate);
  void SetSmoothingCoefficients(double riseCoeff, double fallCoeff);
  // Delays the input by up to kDelayCapacity samples (the pre-filter
  // analyser is aligned with the plug-in's latency). A new length empties
  // the delay; what the input fed after that reaches the spectra once it
  // has gone through, never the silence the emptied delay holds.
  void SetDelay(int delaySamples);
  void SetEnabled(bool enabled);

  // Sizes the input ring, frame and transform for the current set-up,
  // builds the window and the display grid, and clears the history.
  void AllocAnalyzerBuffers();
  void InitAnalyzerPoints(int resolution);
  // Forgets everything heard: input, frame, spectra, delay line, curves.
  // As with a new delay, analysis takes up again with the input fed from
  // here on, once it has gone through the delay.
  void ResetHistory();

  // --- Audio thread. in[c] for c < nChannels. channel -1 sums all channels;
  // with midSide, channel 0 is mid and 1 is side (a mono input gives its one
  // channel). Frames that do not fit the two-second ring are dropped.
  void FeedInput(double** in, int nFrames, int nChannels, int channel, bool midSide);

  // --- Display refresh (see UpdateAnalyzers).
  // Under the lock: every full hop queued is analysed.
  void AnalyzeFrames();
  // Under the lock: when enabled and frames were analysed, copies the three
  // spectra and the grid for UpdateDisplayCurves. Returns whether it did.
  bool CaptureSpectra();
  // Outside the lock: maps the capture onto the points.
  void UpdateDisplayCurves();
  // Under the lock: when keep is set and nothing was set up since the
  // capture, makes the mapped curves the display curves. A stale or
  // unwanted capture is dropped.
  void PublishCurves(bool keep);

  // Per point i, with the bin of a frequency f at f x (binCount - 1) /
  // (rate / 2): where the neighbouring points' bins (clamped into the
  // spectrum) are less than two apart, the value interpolated at the
  // point's frequency between the lower neighbour's own bin and the next
  // one, never beyond them (the last bin's value once that bin is at or
  // past the end); otherwise the mean of the bins from the lower to the
  // upper neighbour.
  static void MapSpectrumToPoints(const double* spectrum, int binCount, const double* pointFreqs,
                                  int pointCount, double* curve, double sampleRate);

  // --- Configuration and spectra (read under the lock, or on the refresh
  // thread).
  double SampleRate() const { return mSampleRate; }
  int FftLength() const { return mFftLength; }
  int BinCount() const { return mBinCount; }
  int Overlap() const { return mOverlap; }
  int Resolution() const { return mResolution; }
  int ChannelCount() const { return mChannelCount; }
  int InputCapacity() const { return mInputCapacity; }
  int RingLength() const { return mRingLength; }
  int Filled() const { return mFilled; }
  int AverageCount() const { return mAverageCount; }
  int DelaySamples() const { return mDelaySamples; }
  int DelayLength() const { return mDelay.GetLength(); }
  double SpeedSeconds() const { return mSpeedSeconds; }
  double AttackSeconds() const { return mAttackSeconds; }
  double RiseCoeff() const { return mRiseCoeff; }
  double FallCoeff() const { return mFallCoeff; }
  bool Enabled() const { return mEnabled; }
  bool NewData() const { return mNewData; }
  const double* Magnitude() const { return mMagnitude.Get(); }
  const double* Average() const { return mAverage.Get(); }
  const double* Smoothed() const { return mSmoothed.Get(); }
  const double* Maximum() const { return mMaximum.Get(); }

  // --- What the display draws: stable pointers for the analyser's life.
  int PointCount() const { return mPointCount.load(std::memory_order_relaxed); }
  const double* PointFreqs() const { return mPointFreqs.Get(); }
  const double* AverageCurve() const { return mAverageCurve.Get(); }
  const double* SmoothedCurve() const { return mSmoothedCurve.Get(); }
  const double* MaxCurve() const { return mMaxCurve.Get(); }

 private:
  void Configured();
  void EmptyDelay();
  // The delay holds nothing that was fed: its whole length is silence to come.
  void DelayEmptied();
  // The queued silence, when the read position has reached it, is dropped.
  void PassQueuedSilence();
  // count queued samples into out (null: dropped), passing the silence.
  void TakeQueued(double* out, int count);
  void BuildWindow();
  void ClearHistory();
  void ClearCurves();
  bool FramesReady() const;

  int mChannelCount = 2;
  double mSampleRate = 44100.0;
  int mFftLength = 8192;
  int mBinCount = 4096;
  int mOverlap = 4;
  int mResolution = 2;
  bool mEnabled = false;
  int mDelaySamples = 0;

  double mSpeedSeconds = 1.0;
  double mFallCoeff = 0.0;
  double mAttackSeconds = 0.0;
  double mRiseCoeff = 0.0;

  int mInputCapacity = 88200;  // requested; takes effect at AllocAnalyzerBuffers
  WDL_TypedBuf<double> mInputRing;
  int mRingLength = 0;  // what the ring holds now
  int mWritePos = 0;
  int mReadPos = 0;
  int mFilled = 0;

  WDL_TypedBuf<double> mFrame;
  WDL_TypedBuf<double> mFftBuffer;
  WDL_TypedBuf<double> mWindow;
  int mWindowLength = 0;  // what mWindow holds; 0 until AnalyzeFrames builds it
  AnalyzerFFT mFft;       // planned by AllocAnalyzerBuffers; RealFFT stands in without it
  static constexpr int kFeedChunk = 256;

  // kMaxBinCount each.
  WDL_TypedBuf<double> mMagnitude;
  WDL_TypedBuf<double> mAverage;
  WDL_TypedBuf<double> mSmoothed;
  WDL_TypedBuf<double> mMaximum;
  int mAverageCount = 1;

  // Read by the display without the lock.
  std::atomic<int> mPointCount{0};
  WDL_TypedBuf<double> mPointFreqs;  // kMaxPointCount

  DelayRing mDelay;
  // Pushes still to come before the delay hands out what was fed since it
  // was last emptied: until then it hands out silence that was never heard.
  int mDelaySilence = 0;
  // That silence in the input ring: mQueuedSilence samples from ring index
  // mSilenceAt on, which the analysis passes over.
  int mQueuedSilence = 0;
  int mSilenceAt = 0;
  bool mNewData = false;

  // Bumped by every set-up call that makes a capture stale.
  uint32_t mGeneration = 0;

  // The refresh's own: capture (kMaxBinCount per spectrum, kMaxPointCount
  // frequencies) and mapped curves (kMaxPointCount each).
  bool mCaptured = false;
  bool mMapped = false;
  uint32_t mCaptureGeneration = 0;
  int mCaptureBinCount = 0;
  int mCapturePointCount = 0;
  double mCaptureRate = 0.0;
  WDL_TypedBuf<double> mCaptureAverage;
  WDL_TypedBuf<double> mCaptureSmoothed;
  WDL_TypedBuf<double> mCaptureMaximum;
  WDL_TypedBuf<double> mCaptureFreqs;
  WDL_TypedBuf<double> mWorkAverage;
  WDL_TypedBuf<double> mWorkSmoothed;
  WDL_TypedBuf<double> mWorkMax;

  // Display curves, kMaxPointCount each.
  WDL_TypedBuf<double> mAverageCurve;
  WDL_TypedBuf<double> mSmoothedCurve;
  WDL_TypedBuf<double> mMaxCurve;
};
