#include "editor/display/SpectrumPlot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The editor's plot at 100 %: 100,89 - 781,423.
constexpr int kL = 100, kT = 89, kR = 781, kB = 423;
constexpr int kW = kR - kL, kH = kB - kT;

// The display's definitions, written out for the tests.
double ColumnHz(int i, double fmin = 10.0, double fmax = 30000.0) {
  return std::pow(10.0, std::log10(fmin) + static_cast<double>(i) / kW * (std::log10(fmax) - std::log10(fmin)));
}
int XOf(double hz, double fmax = 30000.0) {
  return kL + static_cast<int>(kW * (std::log10(hz) - 1.0) / (std::log10(fmax) - 1.0));
}
int YOf(double db, double lo, double hi) { return kB - static_cast<int>(kH * (db - lo) / (hi - lo)); }
double Db(double amplitude) { return 20.0 * std::log10(amplitude); }
double Tilt(double hz, double slope) { return slope * std::log2(std::max(hz, 1.0) / 1000.0); }

class SpectrumPlotTest : public ::testing::Test {
 protected:
  SpectrumPlotTest() {
    axes.plot = IRECT(kL, kT, kR, kB);
    axes.sampleRate = 48000.0;
  }

  // n bins of the given amplitudes as the series' bins.
  SpectrumSeries Bins(const std::vector<double>& values) {
    binValues = values;
    SpectrumSeries s;
    s.binCount = static_cast<int>(binValues.size());
    s.bins = binValues.data();
    return s;
  }
  SpectrumSeries Bands(const std::vector<double>& hz, const std::vector<double>& values) {
    bandHz = hz;
    bandValues = values;
    SpectrumSeries s;
    s.bandCount = static_cast<int>(hz.size());
    s.bandFrequencies = bandHz.data();
    s.bandValues = bandValues.data();
    return s;
  }
  double BinHz(int b, int n) const { return b * (axes.sampleRate / 2.0) / (n - 1); }

  SpectrumAxes axes;
  SpectrumTerms terms;
  SpectrumPlot plot;
  std::vector<double> binValues, bandHz, bandValues;
};

TEST_F(SpectrumPlotTest, EachStyleSamplesItsOwnColumns) {
  const double nyquist = 24000.0;
  SpectrumSeries s = Bins(std::vector<double>(4097, 0.5));
  SpectrumSeries bands = Bands({10.0, 30000.0}, {0.5, 0.5});
  s.bandCount = bands.bandCount;
  s.bandFrequencies = bands.bandFrequencies;
  s.bandValues = bands.bandValues;
  const struct {
    int style;
    int step;
    double topHz;
    bool barX;
  } rows[] = {{kStyleSmoothed, 4, nyquist, false},      {kStyleIsoSmoothed, 2, 22050.0, false},
              {kStyleIsoBar6, kW / 18, 22050.0, true},  {kStyleIsoBar12, kW / 36, 22050.0, true},
              {kStyleIsoBar24, kW / 72, 22050.0, true}, {kStyleIsoBar36, kW / 108, 22050.0, true},
              {kStyleIsoBar48, kW / 144, 22050.0, true}};
  for (const auto& r : rows) {
    ASSERT_TRUE(plot.Plot(axes, s, r.style, terms, false)) << r.style;
    std::vector<int> columns;
    for (int i = 0; i < kW; i += r.step) {
      if (ColumnHz(i) <= r.topHz) columns.push_back(i);
    }
    ASSERT_EQ(plot.Count(), static_cast<int>(columns.size())) << r.style;
    for (int k = 0; k < plot.Count(); ++k) {
      const SpectrumPoint& p = plot.Points()[k];
      const double fc = std::max(ColumnHz(columns[k]), 1.0);
      EXPECT_DOUBLE_EQ(p.frequencyHz, fc) << r.style << " " << k;
      EXPECT_EQ(p.x, r.barX ? kL + columns[k] : XOf(fc)) << r.style << " " << k;
      EXPECT_NEAR(p.levelDb, Db(0.5), 1e-9) << r.style << " " << k;
    }
  }
  EXPECT_EQ(SpectrumPlot::BarUnit(kStyleIsoBar48, 100), 1);  // never 0 columns
}

