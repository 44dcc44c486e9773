#include "dsp/analyzer/CMFFT.h"

#include "dsp/fft/FFT.h"
#include "dsp/fft/Window.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// 10^0.4: brings the Blackman-Harris window's coherent gain (its sum, 1
// after normalising) up so a sine reads A/2 x 2.512.
constexpr double kWindowGain = 2.51188643150958;
constexpr double kLog10Of2 = 0.30102999566398125;

// Clamps before converting: a double outside int's range is undefined to cast.
int ToIntClamped(double v, int lo, int hi) {
  if (!(v >= lo)) return lo;
  if (v >= hi) return hi;
  return static_cast<int>(v);
}

}  // namespace

CMFFT::CMFFT() {
  std::memcpy(mPreferred, PreferredFrequencyTable(), sizeof(mPreferred));
  Init();
}

void CMFFT::Init() {
  mFrameLength = 2 * mBinCount;
  mWritePos = 0;
  mTransform.assign(mFrameLength + 2, 0.0);
  mFrame.assign(mFrameLength, 0.0);
  for (std::vector<double>* v : {&mMagnitude, &mMaximum, &mPeak, &mAverage, &mSmoothed, &mSum}) {
    v->assign(mBinCount, 0.0);
  }
  mFrameCount = 1;

  double* w = MakeWindow(mFrameLength, kWindowBlackmanHarris4, true);
  mWindow.assign(w, w + mFrameLength);
  delete[] w;
  for (double& x : mWindow) x *= kWindowGain;

  switch (mBandSelector) {
    case 2: mBandsPerOctave = 3; break;
    case 3: mBandsPerOctave = 6; break;
    case 4: mBandsPerOctave = 12; break;
    case 5: mBandsPerOctave = 24; break;
    default: mBandsPerOctave = 1; break;
  }
  const int b = mBandsPerOctave;
  const double step = kLog10Of2 / b;
  // 3.311... = log10(2047.5): eleven octaves from 10 Hz.
  const int octaves = static_cast<int>(3.31135115757134 / (b * step));
  mBandCount = octaves * b + 1;
  mBandTable.resize(mBandCount);
  for (int j = 0; j < mBandCount; ++j) mBandTable[j] = std::pow(10.0, 1.0 + j * step);
  mBandTable[mBandCount - 1] = 22000.0;

  mBandValuesA.assign(mBandCount, 0.0);
  mBandValuesB.assign(mBandCount, 0.0);
  mBandTableCopy = mBandTable;
  mReady = 0;
}

void CMFFT::ClearStatistics() {
  for (std::vector<double>* v : {&mMagnitude, &mMaximum, &mPeak, &mAverage, &mSmoothed, &mSum,
                                 &mBandValuesA, &mBandValuesB}) {
    std::fill(v->begin(), v->end(), 0.0);
  }
  mBandTableCopy = mBandTable;
  mFrameCount = 1;
  mReady = 0;
}

void CMFFT::SetNumInputChannels(int n) {
  mNumInputChannels = n;
  Init();
}

void CMFFT::SetNumOutputChannels(int n) { mNumOutputChannels = n; }

void CMFFT::SetSampleRate(double fs) {
  mSampleRate = fs;
  Init();
}

void CMFFT::SetParameter(int index, double value) {
  switch (index) {
    case 0: {
      // The transform needs a power of two; a count below 2 has no bin width.
      if (!(value >= 2.0)) return;
      const int requested = ToIntClamped(value, 2, kMaxBinCount);
      int bins = 2;
      while (bins < requested) bins <<= 1;
      mBinCount = bins;
      Init();
      break;
    }
    case 1:
      mBandSelector = ToIntClamped(value, -1000, 1000);
      Init();
      break;
    case 2:
      mBandSource = ToIntClamped(value, -1000, 1000);
      Init();
      break;
    case 3:
      ClearStatistics();
      break;
    default:
      break;
  }
}

double CMFFT::GetParameter(int index) {
  switch (index) {
    case 0: return mBinCount;
    case 1: return mBandSelector;
    case 2: return mBandSource;
    default: return 0.0;
  }
}

double CMFFT::GetInfoDouble(int id) {
  switch (id) {
    case 1: return mBandSelector;
    case 5: return mBinCount;
    case 9: return mReady;
    case 10: return mBandCount;
    default: return 0.0;
  }
}

intptr_t CMFFT::GetInfoInt(int id) {
  const double* p = nullptr;
  switch (id) {
    case 6:
    case 8: p = mAverage.data(); break;
    case 7: p = mMaximum.data(); break;
    case 11: p = mBandTableCopy.data(); break;
    case 12: p = mBandValuesA.data(); break;
    case 13: p = mBandValuesB.data(); break;
    default: break;
  }
  return reinterpret_cast<intptr_t>(p);
}

int CMFFT::GetName(char* buffer) {
  std::memcpy(buffer, "MFFT", 5);
  return 1;
}

void CMFFT::Process(double** in, double** out, int frames) {
  Push(in, out, frames, true, true);
}

void CMFFT::ProcessSpectrumOnly(double** in, double** out, int frames) {
  Push(in, out, frames, out != nullptr, false);
}

