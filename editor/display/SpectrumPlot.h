#pragma once

#include <vector>

#include "graphics/IRECT.h"

// One variant (max hold, running or average) of one analyser source, as
// linear amplitudes: fractional-octave bands at ascending frequencies, and
// FFT bins, bin b at b * (rate / 2) / (binCount - 1) Hz.
struct SpectrumSeries {
  int bandCount = 0;
  const double* bandFrequencies = nullptr;
  const double* bandValues = nullptr;
  int binCount = 0;
  const double* bins = nullptr;
};

// The values of "Smooth Spectrum Curve".
enum ESpectrumStyle {
  kStyleSmoothed = 0,     // bins averaged over 8 columns, a point every 4
  kStyleIsoSmoothed = 1,  // the bands, a point every 2 columns
  kStyleRaw = 2,          // a point per bin
  kStyleIsoBar6 = 3,      // bars 1/6 ... 1/48 of an octave wide, from the bands
  kStyleIsoBar12 = 4,
  kStyleIsoBar24 = 5,
  kStyleIsoBar36 = 6,
  kStyleIsoBar48 = 7,
  kNumSpectrumStyles = 8
};

// The plot and the ranges a set is placed on.
struct SpectrumAxes {
  IRECT plot;
  double freqMinHz = 10.0;
  double freqMaxHz = 30000.0;
  double dbLo = -96.0;  // the analyser range
  double dbHi = 0.0;
  double eqDbLo = -60.0;  // the equaliser range, where differences are shown
  double eqDbHi = 36.0;
  double sampleRate = 44100.0;
  double slopeDbPerOctave = 0.0;  // tilt about 1 kHz
};

// What each level is adjusted by.
struct SpectrumTerms {
  double levelOffsetDb = 0.0;
  // Added to each level when set: the summed EQ response in dB, turning a
  // pre-filter spectrum into a predicted post-filter one.
  double (*eqResponse)(void* context, double frequency, int channel, int band) = nullptr;
  void* eqContext = nullptr;
  int eqChannel = 0;
  // When set, each point shows its level minus this set's level at the
  // same place (both floored at -144 dB), on the equaliser scale.
  const SpectrumSeries* reference = nullptr;
  double referenceOffsetDb = 0.0;
};

// A plotted point. x and y hold whole pixels.
struct SpectrumPoint {
  double frequencyHz;
  double shownDb;  // the level, or its difference from the reference
  double levelDb;  // before the difference, without tilt
  double tiltDb;
  double x;
  double y;       // of the shown value
  double yLevel;  // of level plus tilt on the analyser scale
};

// Turns one series into screen points in one of the eight styles and finds
// its loudest point. Its buffers grow to the largest set seen and are kept,
// so plotting a frame allocates nothing once the sizes have settled.
class SpectrumPlot {
 public:
  static constexpr double kFloorDb = -144.0;
  // The fractional-octave styles end here whatever the sample rate.
  static constexpr double kBandStylesTopHz = 22050.0;

  // False, with no points, for a style above 7, a plot without width or
  // height, or a series without the data the style reads. With binMap the
  // bin map is built as well (the colour strips read it).
  bool Plot(const SpectrumAxes& axes, const SpectrumSeries& data, int style, const SpectrumTerms& terms,
            bool binMap);

  const SpectrumPoint* Points() const { return mPoints.data(); }
  int Count() const { return static_cast<int>(mPoints.size()); }
  // Per bin of the series, the last point whose frequency lies at or below
  // the bin (0 below the first point).
  const int* BinMap() const { return mBinMap.data(); }
  int BinMapSize() const { return static_cast<int>(mBinMap.size()); }
  // The loudest point inside the shown range, level plus tilt; -144 dB at
  // 0 Hz when no point was louder. In the smoothed style its frequency is
  // that of the loudest bin under the point, not the point's own.
  double PeakHz() const { return mPeakHz; }
  double PeakDb() const { return mPeakDb; }

  static bool IsBarStyle(int style) { return style >= kStyleIsoBar6 && style <= kStyleIsoBar48; }
  // Columns per bar (at least 1).
  static int BarUnit(int style, int plotWidth);
  // A linear amplitude in dB; -360 dB for silence (and NaN).
  static double AmplitudeToDb(double amplitude);

 private:
  struct Context;
  void PlotBins(const Context& c, const SpectrumSeries& data);
  double LoudestBinHz(const Context& c, const SpectrumSeries& data, int lo, int hi) const;
  void PlotRawBins(const Context& c, const SpectrumSeries& data);
  void PlotBands(const Context& c, const SpectrumSeries& data, int step, bool bars);
  void AddPoint(const Context& c, double fc, double valueDb, double referenceDb, int x, int startBin);
  void BuildBinMap(int binCount);

  std::vector<SpectrumPoint> mPoints;
  std::vector<int> mStartBins;  // per point, the first bin it claims
  std::vector<int> mBinMap;
  double mPeakHz = 0.0;
  double mPeakDb = kFloorDb;
};
