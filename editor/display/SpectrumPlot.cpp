#include "editor/display/SpectrumPlot.h"

#include <algorithm>
#include <cmath>

#include "dsp/Levels.h"
#include "editor/display/PlotMapping.h"

namespace {

constexpr double kSilentAmplitude = 9.999999999999999e-31;
constexpr double kSilentDb = -360.0;
// Minus log2(1000): the tilt is zero at 1 kHz.
constexpr double kTiltCentre = -9.965784284662087;

// The bar styles' widths: the plot width divided by these, in columns.
constexpr int kBarDivisors[5] = {18, 36, 72, 108, 144};

// The mean of bins lo..hi when they span two bins or more; otherwise the
// magnitude at f on the line from bin lo to bin lo + 1, never beyond them
// (the last bin's own value when lo is the last bin).
double BinMagnitude(const double* bins, int count, int lo, int hi, double f, double binsPerHz) {
  if (hi - lo >= 2) {
    double sum = 0.0;
    for (int b = lo; b <= hi; ++b) sum += bins[b];
    return sum / (hi - lo + 1);
  }
  if (lo >= count - 1) return bins[count - 1];
  const double t = std::clamp(f * binsPerHz - lo, 0.0, 1.0);
  return bins[lo] + t * (bins[lo + 1] - bins[lo]);
}

// On the straight line (in Hz) through the last band at or below f and the
// band after it, in dB. Outside the bands the end band's level holds: the
// bands need not reach the shown range.
double BandLevelDb(const SpectrumSeries& s, double f) {
  const int n = s.bandCount;
  const double* freqs = s.bandFrequencies;
  const int a = static_cast<int>(std::upper_bound(freqs, freqs + n, f) - freqs) - 1;
  if (a < 0) return SpectrumPlot::AmplitudeToDb(s.bandValues[0]);
  if (a >= n - 1) return SpectrumPlot::AmplitudeToDb(s.bandValues[n - 1]);
  const double dA = SpectrumPlot::AmplitudeToDb(s.bandValues[a]);
  const double dB = SpectrumPlot::AmplitudeToDb(s.bandValues[a + 1]);
  const double span = freqs[a + 1] - freqs[a];
  if (!(span > 0.0)) return dA;
  return dA + (dB - dA) * (f - freqs[a]) / span;
}

bool HasBins(const SpectrumSeries* s) { return s && s->binCount > 0 && s->bins; }
bool HasBands(const SpectrumSeries* s) { return s && s->bandCount > 0 && s->bandFrequencies && s->bandValues; }

}  // namespace

struct SpectrumPlot::Context {
  const SpectrumAxes& axes;
  const SpectrumTerms& terms;
  PlotMapping map;
  double nyquistHz;
  double binsPerHz;  // of the plotted series
  int binCount;

  // x of a frequency, in the plot: the 0 Hz bin lies at the left edge.
  int XOf(double hz) const { return std::clamp(map.XOf(hz), map.L, map.R); }
  // The first bin a point at hz claims in the bin map.
  int StartBin(double hz) const { return std::clamp(TruncPixel(binsPerHz * hz), 0, binCount); }
};

double SpectrumPlot::AmplitudeToDb(double amplitude) {
  const double a = std::fabs(amplitude);
  return a > kSilentAmplitude ? Levels::kLogToDb * std::log(a) : kSilentDb;
}

int SpectrumPlot::BarUnit(int style, int plotWidth) {
  if (!IsBarStyle(style)) return 1;
  return std::max(1, plotWidth / kBarDivisors[style - kStyleIsoBar6]);
}