void CMFFT::Push(double** in, double** out, int frames, bool copyOut, bool bands) {
  if (!in || frames <= 0) return;
  const int channels = mNumInputChannels;
  if (copyOut && out && channels > 0) {
    for (int c = 0; c < channels; ++c) {
      if (in[c] && out[c] && in[c] != out[c]) {
        std::memmove(out[c], in[c], frames * sizeof(double));
      }
    }
  }
  for (int j = 0; j < frames; ++j) {
    double sum = 0.0;
    for (int c = 0; c < channels; ++c) {
      if (in[c]) sum += in[c][j];
    }
    mFrame[mBinCount + mWritePos] = sum;
    if (++mWritePos >= mBinCount) {
      mWritePos = 0;
      AnalyseFrame();
      if (bands && mBandSelector != 0) AnalyseBands();
      mReady = 1;
    }
  }
}

void CMFFT::AnalyseFrame() {
  const int n = mFrameLength;
  const int bins = mBinCount;
  const double decay = std::pow(10.0, -bins / (mSampleRate * 0.01));
  for (int i = 0; i < n; ++i) mTransform[i] = mFrame[i] * mWindow[i];
  mTransform[n] = 0.0;
  mTransform[n + 1] = 0.0;
  RealFFT(mTransform.data(), n, +1);
  // The Nyquist bin is not kept.
  for (int k = 0; k < bins; ++k) {
    const double re = mTransform[2 * k];
    const double im = mTransform[2 * k + 1];
    mMagnitude[k] = std::sqrt(re * re + im * im);
  }
  std::memmove(mFrame.data(), mFrame.data() + bins, bins * sizeof(double));

  // The average divides by the frames summed so far: the count starts at 1.
  const int c = mFrameCount;
  for (int k = 0; k < bins; ++k) {
    const double m = mMagnitude[k];
    mSum[k] += m;
    mAverage[k] = mSum[k] / c;
    mSmoothed[k] = (mSmoothed[k] - m) * decay + m;
    mMaximum[k] = std::max(mMaximum[k], m);
    mPeak[k] = m > mPeak[k] ? m : mPeak[k] * 0.25;
  }
  mFrameCount = c + 1;
}

void CMFFT::AnalyseBands() {
  const std::vector<double>* a = nullptr;
  const std::vector<double>* b = nullptr;
  switch (mBandSource) {
    case 0:
    case 2: a = &mAverage; b = &mSmoothed; break;
    case 1:
    case 3: a = &mMaximum; b = &mPeak; break;
    default: return;
  }
  MapBinsToBands(a->data(), mBinCount, mBandTable.data(), mBandCount, mBandValuesA.data(),
                 mSampleRate);
  MapBinsToBands(b->data(), mBinCount, mBandTable.data(), mBandCount, mBandValuesB.data(),
                 mSampleRate);
}

void CMFFT::MapBinsToBands(const double* bins, int binCount, const double* f, int bandCount,
                           double* out, double sampleRate) {
  if (binCount < 2 || bandCount < 1) return;
  const double nyquist = sampleRate * 0.5;
  // Kept as (fs/2) / (binCount - 1): stored references were made with it.
  const double w = nyquist / (binCount - 1);
  for (int b = 0; b < bandCount; ++b) {
    const double fu = b + 1 < bandCount ? f[b + 1] : f[bandCount - 1];
    if (!(fu <= nyquist)) continue;
    if (b == 0 || b == bandCount - 1) {
      const int k = std::min(static_cast<int>(f[b] / w), binCount - 1);
      out[b] = bins[std::max(k, 0)];
      continue;
    }
    const int lo = std::max(static_cast<int>(f[b - 1] / w), 0);
    const int hi = std::min(static_cast<int>(fu / w), binCount - 1);
    double sum = 0.0;
    for (int k = lo; k <= hi; ++k) sum += bins[k];
    out[b] = hi >= lo ? sum / (hi - lo + 1) : 0.0;
  }
}

int CMFFT::PointStep(int resolution) {
  switch (resolution) {
    case 0: return 8;
    case 1: return 4;
    case 2: return 2;
    default: return 1;
  }
}

int CMFFT::InitBandTable(int resolution) {
  std::memcpy(mPreferred, PreferredFrequencyTable(), sizeof(mPreferred));
  const int s = PointStep(resolution);
  int n = 0;
  for (int i = 0; i < kPreferredFrequencyCount; i += s) {
    if (mPreferred[i] >= 10.0 && mPreferred[i] <= 22050.0) ++n;
  }
  return n;
}

void CMFFT::GetBandFrequencies(int resolution, double* out) {
  const int s = PointStep(resolution);
  int n = 0;
  for (int i = 0; i < kPreferredFrequencyCount; i += s) {
    if (mPreferred[i] >= 10.0 && mPreferred[i] <= 22050.0) ++n;
  }
  for (int j = 0; j < n; ++j) out[j] = mPreferred[kPreferredFrequenciesBelow10Hz + j * s];
  if (n > 0) out[n - 1] = 22050.0;
}
