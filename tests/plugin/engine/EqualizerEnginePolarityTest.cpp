#include "plugin/engine/EqualizerEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "plugin/engine/BandTypes.h"
#include "tests/plugin/engine/EngineTestSupport.h"

namespace {

using EngineTestSupport::Channels;
using EngineTestSupport::kPi;
constexpr double kRate = 48000.0;
constexpr double kCutoff = 200.0;

// Impulse response of a Butterworth high-pass of the given order by the
// bilinear transform of its analogue prototype, s = K (1 - z^-1) / (1 + z^-1)
// with K = 1 / tan(pi fc / fs): each pole p of the prototype gives the
// factor s / (s - p), a conjugate pair one real second-order section.
std::vector<double> ButterworthHighPassImpulse(int order, double cutoff, double rate, int length) {
  const double k = 1.0 / std::tan(kPi * cutoff / rate);
  struct Section {
    double b0, b1, b2, a1, a2;
  };
  std::vector<Section> sections;
  for (int i = 1; i <= order / 2; ++i) {
    const std::complex<double> p = std::polar(1.0, kPi / 2 + (2.0 * i - 1) * kPi / (2.0 * order));
    // k^2 (1 - z^-1)^2 / (((k - p) - (k + p) z^-1) ((k - p*) - (k + p*) z^-1))
    const double d0 = std::norm(k - p);
    const double d1 = -2.0 * ((k - p) * std::conj(k + p)).real();
    const double d2 = std::norm(k + p);
    sections.push_back({k * k / d0, -2.0 * k * k / d0, k * k / d0, d1 / d0, d2 / d0});
  }
  if (order % 2) {  // pole -1: k (1 - z^-1) / ((k + 1) - (k - 1) z^-1)
    sections.push_back({k / (k + 1), -k / (k + 1), 0.0, -(k - 1) / (k + 1), 0.0});
  }
  std::vector<double> y = EngineTestSupport::Impulse(length, 0);
  for (const Section& s : sections) {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (double& v : y) {
      const double out = s.b0 * v + s.b1 * x1 + s.b2 * x2 - s.a1 * y1 - s.a2 * y2;
      x2 = x1;
      x1 = v;
      y2 = y1;
      y1 = out;
      v = out;
    }
  }
  return y;
}

// The correlation of that high-pass with its zero-phase twin (the same
// magnitude, no phase), which is what the LinearPhase modes make of it:
// the integral of |H| Re H over that of |H|^2, on a fine grid to Nyquist.
double ZeroPhaseTwinCorrelation(int order, double cutoff, double rate) {
  const double k = 1.0 / std::tan(kPi * cutoff / rate);
  const int points = 20000;
  double cross = 0.0, energy = 0.0;
  for (int i = 0; i < points; ++i) {
    const double w = kPi * (i + 0.5) / points;
    const std::complex<double> s(0.0, k * std::tan(w / 2));
    std::complex<double> h(1.0, 0.0);
    for (int j = 1; j <= order; ++j) h *= s / (s - std::polar(1.0, kPi / 2 + (2.0 * j - 1) * kPi / (2.0 * order)));
    cross += std::abs(h) * h.real();
    energy += std::norm(h);
  }
  return cross / energy;
}

// Normalised cross-correlation of the output, `delay` samples late, with
// the reference: +1 for the same waveform, -1 for it upside down.
double Correlation(const std::vector<double>& out, int delay, const std::vector<double>& reference) {
  double cross = 0.0, outEnergy = 0.0, referenceEnergy = 0.0;
  for (double v : out) outEnergy += v * v;
  for (size_t i = 0; i < reference.size(); ++i) {
    referenceEnergy += reference[i] * reference[i];
    if (delay + i < out.size()) cross += out[delay + i] * reference[i];
  }
  return cross / std::sqrt(outEnergy * referenceEnergy);
}

class EnginePolarity : public ::testing::TestWithParam<int> {};

// "D - Low Cut" at every order keeps the polarity of what it passes, in
// every filter mode: its impulse response lines up with the Butterworth
// high-pass's (upside down it would correlate negatively). The LinearPhase
// modes keep only the magnitude, so they correlate with it as its
// zero-phase twin does.
TEST_P(EnginePolarity, DLowCutPassesTheSignalTheRightWayUp) {
  const int filterMode = GetParam();
  const bool linearPhase = FirImpulseBuilder::IsLinearPhase(filterMode);
  for (int order = 1; order <= 16; ++order) {
    ParamMirrors m;
    m.bandActive[0] = 1;
    m.bandType[0] = kTypeDLowCut;
    m.bandFreq[0] = kCutoff;
    m.bandSlope[0] = order - 1;
    m.bandQ[0] = 0.7;  // no resonance
    EqualizerEngine engine(&m);
    EngineTestSupport::FakeHost host;
    engine.SetHost(&host);
    engine.Setup(kRate, 512, 1, 1);
    engine.DesignProcessBands(-1);
    engine.DesignDisplayBands(-1);
    EngineTestSupport::ApplyModes(engine, m, filterMode, 1);
    const int latency = engine.GetTotalLatency();
    const int at = 100, length = 16384;
    const Channels out =
        EngineTestSupport::Run(engine, {EngineTestSupport::Impulse(at + latency + length, at)}, 1, 512);
    const double r = Correlation(out[0], at + latency, ButterworthHighPassImpulse(order, kCutoff, kRate, length));
    const double expected = linearPhase ? ZeroPhaseTwinCorrelation(order, kCutoff, kRate) : 1.0;
    EXPECT_NEAR(r, expected, 1e-3) << "order " << order;
  }
}

INSTANTIATE_TEST_SUITE_P(FilterModes, EnginePolarity, ::testing::Range(0, 7),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Mode" + std::to_string(info.param);
                         });

}  // namespace
