#include "plugin/engine/SpectrumAnalyzer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "dsp/fft/FFT.h"
#include "dsp/fft/Window.h"
#include "plugin/engine/SampleCount.h"

namespace {

// Resizes to n doubles and zeroes them; false when memory cannot be had.
bool Zeroed(WDL_TypedBuf<double>& buf, int n) {
  buf.Resize(n, true);
  if (buf.GetSize() != n) return false;
  if (n > 0) std::memset(buf.Get(), 0, static_cast<size_t>(n) * sizeof(double));
  return true;
}

// The arrays the display may hold a pointer to are made once; without them
// the analyser cannot exist at all.
void Fixed(WDL_TypedBuf<double>& buf, int n) {
  if (!Zeroed(buf, n)) throw std::bad_alloc();
}

void Clear(WDL_TypedBuf<double>& buf) {
  if (buf.Get()) std::memset(buf.Get(), 0, static_cast<size_t>(buf.GetSize()) * sizeof(double));
}

// The seven-term window is normalised to sum to 1, which puts a full-scale
// sine at about -6 dB; these lift the display back near 0 dB per length.
double WindowGain(int fftLength) {
  if (fftLength == 16384) return 2.8183829312644537;  // 10^0.45
  if (fftLength == 32768) return std::exp(1.3815510557964275);  // 10^0.6
  return std::exp(0.6907755278982137);  // 10^0.3
}

int PointStep(int resolution) {
  if (resolution <= 0) return 8;
  if (resolution == 1) return 4;
  if (resolution == 2) return 2;
  return 1;
}

// The bin of a frequency, truncated as an int would be, kept in double so
// that a point far above the spectrum cannot overflow the conversion.
double BinOf(double hz, double scale) {
  const double b = std::trunc(hz * scale);
  return b == b ? b : 0.0;
}

// |X| of each bin from its (re, im) pair, two bins at a time where SSE2
// is there: its square root is rounded exactly as std::sqrt's.
void Magnitudes(const double* fft, int bins, double* magnitude) {
  int k = 0;
#ifdef __SSE2__
  for (; k + 2 <= bins; k += 2) {
    const __m128d a = _mm_loadu_pd(fft + 2 * k);      // re k, im k
    const __m128d b = _mm_loadu_pd(fft + 2 * k + 2);  // re k+1, im k+1
    const __m128d re = _mm_unpacklo_pd(a, b);
    const __m128d im = _mm_unpackhi_pd(a, b);
    _mm_storeu_pd(magnitude + k, _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(re, re), _mm_mul_pd(im, im))));
  }
#endif
  for (; k < bins; ++k) magnitude[k] = std::sqrt(fft[2 * k] * fft[2 * k] + fft[2 * k + 1] * fft[2 * k + 1]);
}

// average = (average x (count - 1) + magnitude) / count per bin, the old
// value unweighted at a count of 1; two bins at a time where SSE2 is there,
// with the same operations in the same order.
void RunningMean(double* average, const double* magnitude, int bins, int count) {
  const double older = count - 1.0;
  const bool weighted = count >= 2;
  int k = 0;
#ifdef __SSE2__
  const __m128d c = _mm_set1_pd(count);
  const __m128d o = _mm_set1_pd(older);
  for (; k + 2 <= bins; k += 2) {
    __m128d a = _mm_loadu_pd(average + k);
    if (weighted) a = _mm_mul_pd(a, o);
    _mm_storeu_pd(average + k, _mm_div_pd(_mm_add_pd(a, _mm_loadu_pd(magnitude + k)), c));
  }
#endif
  for (; k < bins; ++k) average[k] = ((weighted ? average[k] * older : average[k]) + magnitude[k]) / count;
}

// The maximum hold, and the smoothing: towards the magnitude by the fall
// coefficient when it is at or below the smoothed value, else the rise one.
// SSE2's max of (m, hold) keeps the hold on a tie or a NaN, as std::max
// (hold, m) does.
void HoldAndSmooth(double* maximum, double* smoothed, const double* magnitude, int bins, double rise, double fall) {
  int k = 0;
#ifdef __SSE2__
  const __m128d r = _mm_set1_pd(rise);
  const __m128d f = _mm_set1_pd(fall);
  for (; k + 2 <= bins; k += 2) {
    const __m128d m = _mm_loadu_pd(magnitude + k);
    _mm_storeu_pd(maximum + k, _mm_max_pd(m, _mm_loadu_pd(maximum + k)));
    const __m128d s = _mm_loadu_pd(smoothed + k);
    const __m128d falling = _mm_cmple_pd(m, s);
    const __m128d c = _mm_or_pd(_mm_and_pd(falling, f), _mm_andnot_pd(falling, r));
    _mm_storeu_pd(smoothed + k, _mm_sub_pd(m, _mm_mul_pd(_mm_sub_pd(m, s), c)));
  }
#endif
  for (; k < bins; ++k) {
    const double m = magnitude[k];
    maximum[k] = std::max(maximum[k], m);
    const double c = m <= smoothed[k] ? fall : rise;
    smoothed[k] = m - (m - smoothed[k]) * c;
  }
}

}  // namespace

