#pragma once

#include "dsp/analyzer/CPluginProcessor.h"
#include "dsp/analyzer/PreferredFrequencies.h"

#include <vector>

// Analyser FFT processor: sums its input channels to mono, cuts the stream
// into half-overlapping frames of 2 x binCount samples, windows (4-term
// Blackman-Harris, sum 10^0.4) and transforms each frame, and keeps per-bin
// magnitude statistics (average since the last clear, smoothed, maximum
// hold, fast-decaying peak) plus optional fractional-octave band values.
// A steady sine of amplitude A on a bin reads about 1.256 A there.
//
// Parameters: 0 bin count (a power of two; other values are rounded up to
// one, values below 2 are refused), 1 band selector (0 none, 2..5: 3, 6,
// 12, 24 bands per octave, else 1), 2 band source (0/2 average and
// smoothed, 1/3 maximum and peak), 3 clears the statistics.
// Info: GetInfoDouble 1 band selector, 5 bin count, 9 ready, 10 band count;
// GetInfoInt 6 and 8 the average, 7 the maximum hold, 11 the band
// frequencies, 12 band values A, 13 band values B.
class CMFFT : public CPluginProcessor {
 public:
  static constexpr int kMaxBinCount = 1 << 18;

  CMFFT();
  ~CMFFT() override = default;

  void Process(double** in, double** out, int frames) override;
  void SetNumInputChannels(int n) override;
  void SetNumOutputChannels(int n) override;
  void SetSampleRate(double fs) override;
  int GetNumParameters() override { return 4; }
  void SetParameter(int index, double value) override;
  double GetParameter(int index) override;
  double GetInfoDouble(int id) override;
  intptr_t GetInfoInt(int id) override;
  int GetName(char* buffer) override;

  // Rebuilds every buffer; the statistics start again.
  void Init();
  // As Process, but copies to `out` only when it is non-null and never runs
  // the band analysis.
  void ProcessSpectrumOnly(double** in, double** out, int frames);

  // Copies the preferred-frequency table into the object and returns the
  // number of points at every s-th entry (s = 8, 4, 2, 1 for resolution 0,
  // 1, 2, 3; 1 otherwise) that lie in 10..22050 Hz: 34, 67, 134, 268.
  int InitBandTable(int resolution);
  // Those points from 10 Hz on, the last replaced by 22050 Hz.
  void GetBandFrequencies(int resolution, double* out);
  // Band averages of a magnitude spectrum of binCount bins spanning 0..fs/2
  // (bin width (fs/2) / (binCount - 1)). Bands whose upper neighbour lies
  // above fs/2 keep their previous value in out.
  static void MapBinsToBands(const double* bins, int binCount, const double* bandFreqs,
                             int bandCount, double* out, double sampleRate);

  int GetBinCount() const { return mBinCount; }
  int GetBandCount() const { return mBandCount; }

 private:
  void Push(double** in, double** out, int frames, bool copyOut, bool bands);
  void AnalyseFrame();
  void AnalyseBands();
  void ClearStatistics();
  static int PointStep(int resolution);

  int mBandSelector = 0;
  int mBinCount = 4096;
  int mBandSource = 0;
  int mFrameLength = 0;
  std::vector<double> mTransform;
  std::vector<double> mWindow;
  std::vector<double> mFrame;  // the mono frame
  int mWritePos = 0;
  int mBandCount = 0;
  std::vector<double> mBandTable;
  std::vector<double> mMagnitude;
  std::vector<double> mMaximum;
  std::vector<double> mPeak;
  std::vector<double> mAverage;
  std::vector<double> mSmoothed;
  std::vector<double> mSum;
  int mFrameCount = 1;
  int mBandsPerOctave = 1;
  std::vector<double> mBandValuesA;
  std::vector<double> mBandValuesB;
  std::vector<double> mBandTableCopy;
  int mReady = 0;
  double mPreferred[kPreferredFrequencyCount];
};