TEST_F(SpectrumPlotTest, SmoothedAveragesTheBinsUnderEightColumnsOrInterpolatesBetweenTwo) {
  const int n = 4097;
  std::vector<double> ramp(n);
  for (int b = 0; b < n; ++b) ramp[b] = 1.0 + 0.01 * b;
  const SpectrumSeries s = Bins(ramp);
  ASSERT_TRUE(plot.Plot(axes, s, kStyleSmoothed, terms, false));
  const double binsPerHz = (n - 1) / 24000.0;
  int averaged = 0, interpolated = 0;
  for (int k = 0; k < plot.Count(); ++k) {
    const int i = 4 * k;
    const double f = ColumnHz(i);
    const int lo = std::min(static_cast<int>(binsPerHz * ColumnHz(std::max(i - 4, 0))), n - 1);
    const int hi = std::min(static_cast<int>(binsPerHz * ColumnHz(std::min(i + 4, kW - 1))), n - 1);
    double expected;
    if (hi - lo >= 2) {
      // The mean of a ramp over lo..hi is the ramp at their middle.
      expected = 1.0 + 0.01 * (lo + hi) / 2.0;
      ++averaged;
    } else {
      expected = 1.0 + 0.01 * std::min(f * binsPerHz, lo + 1.0);
      ++interpolated;
    }
    EXPECT_NEAR(plot.Points()[k].levelDb, Db(expected), 1e-9) << k;
  }
  EXPECT_GT(averaged, 10);
  EXPECT_GT(interpolated, 10);
}

TEST_F(SpectrumPlotTest, BandStylesFollowTheLineBetweenBandsAndHoldTheEndBandsOutside) {
  // 0, -20 and -40 dB at 100 Hz, 1 kHz and 10 kHz: the plot reaches below
  // the first band and above the last.
  const SpectrumSeries s = Bands({100.0, 1000.0, 10000.0}, {1.0, 0.1, 0.01});
  for (int style : {kStyleIsoSmoothed, kStyleIsoBar24}) {
    ASSERT_TRUE(plot.Plot(axes, s, style, terms, false));
    int below = 0, above = 0;
    for (int k = 0; k < plot.Count(); ++k) {
      const SpectrumPoint& p = plot.Points()[k];
      const double f = p.frequencyHz;
      double expected;
      if (f < 100.0) {
        expected = 0.0;
        ++below;
      } else if (f >= 10000.0) {
        expected = -40.0;
        ++above;
      } else if (f < 1000.0) {
        expected = -20.0 * (f - 100.0) / 900.0;
      } else {
        expected = -20.0 - 20.0 * (f - 1000.0) / 9000.0;
      }
      EXPECT_NEAR(p.levelDb, expected, 1e-9) << style << " " << f;
    }
    EXPECT_GT(below, 0);
    EXPECT_GT(above, 0);
  }
}

TEST_F(SpectrumPlotTest, RawPlotsEveryBinUpToTheTopOfTheRangeFromTheLeftEdge) {
  axes.freqMaxHz = 20000.0;
  const int n = 513;
  std::vector<double> values(n);
  for (int b = 0; b < n; ++b) values[b] = 0.001 * (b + 1);
  values[0] = 0.0;  // silence: -360 dB
  ASSERT_TRUE(plot.Plot(axes, Bins(values), kStyleRaw, terms, false));
  int expectedCount = 0;
  while (expectedCount < n && BinHz(expectedCount, n) <= 20000.0) ++expectedCount;
  ASSERT_EQ(plot.Count(), expectedCount);
  // The 0 Hz bin lies at the plot's left edge.
  EXPECT_EQ(plot.Points()[0].x, kL);
  EXPECT_EQ(plot.Points()[0].levelDb, -360.0);
  for (int b = 1; b < plot.Count(); ++b) {
    const SpectrumPoint& p = plot.Points()[b];
    EXPECT_DOUBLE_EQ(p.frequencyHz, BinHz(b, n));
    EXPECT_EQ(p.x, XOf(BinHz(b, n), 20000.0)) << b;
    EXPECT_NEAR(p.levelDb, Db(values[b]), 1e-9) << b;
  }
}