SpectrumAnalyzer::SpectrumAnalyzer() {
  Fixed(mMagnitude, kMaxBinCount);
  Fixed(mAverage, kMaxBinCount);
  Fixed(mSmoothed, kMaxBinCount);
  Fixed(mMaximum, kMaxBinCount);
  Fixed(mPointFreqs, kMaxPointCount);
  Fixed(mCaptureAverage, kMaxBinCount);
  Fixed(mCaptureSmoothed, kMaxBinCount);
  Fixed(mCaptureMaximum, kMaxBinCount);
  Fixed(mCaptureFreqs, kMaxPointCount);
  Fixed(mWorkAverage, kMaxPointCount);
  Fixed(mWorkSmoothed, kMaxPointCount);
  Fixed(mWorkMax, kMaxPointCount);
  Fixed(mAverageCurve, kMaxPointCount);
  Fixed(mSmoothedCurve, kMaxPointCount);
  Fixed(mMaxCurve, kMaxPointCount);
  SetSampleRate(mSampleRate);
  SetSpeed(1.0, 0.0, 60.0);
  AllocAnalyzerBuffers();
}

void SpectrumAnalyzer::Configured() { ++mGeneration; }

void SpectrumAnalyzer::SetSampleRate(double sampleRate) {
  mSampleRate = sampleRate;
  const int32_t whole = TruncatedSampleCount(sampleRate);
  mInputCapacity = whole <= 0x3fffffff ? 2 * whole : 0x7fffffff;
  Configured();
}

void SpectrumAnalyzer::SetFftLength(int fftLength) {
  int n = kMinFftLength;
  while (n < kMaxFftLength && n * 2 <= fftLength) n *= 2;
  mFftLength = n;
  mBinCount = n / 2;
  mOverlap = std::clamp(mOverlap, 1, mBinCount);
  Configured();
}

void SpectrumAnalyzer::SetOverlap(int overlap) {
  mOverlap = std::clamp(overlap, 1, mBinCount);
  Configured();
}

void SpectrumAnalyzer::SetResolution(int resolution) { mResolution = resolution; }

void SpectrumAnalyzer::SetSpeed(double speedSeconds, double attackSeconds, double frameRate) {
  // A display that reports no frame rate must not divide by zero; below
  // one frame a second nothing moves on it anyway.
  const double fps = frameRate >= 1.0 ? frameRate : 1.0;
  const double k = std::trunc(static_cast<double>(mBinCount) / (mOverlap * fps));
  mSpeedSeconds = speedSeconds;
  mAttackSeconds = attackSeconds;
  mFallCoeff = speedSeconds > 0.0 ? std::pow(10.0, k / ((speedSeconds / -100.0) * mSampleRate)) : 0.0;
  mRiseCoeff = attackSeconds > 0.0 ? std::pow(10.0, k / ((attackSeconds / -100.0) * mSampleRate)) : 0.0;
}

void SpectrumAnalyzer::SetSmoothingCoefficients(double riseCoeff, double fallCoeff) {
  mRiseCoeff = riseCoeff;
  mFallCoeff = fallCoeff;
}

void SpectrumAnalyzer::SetDelay(int delaySamples) {
  mDelaySamples = delaySamples;
  // The ring is made the first time a delay asks for it (a latency, which
  // only the FIR modes and the converters bring).
  bool emptied = false;
  if (delaySamples > mDelay.GetCapacity()) {
    mDelay.SetCapacity(kDelayCapacity);
    emptied = true;
  }
  const int before = mDelay.GetLength();
  // A new length empties the line too.
  mDelay.SetLength(delaySamples);
  if (emptied || mDelay.GetLength() != before) DelayEmptied();
}

void SpectrumAnalyzer::EmptyDelay() {
  mDelay.Clear();
  DelayEmptied();
}

void SpectrumAnalyzer::DelayEmptied() {
  // The silence of an earlier emptying, when nothing waits before it, goes
  // now, so that the new one starts a run of its own.
  PassQueuedSilence();
  mDelaySilence = mDelay.GetLength();
}