bool SpectrumPlot::Plot(const SpectrumAxes& axes, const SpectrumSeries& data, int style, const SpectrumTerms& terms,
                        bool binMap) {
  mPoints.clear();
  mStartBins.clear();
  mBinMap.clear();
  mPeakHz = 0.0;
  mPeakDb = kFloorDb;
  if (style < 0 || style >= kNumSpectrumStyles || !(axes.sampleRate > 0.0)) return false;
  const bool fromBins = style == kStyleSmoothed || style == kStyleRaw;
  if (fromBins ? !HasBins(&data) : !HasBands(&data)) return false;

  const double nyquist = axes.sampleRate / 2.0;
  const int n = HasBins(&data) ? data.binCount : 0;
  const Context c{axes, terms, PlotMapping(axes.plot, axes.freqMinHz, axes.freqMaxHz), nyquist,
                  n > 1 ? (n - 1) / nyquist : 0.0, n};
  if (c.map.W <= 0 || c.map.H <= 0) return false;

  if (style == kStyleSmoothed) {
    PlotBins(c, data);
  } else if (style == kStyleRaw) {
    PlotRawBins(c, data);
  } else if (style == kStyleIsoSmoothed) {
    PlotBands(c, data, 2, false);
  } else {
    PlotBands(c, data, BarUnit(style, c.map.W), true);
  }
  if (binMap && n > 0) BuildBinMap(n);
  return true;
}

void SpectrumPlot::PlotBins(const Context& c, const SpectrumSeries& data) {
  const int n = data.binCount;
  const int w = c.map.W;
  const SpectrumSeries* ref = HasBins(c.terms.reference) ? c.terms.reference : nullptr;
  int peakLo = -1, peakHi = -1;
  for (int i = 0; i < w; i += 4) {
    const double f = c.map.ColumnHz(i);
    if (f > c.nyquistHz) continue;
    const double fc = std::max(f, 1.0);
    // The bins under the eight columns around this one.
    const int lo = std::clamp(TruncPixel(c.binsPerHz * c.map.ColumnHz(std::max(i - 4, 0))), 0, n - 1);
    const int hi = std::clamp(TruncPixel(c.binsPerHz * c.map.ColumnHz(std::min(i + 4, w - 1))), 0, n - 1);
    const double value = BinMagnitude(data.bins, n, lo, hi, f, c.binsPerHz);
    double refValue = 0.0;
    if (ref) {
      const int last = ref->binCount - 1;
      refValue = BinMagnitude(ref->bins, ref->binCount, std::min(lo, last), std::min(hi, last), f, c.binsPerHz);
    }
    const double peakBefore = mPeakDb;
    AddPoint(c, fc, AmplitudeToDb(value), AmplitudeToDb(refValue), c.XOf(fc), c.StartBin(fc));
    if (mPeakDb != peakBefore) {
      peakLo = lo;
      peakHi = hi;
    }
  }
  if (peakLo >= 0) mPeakHz = LoudestBinHz(c, data, peakLo, peakHi);
}

// A point here stands for the mean of the bins under eight columns, so the
// loudest point lies where its window first reaches a strong bin, up to four
// columns off: the tone itself is the loudest bin under that point (or just
// beside it, or up the flank the window holds), placed between bins by a
// parabola through its neighbours.
double SpectrumPlot::LoudestBinHz(const Context& c, const SpectrumSeries& data, int lo, int hi) const {
  const int n = data.binCount;
  const double hzPerBin = 1.0 / c.binsPerHz;
  const auto seen = [&](int b) {
    const double hz = std::max(b * hzPerBin, 1.0);
    return AmplitudeToDb(data.bins[b]) + (std::log2(hz) + kTiltCentre) * c.axes.slopeDbPerOctave;
  };
  const int first = std::max(lo - 1, 0), last = std::min(std::max(hi, lo + 1) + 1, n - 1);
  int best = first;
  for (int b = first + 1; b <= last; ++b) {
    if (seen(b) > seen(best)) best = b;
  }
  // The analyser's bins spread a tone over several of them; the window may
  // hold only the flank.
  while (best > 0 && seen(best - 1) > seen(best)) --best;
  while (best < n - 1 && seen(best + 1) > seen(best)) ++best;
  double offset = 0.0;
  if (best > 0 && best < n - 1) {
    const double left = seen(best - 1), centre = seen(best), right = seen(best + 1);
    const double curvature = left - 2.0 * centre + right;
    if (curvature < 0.0) offset = std::clamp(0.5 * (left - right) / curvature, -0.5, 0.5);
  }
  return std::clamp((best + offset) * hzPerBin, c.axes.freqMinHz, c.axes.freqMaxHz);
}