TEST_F(SpectrumPlotTest, OffsetEqAndTiltAddUpOnTheAnalyserScale) {
  axes.slopeDbPerOctave = 4.5;
  terms.levelOffsetDb = -6.0;
  struct Eq {
    int calls = 0;
    static double Response(void* context, double hz, int channel, int band) {
      auto* self = static_cast<Eq*>(context);
      ++self->calls;
      EXPECT_EQ(channel, 3);
      EXPECT_EQ(band, -1);
      return hz < 1000.0 ? 2.0 : -3.0;
    }
  } eq;
  terms.eqResponse = &Eq::Response;
  terms.eqContext = &eq;
  terms.eqChannel = 3;
  const SpectrumSeries s = Bands({10.0, 30000.0}, {0.1, 0.1});
  ASSERT_TRUE(plot.Plot(axes, s, kStyleIsoSmoothed, terms, false));
  EXPECT_EQ(eq.calls, plot.Count());
  for (int k = 0; k < plot.Count(); ++k) {
    const SpectrumPoint& p = plot.Points()[k];
    const double level = -20.0 - 6.0 + (p.frequencyHz < 1000.0 ? 2.0 : -3.0);
    const double tilt = Tilt(p.frequencyHz, 4.5);
    EXPECT_NEAR(p.levelDb, level, 1e-9);
    EXPECT_NEAR(p.tiltDb, tilt, 1e-9);
    EXPECT_EQ(p.shownDb, p.levelDb);
    EXPECT_EQ(p.y, YOf(level + tilt, -96.0, 0.0)) << p.frequencyHz;
    EXPECT_EQ(p.yLevel, p.y);
  }
}

TEST_F(SpectrumPlotTest, ADifferenceFromTheReferenceSitsUntiltedOnTheEqualiserScale) {
  axes.slopeDbPerOctave = 3.0;
  const int n = 257;
  // The reference is shorter: its indices are clamped to its own bins.
  std::vector<double> reference(200, 0.01);  // -40 dB
  reference[0] = 0.0;
  SpectrumSeries ref;
  ref.binCount = static_cast<int>(reference.size());
  ref.bins = reference.data();
  terms.reference = &ref;
  terms.referenceOffsetDb = 4.0;
  std::vector<double> values(n, 0.1);  // -20 dB
  values[0] = 0.0;
  ASSERT_TRUE(plot.Plot(axes, Bins(values), kStyleRaw, terms, false));
  // 0 Hz: both silent, both floored at -144 dB.
  EXPECT_NEAR(plot.Points()[0].shownDb, 0.0, 1e-12);
  for (int b = 1; b < plot.Count(); ++b) {
    const SpectrumPoint& p = plot.Points()[b];
    const double shown = -20.0 - (-40.0 + 4.0);
    EXPECT_NEAR(p.shownDb, shown, 1e-9) << b;
    EXPECT_EQ(p.y, YOf(shown, -60.0, 36.0)) << b;
    EXPECT_EQ(p.yLevel, YOf(-20.0 + Tilt(p.frequencyHz, 3.0), -96.0, 0.0)) << b;
  }
}

TEST_F(SpectrumPlotTest, ThePeakIsTheLoudestPointInsideTheShownRange) {
  axes.freqMinHz = 100.0;
  axes.freqMaxHz = 10000.0;
  axes.slopeDbPerOctave = 0.0;
  const int n = 4097;
  std::vector<double> values(n, 0.001);
  values[0] = 10.0;  // 0 Hz, below the range
  const int loud = 1000, louder = 300;
  values[loud] = 0.5;    // 5.86 kHz
  values[louder] = 0.4;  // 1.76 kHz, quieter
  values[2000] = 0.9;    // 11.7 kHz: above the range, where raw points stop
  ASSERT_TRUE(plot.Plot(axes, Bins(values), kStyleRaw, terms, false));
  EXPECT_DOUBLE_EQ(plot.PeakHz(), BinHz(loud, n));
  EXPECT_NEAR(plot.PeakDb(), Db(0.5), 1e-9);

  // Nothing above the floor: the peak stays at -144 dB, 0 Hz.
  ASSERT_TRUE(plot.Plot(axes, Bins(std::vector<double>(n, 0.0)), kStyleRaw, terms, false));
  EXPECT_EQ(plot.PeakDb(), -144.0);
  EXPECT_EQ(plot.PeakHz(), 0.0);
}

