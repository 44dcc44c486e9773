#include "dsp/filters/butterworth/Butterworth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <string>
#include <vector>

#include "tests/dsp/filters/FilterTestSupport.h"

using FilterTestSupport::Kind;
using FilterTestSupport::Make;
using FilterTestSupport::Made;
using FilterTestSupport::ParamsFor;
using FilterTestSupport::StageMagnitudeDb;
using FilterTestSupport::StageResponse;

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPowerDb = -3.0102999566398120;  // 10 log10(1/2)

struct DesignCase {
  Kind kind;
  int order;
  double sampleRate;
  double frequency;
  double width;
  double gainDb;
};

// The band edges in radians, from their definition (centre / (1 + 1/q) and
// centre x (1 + 1/q), kept within 1 Hz .. fs - 1 and below pi - 0.001).
void Edges(const DesignCase& c, double& wL, double& wH) {
  const double low = std::max(c.frequency / (1.0 + 1.0 / c.width), 1.0);
  const double high = std::min(c.frequency * (1.0 + 1.0 / c.width), c.sampleRate - 1.0);
  wL = std::max(2 * kPi * low / c.sampleRate, 1e-8);
  wH = std::min(2 * kPi * high / c.sampleRate, kPi - 0.001);
}

// The analogue frequency that a digital frequency w meets, for each
// transform: bilinear low-pass and high-pass, and the band transforms
// (Constantinides).
double AnalogueFrequency(const DesignCase& c, double w) {
  const double t = std::tan(kPi * c.frequency / c.sampleRate);
  switch (c.kind) {
    case Kind::LowPass:
    case Kind::LowShelf: return std::tan(w / 2) / t;
    case Kind::HighPass:
    case Kind::HighShelf: return t / std::tan(w / 2);
    default: break;
  }
  double wL, wH;
  Edges(c, wL, wH);
  const double a = std::cos((wH + wL) / 2) / std::cos((wH - wL) / 2);
  const double halfWidth = std::tan((wH - wL) / 2);
  if (c.kind == Kind::BandStop) return halfWidth * std::sin(w) / (std::cos(w) - a);
  return (std::cos(w) - a) / (halfWidth * std::sin(w));
}

// Butterworth magnitude in dB: |H|^2 = 1 / (1 + W^2N) for the pass and stop
// designs, G (G + W^2N) / (1 + G W^2N) for the shelves (G the linear gain).
double ExpectedDb(const DesignCase& c, double w) {
  const double p = std::pow(std::fabs(AnalogueFrequency(c, w)), 2.0 * c.order);
  switch (c.kind) {
    case Kind::LowShelf:
    case Kind::HighShelf:
    case Kind::BandShelf: {
      const double g = std::pow(10.0, c.gainDb / 20.0);
      return 10 * std::log10(g * (g + p) / (1 + g * p));
    }
    default: return -10 * std::log10(1 + p);
  }
}

Made Designed(const DesignCase& c) {
  Made made = Make(c.kind);
  made.filter->setParams(ParamsFor(c.kind, c.order, c.sampleRate, c.frequency, c.width, c.gainDb));
  return made;
}

std::string CaseName(const ::testing::TestParamInfo<DesignCase>& info) {
  static const char* const kNames[] = {"LowPass",  "HighPass", "LowShelf", "HighShelf",
                                       "BandPass", "BandStop", "BandShelf"};
  const DesignCase& c = info.param;
  return std::string(kNames[static_cast<int>(c.kind)]) + "_Order" + std::to_string(c.order) + "_" +
         std::to_string(static_cast<int>(c.frequency)) + "Hz_" + std::to_string(info.index);
}

class ButterworthResponse : public ::testing::TestWithParam<DesignCase> {};