void SpectrumAnalyzer::SetEnabled(bool enabled) { mEnabled = enabled; }

void SpectrumAnalyzer::AllocAnalyzerBuffers() {
  // Only the audio thread and the refresh touch these, both under the plug
  // mutex that the caller holds: they may be reallocated.
  // Zeroed by ClearHistory below.
  mInputRing.Resize(mInputCapacity, true);
  mRingLength = mInputRing.GetSize() == mInputCapacity ? mInputCapacity : 0;
  if (mRingLength == 0) Zeroed(mInputRing, 0);
  // The window keeps its values while its length stays; AnalyzeFrames
  // computes it when it first needs it.
  if (mWindow.GetSize() != mFftLength) mWindowLength = 0;
  const bool framesOk = Zeroed(mFrame, mFftLength) && Zeroed(mFftBuffer, mFftLength + 2) &&
                        (mWindowLength == mFftLength || Zeroed(mWindow, mFftLength));
  // Tables made here, not in the refresh; without them the plain
  // transform does the same arithmetic.
  if (framesOk) mFft.Plan(mFftLength);
  if (!framesOk) {
    // Without a frame nothing can be analysed; the queue still drains.
    Zeroed(mFrame, 0);
    Zeroed(mFftBuffer, 0);
    Zeroed(mWindow, 0);
    mWindowLength = 0;
  }
  InitAnalyzerPoints(mResolution);
  ClearHistory();
  EmptyDelay();
  Configured();
}

void SpectrumAnalyzer::InitAnalyzerPoints(int resolution) {
  mResolution = resolution;
  const double* table = PreferredFrequencyTable();
  const int step = PointStep(resolution);
  int first = 0;
  while (first < kPreferredFrequencyCount && table[first] < kLowestPointHz) ++first;
  int count = 0;
  for (int i = 0; i < kPreferredFrequencyCount; i += step) {
    if (table[i] >= kLowestPointHz && table[i] <= kHighestPointHz) ++count;
  }
  double* freqs = mPointFreqs.Get();
  for (int k = 0; k < count; ++k) freqs[k] = table[first + k * step];
  if (count > 0) freqs[count - 1] = kHighestPointHz;
  mPointCount.store(count, std::memory_order_relaxed);
  ClearCurves();
  Configured();
}

void SpectrumAnalyzer::ClearHistory() {
  mWritePos = mReadPos = mFilled = 0;
  mQueuedSilence = mSilenceAt = 0;
  // The running mean's first frame divides by this count: it restarts at
  // 1, never 0.
  mAverageCount = 1;
  mNewData = false;
  Clear(mInputRing);
  Clear(mFrame);
  Clear(mMagnitude);
  Clear(mAverage);
  Clear(mSmoothed);
  Clear(mMaximum);
  ClearCurves();
}

void SpectrumAnalyzer::ClearCurves() {
  Clear(mAverageCurve);
  Clear(mSmoothedCurve);
  Clear(mMaxCurve);
}

void SpectrumAnalyzer::ResetHistory() {
  ClearHistory();
  EmptyDelay();
  Configured();
}

void SpectrumAnalyzer::FeedInput(double** in, int nFrames, int nChannels, int channel, bool midSide) {
  if (!in || nFrames < 1 || nChannels < 1 || mChannelCount < nChannels) return;
  if (channel >= nChannels || channel < -1) return;
  for (int c = 0; c < nChannels; ++c) {
    if (!in[c]) return;
  }
  // Frames past what the ring can hold are dropped, before the delay too.
  const int accepted = std::min(nFrames, std::max(0, mRingLength - mFilled));
  double* ring = mInputRing.Get();
  double x[kFeedChunk];
  for (int offset = 0; offset < accepted; offset += kFeedChunk) {
    const int n = std::min(kFeedChunk, accepted - offset);
    const double* in0 = in[0] + offset;
    const double* in1 = nChannels >= 2 ? in[1] + offset : nullptr;
    if (midSide) {
      if (!in1) {
        std::memcpy(x, in0, sizeof(double) * static_cast<size_t>(n));
      } else if (channel == 1) {
        for (int i = 0; i < n; ++i) x[i] = (in0[i] - in1[i]) * 0.5;
      } else {
        for (int i = 0; i < n; ++i) x[i] = (in0[i] + in1[i]) * 0.5;
      }
    } else if (channel == -1) {
      for (int i = 0; i < n; ++i) x[i] = 0.0 + in0[i];
      for (int c = 1; c < nChannels; ++c) {
        const double* ch = in[c] + offset;
        for (int i = 0; i < n; ++i) x[i] += ch[i];
      }
    } else {
      std::memcpy(x, in[channel] + offset, sizeof(double) * static_cast<size_t>(n));
    }
    mDelay.PushBlock(x, x, n);
    // What an emptied delay hands out before the input reaches its end is
    // silence nobody played: analysed, it would blank the spectrum for the
    // delay's time and drag the average down long after. It is queued and
    // marked, and the analysis passes over it.
    const int silent = std::min(n, mDelaySilence);
    if (silent > 0) {
      mDelaySilence -= silent;
      if (mQueuedSilence == 0) {
        mSilenceAt = mWritePos;
      } else if ((mSilenceAt + mQueuedSilence) % mRingLength != mWritePos) {
        // A second run while the first still waits behind queued input (the
        // delay emptied twice between two refreshes) takes in what lies
        // between: the queue holds one run only.
        mQueuedSilence = (mWritePos - mSilenceAt + mRingLength) % mRingLength;
      }
      mQueuedSilence += silent;
    }
    // Into the ring in at most two runs, either side of its end.
    for (int done = 0; done < n;) {
      const int k = std::min(n - done, mRingLength - mWritePos);
      std::memcpy(ring + mWritePos, x + done, sizeof(double) * static_cast<size_t>(k));
      mWritePos += k;
      if (mWritePos >= mRingLength) mWritePos = 0;
      done += k;
    }
  }
  mFilled += accepted;
}