void SpectrumPlot::PlotRawBins(const Context& c, const SpectrumSeries& data) {
  const int n = data.binCount;
  const SpectrumSeries* ref = HasBins(c.terms.reference) ? c.terms.reference : nullptr;
  for (int b = 0; b < n; ++b) {
    const double fc = n > 1 ? b * c.nyquistHz / (n - 1) : 0.0;
    if (fc > c.axes.freqMaxHz) break;
    const double refValue = ref ? ref->bins[std::min(b, ref->binCount - 1)] : 0.0;
    // Point b claims bin b exactly: its frequency times the bins per hertz
    // may round to the bin below.
    AddPoint(c, fc, AmplitudeToDb(data.bins[b]), AmplitudeToDb(refValue), c.XOf(fc), b);
  }
}

void SpectrumPlot::PlotBands(const Context& c, const SpectrumSeries& data, int step, bool bars) {
  const SpectrumSeries* ref = HasBands(c.terms.reference) ? c.terms.reference : nullptr;
  for (int i = 0; i < c.map.W; i += step) {
    const double f = c.map.ColumnHz(i);
    if (f > kBandStylesTopHz) continue;
    const double fc = std::min(std::max(f, 1.0), c.nyquistHz);
    const double refDb = ref ? BandLevelDb(*ref, fc) : kSilentDb;
    AddPoint(c, fc, BandLevelDb(data, fc), refDb, bars ? c.map.L + i : c.XOf(fc), c.StartBin(fc));
  }
}

void SpectrumPlot::AddPoint(const Context& c, double fc, double valueDb, double referenceDb, int x, int startBin) {
  const SpectrumTerms& t = c.terms;
  const SpectrumAxes& a = c.axes;
  double level = valueDb + t.levelOffsetDb;
  if (t.eqResponse) level += t.eqResponse(t.eqContext, fc, t.eqChannel, -1);
  const double tilt = (std::log2(std::max(fc, 1.0)) + kTiltCentre) * a.slopeDbPerOctave;

  SpectrumPoint p;
  p.frequencyHz = fc;
  p.levelDb = level;
  p.tiltDb = tilt;
  p.x = x;
  p.yLevel = c.map.YOfFraction((level + tilt - a.dbLo) / (a.dbHi - a.dbLo));
  if (t.reference) {
    // A difference sits on the equaliser's scale, untilted.
    p.shownDb = std::max(level, kFloorDb) - std::max(referenceDb + t.referenceOffsetDb, kFloorDb);
    p.y = c.map.YOfFraction((p.shownDb - a.eqDbLo) / (a.eqDbHi - a.eqDbLo));
  } else {
    p.shownDb = level;
    p.y = p.yLevel;
  }
  mPoints.push_back(p);
  mStartBins.push_back(startBin);

  if (fc >= a.freqMinHz && fc <= a.freqMaxHz && level + tilt > mPeakDb) {
    mPeakDb = level + tilt;
    mPeakHz = fc;
  }
}

// Each bin gets the last point that claims it or a bin below it: one pass
// marking where each point starts, one running maximum over the bins.
void SpectrumPlot::BuildBinMap(int binCount) {
  mBinMap.assign(binCount, 0);
  for (int k = 0; k < Count(); ++k) {
    const int s = mStartBins[k];
    if (s < binCount) mBinMap[s] = std::max(mBinMap[s], k);
  }
  int last = 0;
  for (int& entry : mBinMap) {
    last = std::max(last, entry);
    entry = last;
  }
}
