#include "dsp/filters/FilterDesign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "tests/dsp/filters/FilterTestSupport.h"

namespace {

using FilterTestSupport::Kind;
using FilterTestSupport::Make;
using FilterTestSupport::Made;
using FilterTestSupport::ParamsFor;

std::vector<double> Noise(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> x(n);
  for (double& v : x) v = dist(rng);
  return x;
}

// The cascade's difference equations in direct form I, from its coefficients.
std::vector<double> DirectFormI(const Dsp::Cascade& cascade, std::vector<double> x) {
  for (int s = 0; s < cascade.getNumStages(); ++s) {
    const Dsp::BiquadStage& k = cascade[s];
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (double& v : x) {
      const double y = k.b0 * v + k.b1 * x1 + k.b2 * x2 - k.a1 * y1 - k.a2 * y2;
      x2 = x1;
      x1 = v;
      y2 = y1;
      y1 = y;
      v = y;
    }
  }
  return x;
}

void ProcessInPlace(Dsp::Filter& filter, std::vector<double>& x, size_t from, size_t count) {
  double* channels[1] = {x.data() + from};
  filter.process(static_cast<int>(count), channels);
}

TEST(FilterDesign, ProcessingMatchesTheDifferenceEquations) {
  for (Kind kind : {Kind::LowPass, Kind::HighPass, Kind::HighShelf, Kind::BandPass, Kind::BandShelf}) {
    for (int order : {1, 4, 7, 16}) {
      Made made = Make(kind);
      made.filter->setParams(ParamsFor(kind, order, 48000, 2500, 2.0, 9));
      std::vector<double> x = Noise(2000, 11u + order);
      const std::vector<double> expected = DirectFormI(*made.cascade, x);
      // In uneven blocks, to see that the state carries over.
      ProcessInPlace(*made.filter, x, 0, 1);
      ProcessInPlace(*made.filter, x, 1, 517);
      ProcessInPlace(*made.filter, x, 518, 1482);
      for (size_t i = 0; i < x.size(); ++i) {
        ASSERT_NEAR(x[i], expected[i], 1e-9 * (1 + std::fabs(expected[i]))) << order << " " << i;
      }
    }
  }
}

TEST(FilterDesign, FloatSamplesAreProcessedInDouble) {
  Made made = Make(Kind::LowPass);
  Made twin = Make(Kind::LowPass);
  const Dsp::Params params = ParamsFor(Kind::LowPass, 6, 44100, 900, 0, 0);
  made.filter->setParams(params);
  twin.filter->setParams(params);
  const std::vector<double> input = Noise(500, 3);
  std::vector<float> f(input.begin(), input.end());
  std::vector<double> d(f.begin(), f.end());  // the same values, rounded to float
  float* fc[1] = {f.data()};
  double* dc[1] = {d.data()};
  made.filter->process(500, fc);
  twin.filter->process(500, dc);
  for (size_t i = 0; i < f.size(); ++i) EXPECT_EQ(f[i], static_cast<float>(d[i]));
}

TEST(FilterDesign, CountBelowOneAndNullChannelsChangeNothing) {
  Made made = Make(Kind::BandStop);
  made.filter->setParams(ParamsFor(Kind::BandStop, 3, 48000, 1000, 1.0, 0));
  std::vector<double> x = {0.5, -0.25, 1.0};
  const std::vector<double> before = x;
  ProcessInPlace(*made.filter, x, 0, 0);
  double* channels[1] = {x.data()};
  made.filter->process(-5, channels);
  double* none[1] = {nullptr};
  made.filter->process(3, none);
  made.filter->process(3, static_cast<double* const*>(nullptr));
  EXPECT_EQ(x, before);
  // ... and left the state at rest: the next output is the fresh one.
  Made fresh = Make(Kind::BandStop);
  fresh.filter->setParams(ParamsFor(Kind::BandStop, 3, 48000, 1000, 1.0, 0));
  std::vector<double> y = x;
  ProcessInPlace(*made.filter, x, 0, 3);
  ProcessInPlace(*fresh.filter, y, 0, 3);
  EXPECT_EQ(x, y);
}

// Never designed: samples pass unchanged instead of meeting undefined stages.
TEST(FilterDesign, UndesignedFilterPassesSamplesThrough) {
  Made made = Make(Kind::HighShelf);
  std::vector<double> x = {0.1, 0.2, -0.3};
  const std::vector<double> before = x;
  ProcessInPlace(*made.filter, x, 0, 3);
  EXPECT_EQ(x, before);
}

// reset clears every stage of the capacity, also stages that the current
// design does not run; a redesign keeps the state.
TEST(FilterDesign, ResetClearsAllStagesAndRedesignKeepsState) {
  const Dsp::Params order16 = ParamsFor(Kind::BandPass, 16, 48000, 1000, 1.0, 0);
  const Dsp::Params order2 = ParamsFor(Kind::BandPass, 2, 48000, 1000, 1.0, 0);
  Made made = Make(Kind::BandPass);
  made.filter->setParams(order16);
  std::vector<double> noise = Noise(300, 5);
  ProcessInPlace(*made.filter, noise, 0, noise.size());
  made.filter->setParams(order2);
  made.filter->reset();
  made.filter->setParams(order16);
  Made fresh = Make(Kind::BandPass);
  fresh.filter->setParams(order16);
  std::vector<double> a = Noise(100, 6), b = a;
  ProcessInPlace(*made.filter, a, 0, a.size());
  ProcessInPlace(*fresh.filter, b, 0, b.size());
  EXPECT_EQ(a, b);

  // Redesigning with the same parameters mid-stream is seamless.
  Made split = Make(Kind::BandPass), whole = Make(Kind::BandPass);
  split.filter->setParams(order16);
  whole.filter->setParams(order16);
  std::vector<double> s = Noise(400, 8), w = s;
  ProcessInPlace(*split.filter, s, 0, 150);
  split.filter->setParams(order16);
  ProcessInPlace(*split.filter, s, 150, 250);
  ProcessInPlace(*whole.filter, w, 0, 400);
  EXPECT_EQ(s, w);
}

// The Direct Form II path adds nothing against denormals: silence in gives
// exact silence out.
TEST(FilterDesign, SilenceStaysExactlySilent) {
  Made made = Make(Kind::LowShelf);
  made.filter->setParams(ParamsFor(Kind::LowShelf, 5, 48000, 300, 0, 12));
  std::vector<double> x(64, 0.0);
  ProcessInPlace(*made.filter, x, 0, x.size());
  for (double v : x) EXPECT_EQ(v, 0.0);
}

TEST(FilterDesign, SetParamsStoresTheVector) {
  Made made = Make(Kind::BandShelf);
  Dsp::Params p = ParamsFor(Kind::BandShelf, 3, 96000, 440, 2.0, -3);
  p[6] = 123.0;  // not read by the design, but kept
  made.filter->setParams(p);
  EXPECT_EQ(made.filter->getParams(), p);
}

}  // namespace