void SpectrumAnalyzer::PassQueuedSilence() {
  if (mQueuedSilence > 0 && mReadPos == mSilenceAt) {
    mReadPos = static_cast<int>((mReadPos + static_cast<int64_t>(mQueuedSilence)) % mRingLength);
    mFilled -= mQueuedSilence;
    mQueuedSilence = 0;
  }
}

void SpectrumAnalyzer::TakeQueued(double* out, int count) {
  const double* ring = mInputRing.Get();
  for (int i = 0; i < count; ++i) {
    PassQueuedSilence();
    if (out) out[i] = ring[mReadPos];
    if (++mReadPos >= mRingLength) mReadPos = 0;
  }
  mFilled -= count;
  PassQueuedSilence();
}

void SpectrumAnalyzer::BuildWindow() {
  // Into the array the set-up sized, without allocating: the refresh holds
  // the plug mutex.
  FillWindow(mWindow.Get(), mFftLength, kWindowBlackmanHarris7, true);
  const double gain = WindowGain(mFftLength);
  for (int i = 0; i < mFftLength; ++i) mWindow.Get()[i] *= gain;
  mWindowLength = mFftLength;
}

bool SpectrumAnalyzer::FramesReady() const {
  return mFrame.GetSize() == mFftLength && mFftBuffer.GetSize() == mFftLength + 2 &&
         mWindow.GetSize() == mFftLength;
}

void SpectrumAnalyzer::AnalyzeFrames() {
  mNewData = false;
  const int hop = std::max(1, mBinCount / mOverlap);
  PassQueuedSilence();
  // Exactly one hop waits for more: the frame advances only on a full hop
  // with something behind it. The delay's silence does not count.
  const int waiting = mFilled - mQueuedSilence;
  if (waiting <= hop) return;
  const int hops = waiting / hop;
  if (!FramesReady()) {
    // Nothing to analyse with (a set-up still waiting for its buffers, or
    // none to be had): drop the queued hops.
    TakeQueued(nullptr, hops * hop);
    return;
  }
  mNewData = true;
  if (mWindowLength != mFftLength) BuildWindow();
  const int n = mFftLength;
  const int bins = mBinCount;
  double* frame = mFrame.Get();
  double* fft = mFftBuffer.Get();
  const double* window = mWindow.Get();
  double* magnitude = mMagnitude.Get();
  double* average = mAverage.Get();
  double* smoothed = mSmoothed.Get();
  double* maximum = mMaximum.Get();
  for (int h = 0; h < hops; ++h) {
    TakeQueued(frame + n - hop, hop);
    for (int i = 0; i < n; ++i) fft[i] = frame[i] * window[i];
    fft[n] = fft[n + 1] = 0.0;
    if (!mFft.Forward(fft, n)) RealFFT(fft, n, 1);
    Magnitudes(fft, bins, magnitude);
    std::memmove(frame, frame + hop, static_cast<size_t>(n - hop) * sizeof(double));

    // Running mean. At a count of 1 the old value enters unweighted, so the
    // first frame after a clear (average 0) is the mean itself.
    const int count = std::max(1, mAverageCount);
    RunningMean(average, magnitude, bins, count);
    // Saturates rather than wrapping: a wrap to 1 would add the whole
    // average to the next frame and double the curve.
    if (mAverageCount < 2147483646) mAverageCount = count + 1;
    HoldAndSmooth(maximum, smoothed, magnitude, bins, mRiseCoeff, mFallCoeff);
  }
}