// The magnitude computed from the designed coefficients follows the
// Butterworth closed form over the whole spectrum.
TEST_P(ButterworthResponse, MatchesClosedForm) {
  const DesignCase c = GetParam();
  const Made made = Designed(c);
  const int poles = (c.kind == Kind::BandPass || c.kind == Kind::BandStop || c.kind == Kind::BandShelf)
                        ? 2 * c.order
                        : c.order;
  EXPECT_EQ(made.cascade->getNumStages(), (poles + 1) / 2);
  std::vector<double> ws;
  for (double f : {0.0005, 0.002, 0.01, 0.03, 0.07, 0.1, 0.15, 0.2, 0.3, 0.4, 0.45, 0.49}) {
    ws.push_back(2 * kPi * f);
  }
  ws.push_back(2 * kPi * c.frequency / c.sampleRate);
  for (double w : ws) {
    const double expected = ExpectedDb(c, w);
    if (expected < -200) continue;  // deep stop band: both sides are rounding noise
    const double tolerance = expected > -60 ? 1e-7 : 1e-6 * std::fabs(expected);
    EXPECT_NEAR(StageMagnitudeDb(*made.cascade, w), expected, tolerance) << "w = " << w;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Designs, ButterworthResponse,
    ::testing::Values(
        DesignCase{Kind::LowPass, 1, 48000, 1000, 0, 0}, DesignCase{Kind::LowPass, 2, 44100, 30, 0, 0},
        DesignCase{Kind::LowPass, 5, 96000, 15000, 0, 0}, DesignCase{Kind::LowPass, 16, 48000, 2000, 0, 0},
        DesignCase{Kind::LowPass, 15, 192000, 100, 0, 0},
        DesignCase{Kind::HighPass, 1, 48000, 1000, 0, 0}, DesignCase{Kind::HighPass, 3, 44100, 80, 0, 0},
        DesignCase{Kind::HighPass, 8, 96000, 12000, 0, 0}, DesignCase{Kind::HighPass, 16, 48000, 500, 0, 0},
        DesignCase{Kind::LowShelf, 1, 48000, 200, 0, 12}, DesignCase{Kind::LowShelf, 4, 44100, 1000, 0, -18},
        DesignCase{Kind::LowShelf, 16, 96000, 5000, 0, 6},
        DesignCase{Kind::HighShelf, 2, 48000, 8000, 0, 9}, DesignCase{Kind::HighShelf, 7, 44100, 300, 0, -24},
        DesignCase{Kind::HighShelf, 16, 192000, 20000, 0, 3},
        DesignCase{Kind::BandPass, 1, 48000, 1000, 2.0, 0}, DesignCase{Kind::BandPass, 4, 44100, 100, 0.7, 0},
        DesignCase{Kind::BandPass, 16, 96000, 8000, 5.0, 0},
        DesignCase{Kind::BandPass, 3, 48000, 20000, 0.5, 0},  // upper edge clamped
        DesignCase{Kind::BandStop, 1, 48000, 1000, 2.0, 0}, DesignCase{Kind::BandStop, 6, 44100, 3000, 1.4, 0},
        DesignCase{Kind::BandStop, 16, 96000, 500, 3.0, 0},
        DesignCase{Kind::BandShelf, 1, 48000, 1000, 1.0 / 0.7, 12},
        DesignCase{Kind::BandShelf, 4, 44100, 15000, 2.0, -12},
        DesignCase{Kind::BandShelf, 16, 96000, 250, 0.5, 6},
        DesignCase{Kind::BandShelf, 2, 48000, 10, 0.05, 6}),  // lower edge clamped to 1 Hz
    CaseName);

// -3.0103 dB at the cut-off of every low-pass and high-pass order.
TEST(ButterworthDesigns, HalfPowerAtCutoffForEveryOrder) {
  for (Kind kind : {Kind::LowPass, Kind::HighPass}) {
    for (int order = 1; order <= 16; ++order) {
      const Made made = Designed({kind, order, 48000, 1000, 0, 0});
      EXPECT_NEAR(StageMagnitudeDb(*made.cascade, 2 * kPi * 1000 / 48000), kHalfPowerDb, 1e-9) << order;
    }
  }
}

TEST(ButterworthDesigns, SecondOrderLowPassMatchesBilinearCoefficients) {
  const Made made = Designed({Kind::LowPass, 2, 48000, 1000, 0, 0});
  ASSERT_EQ(made.cascade->getNumStages(), 1);
  const double k = std::tan(kPi * 1000 / 48000);
  const double norm = 1 / (1 + std::sqrt(2.0) * k + k * k);
  const Dsp::BiquadStage& s = (*made.cascade)[0];
  EXPECT_NEAR(s.b0, k * k * norm, 1e-15);
  EXPECT_NEAR(s.b1, 2 * k * k * norm, 1e-15);
  EXPECT_NEAR(s.b2, k * k * norm, 1e-15);
  EXPECT_NEAR(s.a1, 2 * (k * k - 1) * norm, 1e-15);
  EXPECT_NEAR(s.a2, (1 - std::sqrt(2.0) * k + k * k) * norm, 1e-15);
  EXPECT_EQ(s.a0, 1.0);
}

TEST(ButterworthDesigns, FirstOrderLowPassIsOneBilinearStage) {
  const Made made = Designed({Kind::LowPass, 1, 44100, 2500, 0, 0});
  ASSERT_EQ(made.cascade->getNumStages(), 1);
  const double f = std::tan(kPi * 2500 / 44100);
  const Dsp::BiquadStage& s = (*made.cascade)[0];
  // Pole (1 - f) / (1 + f), zero -1, scaled for gain 1 at DC.
  EXPECT_NEAR(s.a1, -(1 - f) / (1 + f), 1e-15);
  EXPECT_EQ(s.a2, 0.0);
  EXPECT_NEAR(s.b0, (1 + s.a1) / 2, 1e-15);
  EXPECT_NEAR(s.b1, (1 + s.a1) / 2, 1e-15);
  EXPECT_EQ(s.b2, 0.0);
  EXPECT_NEAR(std::abs(StageResponse(*made.cascade, 0.0)), 1.0, 1e-14);
}

// Order 3 high-pass: a scaled second-order stage, then the first-order
// stage unscaled, with numerator 1 - z^-1; the response at Nyquist is +1.
TEST(ButterworthDesigns, OddOrderHighPassStageLayout) {
  const double fs = 48000, fc = 700;
  const Made made = Designed({Kind::HighPass, 3, fs, fc, 0, 0});
  ASSERT_EQ(made.cascade->getNumStages(), 2);
  const double f = 1 / std::tan(kPi * fc / fs);

  const Dsp::BiquadStage& odd = (*made.cascade)[1];
  EXPECT_NEAR(odd.a1, (1 - f) / (1 + f), 1e-15);  // pole -(1 - f) / (1 + f)
  EXPECT_EQ(odd.a2, 0.0);
  EXPECT_EQ(odd.b0, 1.0);
  EXPECT_EQ(odd.b1, -1.0);
  EXPECT_EQ(odd.b2, 0.0);

  const std::complex<double> c = std::polar(1.0, kPi / 2 + kPi / 6);  // first prototype pole
  const std::complex<double> p = -(1.0 + f * c) / (1.0 - f * c);
  const Dsp::BiquadStage& pair = (*made.cascade)[0];
  EXPECT_NEAR(pair.a1, -2 * p.real(), 1e-14);
  EXPECT_NEAR(pair.a2, std::norm(p), 1e-14);
  EXPECT_NEAR(pair.b1, -2 * pair.b0, 1e-15);  // double zero at DC
  EXPECT_NEAR(pair.b2, pair.b0, 1e-15);

  const std::complex<double> nyquist = made.filter->response(0.5);
  EXPECT_NEAR(nyquist.real(), 1.0, 1e-12);
  EXPECT_NEAR(nyquist.imag(), 0.0, 1e-12);
}

// The analogue prototype's response at s: Butterworth low-pass (1 at DC), or
// the shelf with poles q/r and zeros r q on the same circle (G at DC, 1 at
// infinity), q the Butterworth poles and r = G^(1/2N).
std::complex<double> PrototypeResponse(const DesignCase& c, std::complex<double> s) {
  const bool shelf = c.kind == Kind::LowShelf || c.kind == Kind::HighShelf || c.kind == Kind::BandShelf;
  const double r = std::pow(10.0, c.gainDb / 20.0 / (2.0 * c.order));
  std::complex<double> h(1.0, 0.0);
  for (int k = 1; k <= c.order; ++k) {
    const std::complex<double> q = std::polar(1.0, kPi / 2 + (2.0 * k - 1) * kPi / (2.0 * c.order));
    h *= shelf ? (s - r * q) / (s - q / r) : -q / (s - q);
  }
  return h;
}

// The analogue s that the digital frequency w meets, as a complex value:
// the bilinear transform for the low-pass and high-pass mappings, and its
// band-pass and band-stop forms (z^-1 = e^-jw).
std::complex<double> AnalogueVariable(const DesignCase& c, double w) {
  const std::complex<double> zi = std::polar(1.0, -w);
  const double t = std::tan(kPi * c.frequency / c.sampleRate);
  switch (c.kind) {
    case Kind::LowPass:
    case Kind::LowShelf: return (1.0 - zi) / (t * (1.0 + zi));
    case Kind::HighPass:
    case Kind::HighShelf: return t * (1.0 + zi) / (1.0 - zi);
    default: break;
  }
  double wL, wH;
  Edges(c, wL, wH);
  const double a = std::cos((wH + wL) / 2) / std::cos((wH - wL) / 2);
  const std::complex<double> resonator = 1.0 - 2.0 * a * zi + zi * zi;
  const double halfWidth = std::tan((wH - wL) / 2);
  if (c.kind == Kind::BandStop) return halfWidth * (1.0 - zi * zi) / resonator;
  return resonator / (halfWidth * (1.0 - zi * zi));
}

// Every design of every order is its analogue prototype through its
// transform, phase and polarity included, not only in magnitude: the pass
// band of an odd-order design is not turned upside down.
TEST(ButterworthDesigns, ComplexResponseIsThePrototypeThroughItsTransform) {
  const DesignCase cases[] = {
      {Kind::LowPass, 0, 48000, 1000, 0, 0},      {Kind::HighPass, 0, 48000, 200, 0, 0},
      {Kind::HighPass, 0, 44100, 5000, 0, 0},     {Kind::LowShelf, 0, 48000, 300, 0, 9},
      {Kind::HighShelf, 0, 96000, 4000, 0, -12},  {Kind::BandPass, 0, 48000, 1000, 2.0, 0},
      {Kind::BandStop, 0, 44100, 3000, 0.7, 0},   {Kind::BandShelf, 0, 48000, 600, 1.0 / 0.7, 8},
      {Kind::BandShelf, 0, 48000, 14000, 2.0, -6},
  };
  for (DesignCase c : cases) {
    for (int order = 1; order <= 16; ++order) {
      c.order = order;
      const Made made = Designed(c);
      for (int i = 1; i < 64; ++i) {
        const double w = kPi * i / 64.0;
        const std::complex<double> expected = PrototypeResponse(c, AnalogueVariable(c, w));
        if (std::abs(expected) < 1e-6) continue;  // deep stop band: the phase is rounding noise
        const std::complex<double> actual = StageResponse(*made.cascade, w);
        EXPECT_LT(std::abs(actual - expected), 1e-7 * std::abs(expected))
            << CaseName(::testing::TestParamInfo<DesignCase>(c, 0)) << " at w = " << w << ": " << actual
            << " against " << expected;
      }
    }
  }
}

// Where a design passes the signal unchanged (its normalisation point, a
// band-pass's centre), the response is +1: real and positive, at every order.
TEST(ButterworthDesigns, PassBandIsPlusOneAtEveryOrder) {
  struct Case { Kind kind; double w; };
  const Case cases[] = {{Kind::LowPass, 0.0},   {Kind::HighPass, kPi}, {Kind::LowShelf, kPi},
                        {Kind::HighShelf, 0.0}, {Kind::BandStop, 0.0}, {Kind::BandStop, kPi},
                        {Kind::BandShelf, kPi}};
  for (const Case& k : cases) {
    for (int order = 1; order <= 16; ++order) {
      const Made made = Designed({k.kind, order, 48000, 1000, 2.0, 6.0});
      const std::complex<double> h = StageResponse(*made.cascade, k.w);
      EXPECT_NEAR(h.real(), 1.0, 1e-9) << static_cast<int>(k.kind) << " order " << order << " w " << k.w;
      EXPECT_NEAR(h.imag(), 0.0, 1e-9) << static_cast<int>(k.kind) << " order " << order << " w " << k.w;
    }
  }
  // A band-pass's centre (geometric in the warped frequency) passes +1.
  for (int order = 1; order <= 16; ++order) {
    const DesignCase c{Kind::BandPass, order, 48000, 1000, 2.0, 0};
    double wL, wH;
    Edges(c, wL, wH);
    const double middle = std::acos(std::cos((wH + wL) / 2) / std::cos((wH - wL) / 2));
    const Made made = Designed(c);
    const std::complex<double> h = StageResponse(*made.cascade, middle);
    EXPECT_NEAR(h.real(), 1.0, 1e-9) << "band-pass order " << order;
    EXPECT_NEAR(h.imag(), 0.0, 1e-9) << "band-pass order " << order;
  }
}

TEST(ButterworthDesigns, ShelvesReachGainAtTheirEndAndHalfAtTheCorner) {
  struct Case { Kind kind; int order; double fc; double gainDb; };
  const Case cases[] = {{Kind::LowShelf, 1, 100, 12}, {Kind::LowShelf, 6, 2000, -9},
                        {Kind::HighShelf, 3, 5000, 6}, {Kind::HighShelf, 16, 500, -24}};
  for (const Case& c : cases) {
    const Made made = Designed({c.kind, c.order, 48000, c.fc, 0, c.gainDb});
    const bool low = c.kind == Kind::LowShelf;
    EXPECT_NEAR(StageMagnitudeDb(*made.cascade, low ? 0.0 : kPi), c.gainDb, 1e-9);
    EXPECT_NEAR(StageMagnitudeDb(*made.cascade, low ? kPi : 0.0), 0.0, 1e-9);
    EXPECT_NEAR(StageMagnitudeDb(*made.cascade, 2 * kPi * c.fc / 48000), c.gainDb / 2, 1e-9);
  }
}

TEST(ButterworthDesigns, BandDesignsAtCentreAndEdges) {
  const double fs = 48000, fc = 1200, q = 1.5;
  const DesignCase pass{Kind::BandPass, 4, fs, fc, q, 0};
  const DesignCase stop{Kind::BandStop, 4, fs, fc, q, 0};
  const DesignCase shelf{Kind::BandShelf, 4, fs, fc, q, 10};
  double wL, wH;
  Edges(pass, wL, wH);
  const double centre = std::acos(std::cos((wH + wL) / 2) / std::cos((wH - wL) / 2));
  const Made p = Designed(pass), s = Designed(stop), h = Designed(shelf);
  EXPECT_NEAR(StageMagnitudeDb(*p.cascade, centre), 0.0, 1e-9);
  EXPECT_LT(std::abs(StageResponse(*s.cascade, centre)), 1e-9);
  EXPECT_NEAR(StageMagnitudeDb(*h.cascade, centre), 10.0, 1e-9);
  for (double edge : {wL, wH}) {
    EXPECT_NEAR(StageMagnitudeDb(*p.cascade, edge), kHalfPowerDb, 1e-9);
    EXPECT_NEAR(StageMagnitudeDb(*s.cascade, edge), kHalfPowerDb, 1e-9);
    EXPECT_NEAR(StageMagnitudeDb(*h.cascade, edge), 5.0, 1e-9);
  }
}

// Normalised to gain 1 at Nyquist below a quarter of the sample rate, else at DC.
TEST(ButterworthDesigns, BandShelfNormalisedAtTheFarEnd) {
  struct Case { double fc; double w; };
  for (const Case& c : {Case{11000, kPi}, Case{13000, 0.0}}) {
    const Made made = Designed({Kind::BandShelf, 5, 48000, c.fc, 0.8, -15});
    EXPECT_NEAR(std::abs(StageResponse(*made.cascade, c.w)), 1.0, 1e-10) << c.fc;
  }
}

TEST(ButterworthDesigns, ShelfWithZeroGainIsFlat) {
  for (Kind kind : {Kind::LowShelf, Kind::HighShelf, Kind::BandShelf}) {
    const Made made = Designed({kind, 7, 44100, 900, 1.0, 0.0});
    const std::vector<Dsp::PoleZeroEntry> entries = made.filter->getPoleZeros();
    for (const Dsp::PoleZeroEntry& e : entries) {
      EXPECT_NEAR(std::abs(e.pole1 - e.zero1), 0.0, 1e-12);
      EXPECT_NEAR(std::abs(e.pole2 - e.zero2), 0.0, 1e-12);
    }
    for (double w : {0.0, 0.1, 1.0, 3.0}) EXPECT_NEAR(StageMagnitudeDb(*made.cascade, w), 0.0, 1e-10);
  }
}

// Orders outside 1..16 (and NaN) are designed as the nearest order in range:
// the stage arrays are never overrun and an order of 0 never runs stages
// left from an earlier design.
TEST(ButterworthDesigns, OrderIsClampedIntoRange) {
  struct Case { double order; int designed; };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {{0, 1},    {-3, 1},   {0.5, 1},  {1.9, 1},    {16.9, 16},
                        {17, 16},  {1e12, 16}, {nan, 1}, {inf, 16}, {-inf, 1}};
  for (Kind kind : {Kind::LowPass, Kind::BandStop, Kind::LowShelf}) {
    for (const Case& c : cases) {
      Made made = Make(kind);
      made.filter->setParams(ParamsFor(kind, 16, 48000, 1000, 2.0, 6));  // leave 16th-order stages behind
      made.filter->setParams(ParamsFor(kind, c.order, 48000, 1000, 2.0, 6));
      const Made reference = Designed({kind, c.designed, 48000, 1000, 2.0, 6});
      ASSERT_EQ(made.cascade->getNumStages(), reference.cascade->getNumStages()) << c.order;
      for (double w : {0.01, 0.13, 0.5, 2.0}) {
        EXPECT_NEAR(StageMagnitudeDb(*made.cascade, w), StageMagnitudeDb(*reference.cascade, w), 1e-9)
            << c.order;
      }
      double samples[64] = {1.0};
      double* channels[1] = {samples};
      made.filter->process(64, channels);
      for (double v : samples) ASSERT_TRUE(std::isfinite(v));
    }
  }
}

TEST(ButterworthDesigns, RepeatingTheSameParametersGivesTheSameCascade) {
  for (Kind kind : {Kind::HighShelf, Kind::BandShelf, Kind::BandPass}) {
    Made made = Make(kind);
    const Dsp::Params params = ParamsFor(kind, 9, 44100, 3000, 1.2, -7);
    made.filter->setParams(params);
    std::vector<Dsp::BiquadStage> first((*made.cascade).getNumStages());
    for (size_t i = 0; i < first.size(); ++i) first[i] = (*made.cascade)[static_cast<int>(i)];
    made.filter->setParams(params);
    ASSERT_EQ(static_cast<size_t>(made.cascade->getNumStages()), first.size());
    for (size_t i = 0; i < first.size(); ++i) {
      const Dsp::BiquadStage& s = (*made.cascade)[static_cast<int>(i)];
      EXPECT_EQ(s.b0, first[i].b0);
      EXPECT_EQ(s.b1, first[i].b1);
      EXPECT_EQ(s.b2, first[i].b2);
      EXPECT_EQ(s.a1, first[i].a1);
      EXPECT_EQ(s.a2, first[i].a2);
    }
  }
}

TEST(ButterworthDesigns, DescriptorsAndIdentity) {
  struct Case { Kind kind; int designKind; const char* name; std::vector<const char*> params; };
  const Case cases[] = {
      {Kind::LowPass, 0, "Butterworth Low Pass", {"Sample Rate", "Order", "Cutoff Frequency"}},
      {Kind::HighPass, 1, "Butterworth High Pass", {"Sample Rate", "Order", "Cutoff Frequency"}},
      {Kind::LowShelf, 4, "Butterworth Low Shelf", {"Sample Rate", "Order", "Cutoff Frequency", "Gain"}},
      {Kind::HighShelf, 5, "Butterworth High Shelf", {"Sample Rate", "Order", "Cutoff Frequency", "Gain"}},
      {Kind::BandPass, 1, "Butterworth Band Pass",
       {"Sample Rate", "Order", "Center Frequency", "Bandwidth (Hz)"}},
      {Kind::BandStop, 1, "Butterworth Band Stop",
       {"Sample Rate", "Order", "Center Frequency", "Bandwidth (Hz)"}},
      {Kind::BandShelf, 6, "Butterworth Band Shelf",
       {"Sample Rate", "Order", "Center Frequency", "Bandwidth (Hz)", "Gain"}},
  };
  for (const Case& c : cases) {
    const Made made = Make(c.kind);
    EXPECT_EQ(made.filter->getKind(), c.designKind);
    EXPECT_STREQ(made.filter->getName(), c.name);
    EXPECT_EQ(made.filter->getNumChannels(), 1);
    ASSERT_EQ(made.filter->getNumParams(), static_cast<int>(c.params.size()));
    for (size_t i = 0; i < c.params.size(); ++i) {
      EXPECT_STREQ(made.filter->getParamInfo(static_cast<int>(i)).name, c.params[i]);
    }
    for (int bad : {-1, static_cast<int>(c.params.size()), 8, 100}) {
      try {
        made.filter->getParamInfo(bad);
        ADD_FAILURE() << c.name << " index " << bad;
      } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "invalid usage of ParamInfo");
      }
    }
  }
}

TEST(ButterworthDesigns, PoleZerosListTheEntriesInUse) {
  struct Case { Kind kind; int order; size_t entries; };
  for (const Case& c : {Case{Kind::LowPass, 5, 3}, Case{Kind::HighShelf, 16, 8}, Case{Kind::BandPass, 5, 5},
                        Case{Kind::BandStop, 16, 16}}) {
    const Made made = Designed({c.kind, c.order, 48000, 1000, 2.0, 3});
    EXPECT_EQ(made.filter->getPoleZeros().size(), c.entries);
  }
}

}  // namespace
