// The EQ curves are sampled again only when something they are drawn from
// changes; after every kind of change the frame must be the one a scope
// with nothing kept draws.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "tests/editor/display/ScopeDrawFixture.h"

namespace {

class CurveCache : public ScopeDrawTest {
 protected:
  CurveCache() {
    WireBands();
    scope->mShowGrid = 0;
    scope->mBorderLines = 0;
    scope->mShowAddCurves = 1;
    for (int& shown : scope->mShowCurve) shown = 1;
    const double hz[3] = {120.0, 900.0, 6000.0};
    for (int b = 0; b < 3; ++b) PlaceBand(b, hz[b], 6.0 - 4.0 * b, 0, 1);
    // A response built from every band setting the real one reads, and an
    // offset standing for state the scope cannot see.
    response = [this](double f, int channel, int band) {
      const auto one = [&](int b) {
        const double octaves = std::log2(f / freq[b]);
        return gain[b] * std::exp(-octaves * octaves * q[b]) + 0.5 * type[b] + 0.25 * slope[b] + hidden +
               (f < 100.0 ? hiddenLow : 0.0);
      };
      if (band >= 0) return one(band);
      bool anySolo = false;
      for (int b = 0; b < IScope::kMaxBands; ++b) anySolo = anySolo || solo[b];
      double sum = 0.0;
      for (int b = 0; b < IScope::kMaxBands; ++b) {
        if (active[b] && (!anySolo || solo[b]) && (chMode[b] == channel || chMode[b] == 0)) sum += one(b);
      }
      return sum;
    };
    scope->mEvaluatorState = &CurveCache::ReportState;
  }

  // What the evaluator's answers follow from beyond the scope's arrays.
  static void ReportState(void* context, std::vector<double>* state) {
    auto* self = static_cast<CurveCache*>(context);
    state->insert(state->end(), {self->hidden, self->hiddenLow});
  }

  std::vector<uint32_t> Frame() {
    DrawScope();
    std::vector<uint32_t> out;
    for (int y = 0; y < graphics->Height(); ++y) {
      for (int x = 0; x < graphics->Width(); ++x) out.push_back(Pixel(x, y));
    }
    return out;
  }
  std::vector<uint32_t> FreshFrame() {
    scope->mCurveCache.Clear();
    return Frame();
  }

  double hidden = 0.0;
  double hiddenLow = 0.0;  // only below 100 Hz, far from the plot's middle and end
};

TEST_F(CurveCache, AnUnchangedFrameSamplesNothingAndDrawsTheSame) {
  const std::vector<uint32_t> first = Frame();
  const int full = evaluations;
  evaluations = 0;
  EXPECT_EQ(Frame(), first);
  EXPECT_EQ(evaluations, 0);
  // A full sampling is a plot width per curve (twelve bands, five sums).
  EXPECT_GE(full, 17 * kW);
}

TEST_F(CurveCache, WithoutTheEvaluatorsStateEveryFrameSamplesAgain) {
  scope->mEvaluatorState = nullptr;
  Frame();
  evaluations = 0;
  Frame();
  EXPECT_GE(evaluations, 17 * kW);
  hiddenLow = 4.0;
  EXPECT_TRUE(Frame() == FreshFrame());
}

TEST_F(CurveCache, EveryKindOfChangeDrawsWhatAFreshSamplingDraws) {
  struct Change {
    const char* name;
    std::function<void()> apply;
  };
  const Change changes[] = {
      {"gain", [&] { gain[0] = -9.0; }},
      {"frequency", [&] { freq[1] = 2500.0; }},
      {"Q", [&] { q[2] = 4.0; }},
      {"type", [&] { type[0] = 3; }},
      {"slope", [&] { slope[1] = 5; }},
      {"active", [&] { active[2] = 0; }},
      {"solo", [&] { solo[1] = 1; }},
      {"channel", [&] { chMode[0] = 2; }},
      {"frequency range", [&] { scope->mFreqMin = 40.0, scope->mFreqMax = 12000.0; }},
      {"gain range", [&] { scope->mEqDbLo = -12.0, scope->mEqDbHi = 12.0; }},
      {"plot width", [&] { scope->mPlotRect.R -= 150; }},
      {"sample rate", [&] { scope->mSampleRate = 96000.0; }},
      {"plot height", [&] { scope->mPlotRect.T += 40; }},
      {"plot position", [&] { scope->mPlotRect.L += 30, scope->mPlotRect.R += 30; }},
      {"plot bottom", [&] { scope->mPlotRect.B -= 25; }},
      {"gain offset", [&] { scope->mEqDbLo += 3.0, scope->mEqDbHi += 3.0; }},
      {"editor scale", [&] { scope->Rescale(2.0, 2.0); }},
      {"evaluator state", [&] { hidden = 1.5; }},
      {"evaluator state away from the probes", [&] { hiddenLow = 3.0; }},
  };
  for (const Change& c : changes) {
    const std::vector<uint32_t> before = Frame();
    c.apply();
    const std::vector<uint32_t> cached = Frame();
    const std::vector<uint32_t> fresh = FreshFrame();
    EXPECT_TRUE(cached == fresh) << c.name;
    if (std::string(c.name) != "sample rate") {
      EXPECT_FALSE(cached == before) << c.name << " changed nothing";
    }
  }
}

}  // namespace