bool SpectrumAnalyzer::CaptureSpectra() {
  mCaptured = false;
  mMapped = false;
  if (!mEnabled || !mNewData) return false;
  const size_t bytes = static_cast<size_t>(mBinCount) * sizeof(double);
  std::memcpy(mCaptureAverage.Get(), mAverage.Get(), bytes);
  std::memcpy(mCaptureSmoothed.Get(), mSmoothed.Get(), bytes);
  std::memcpy(mCaptureMaximum.Get(), mMaximum.Get(), bytes);
  const int points = PointCount();
  std::memcpy(mCaptureFreqs.Get(), mPointFreqs.Get(), static_cast<size_t>(points) * sizeof(double));
  mCaptureBinCount = mBinCount;
  mCapturePointCount = points;
  mCaptureRate = mSampleRate;
  mCaptureGeneration = mGeneration;
  mCaptured = true;
  return true;
}

void SpectrumAnalyzer::UpdateDisplayCurves() {
  if (!mCaptured) return;
  const double* freqs = mCaptureFreqs.Get();
  MapSpectrumToPoints(mCaptureSmoothed.Get(), mCaptureBinCount, freqs, mCapturePointCount,
                      mWorkSmoothed.Get(), mCaptureRate);
  MapSpectrumToPoints(mCaptureAverage.Get(), mCaptureBinCount, freqs, mCapturePointCount,
                      mWorkAverage.Get(), mCaptureRate);
  MapSpectrumToPoints(mCaptureMaximum.Get(), mCaptureBinCount, freqs, mCapturePointCount,
                      mWorkMax.Get(), mCaptureRate);
  mMapped = true;
}

void SpectrumAnalyzer::PublishCurves(bool keep) {
  const bool current = mCaptured && mMapped && mCaptureGeneration == mGeneration;
  if (keep && current) {
    const size_t bytes = static_cast<size_t>(mCapturePointCount) * sizeof(double);
    std::memcpy(mAverageCurve.Get(), mWorkAverage.Get(), bytes);
    std::memcpy(mSmoothedCurve.Get(), mWorkSmoothed.Get(), bytes);
    std::memcpy(mMaxCurve.Get(), mWorkMax.Get(), bytes);
  }
  mCaptured = false;
  mMapped = false;
}

void SpectrumAnalyzer::MapSpectrumToPoints(const double* spectrum, int binCount, const double* pointFreqs,
                                           int pointCount, double* curve, double sampleRate) {
  if (!spectrum || !pointFreqs || !curve || binCount < 1 || pointCount < 1) return;
  const int p = binCount - 1;
  const double last = static_cast<double>(p);
  const double scale = sampleRate > 0.0 ? last / (sampleRate * 0.5) : 0.0;
  for (int i = 0; i < pointCount; ++i) {
    const int lo = std::clamp(i - 1, 0, pointCount - 1);
    const int hi = std::min(i + 1, pointCount - 1);
    const double rawLo = BinOf(pointFreqs[lo], scale);
    const double binLo = std::clamp(rawLo, 0.0, last);
    const double binHi = std::clamp(BinOf(pointFreqs[hi], scale), 0.0, last);
    if (binHi - binLo < 2.0) {
      // From the lower neighbour's own bin: clamping it first would read
      // one past the end for points above Nyquist.
      if (rawLo >= last) {
        curve[i] = spectrum[p];
      } else {
        const int b = static_cast<int>(std::max(rawLo, 0.0));
        // The point may lie past bin b + 1: up to two bins on the usual
        // grid, and hundreds where the lower neighbour sits just under the
        // last bin and the point above Nyquist. Extrapolating the line
        // there overshoots the spectrum, or goes below zero on a falling
        // slope, a magnitude the display cannot take the logarithm of; the
        // weight stays between the two bins instead.
        const double t = std::clamp(pointFreqs[i] * scale - b, 0.0, 1.0);
        curve[i] = spectrum[b] + t * (spectrum[b + 1] - spectrum[b]);
      }
    } else {
      const int a = static_cast<int>(binLo);
      const int z = static_cast<int>(binHi);
      double sum = 0.0;
      for (int k = a; k <= z; ++k) sum += spectrum[k];
      curve[i] = sum / (z - a + 1);
    }
  }
}