// Each bin maps to the last point whose own bin is at or below it: the
// map's definition, written as the direct double loop.
std::vector<int> DirectBinMap(const SpectrumPlot& plot, int n, double binsPerHz, bool raw) {
  std::vector<int> map(n, 0);
  for (int k = 0; k < plot.Count(); ++k) {
    const int start = raw ? k : static_cast<int>(binsPerHz * plot.Points()[k].frequencyHz);
    for (int b = start; b < n; ++b) map[b] = k;
  }
  return map;
}

TEST_F(SpectrumPlotTest, TheBinMapMatchesItsDirectDefinition) {
  const int n = 2049;
  SpectrumSeries s = Bins(std::vector<double>(n, 0.2));
  const SpectrumSeries bands = Bands({20.0, 20000.0}, {0.2, 0.2});
  s.bandCount = bands.bandCount;
  s.bandFrequencies = bands.bandFrequencies;
  s.bandValues = bands.bandValues;
  const double binsPerHz = (n - 1) / 24000.0;
  for (int style : {kStyleSmoothed, kStyleIsoSmoothed, kStyleRaw, kStyleIsoBar6}) {
    // Zoomed in, so the first point claims a bin far above 0.
    axes.freqMinHz = style == kStyleRaw ? 10.0 : 200.0;
    ASSERT_TRUE(plot.Plot(axes, s, style, terms, true));
    ASSERT_EQ(plot.BinMapSize(), n);
    const std::vector<int> expected = DirectBinMap(plot, n, binsPerHz, style == kStyleRaw);
    EXPECT_EQ(std::vector<int>(plot.BinMap(), plot.BinMap() + n), expected) << style;
    EXPECT_EQ(plot.BinMap()[0], 0) << style;
  }
  // Without the strips no map is built.
  ASSERT_TRUE(plot.Plot(axes, s, kStyleRaw, terms, false));
  EXPECT_EQ(plot.BinMapSize(), 0);
}

TEST_F(SpectrumPlotTest, NothingIsPlottedWithoutTheDataAStyleReads) {
  const SpectrumSeries bins = Bins(std::vector<double>(64, 0.1));
  const SpectrumSeries bands = Bands({100.0, 1000.0}, {0.1, 0.1});
  const struct {
    const SpectrumSeries* s;
    int style;
  } rows[] = {{&bins, 8}, {&bins, -1}, {&bins, kStyleIsoSmoothed}, {&bins, kStyleIsoBar12},
              {&bands, kStyleSmoothed}, {&bands, kStyleRaw}};
  for (const auto& r : rows) {
    EXPECT_FALSE(plot.Plot(axes, *r.s, r.style, terms, true)) << r.style;
    EXPECT_EQ(plot.Count(), 0);
    EXPECT_EQ(plot.PeakDb(), -144.0);
  }
  SpectrumAxes flat = axes;
  flat.plot = IRECT(kL, kT, kL, kB);
  EXPECT_FALSE(plot.Plot(flat, bins, kStyleSmoothed, terms, true));
  SpectrumAxes noRate = axes;
  noRate.sampleRate = 0.0;
  EXPECT_FALSE(plot.Plot(noRate, bins, kStyleSmoothed, terms, true));
}

TEST_F(SpectrumPlotTest, ASetWhoseHalfRateLiesBelowTheRangeHasNoPoints) {
  // 16 Hz sampling: every column lies above half the rate.
  axes.sampleRate = 16.0;
  EXPECT_TRUE(plot.Plot(axes, Bins(std::vector<double>(9, 0.1)), kStyleSmoothed, terms, true));
  EXPECT_EQ(plot.Count(), 0);
  EXPECT_EQ(plot.BinMapSize(), 9);
  for (int b = 0; b < 9; ++b) EXPECT_EQ(plot.BinMap()[b], 0);
  // One bin: one point at 0 Hz.
  EXPECT_TRUE(plot.Plot(axes, Bins({0.1}), kStyleRaw, terms, true));
  EXPECT_EQ(plot.Count(), 1);
}

}  // namespace
